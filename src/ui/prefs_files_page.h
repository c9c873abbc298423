#pragma once
// The FILES page: the project's table file names, the log file, the project and the theme.
#include <QLineEdit>
#include <array>

#include "ui/prefs_page.h"

class QGridLayout;
class QPushButton;

namespace pelor::ui {

class TableFileNames : public PrefsPage {
    Q_OBJECT

public:
    TableFileNames(PrefsContext context, QWidget* parent);
    void Refresh() override;

private:
    // One row: caption, field, and the buttons the row has.
    QLineEdit* AddRow(const QString& caption, const std::function<void()>& choose,
                      QPushButton* extra = nullptr);
    // The choosers run the page model's rules on the copies, then show the copies again.
    void ChooseTable(std::string& name, bool sensorTable);
    void OpenSensorTable(int table);
    void ChooseLog();
    void ChooseProject();
    void ChooseTheme();

    QGridLayout* grid_ = nullptr;
    int row_ = 0;
    QLineEdit* labels_ = nullptr;
    QLineEdit* pages_ = nullptr;
    std::array<QLineEdit*, 12> sensors_{};
    QLineEdit* log_ = nullptr;
    QLineEdit* project_ = nullptr;
    QLineEdit* theme_ = nullptr;
};

}  // namespace pelor::ui
