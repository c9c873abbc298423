#pragma once
// The NMEA 2000 page: sixteen rows "Label 0" .. "Label 14" and "PORTRPMM", each with the
// device instance, the PGN and its parameter (the list refilled when the PGN changes), the
// number field captioned for the PGN and parameter, the enable check box and the source.
// PREFSAVE rewrites options lines 256..335 in place.
#include <array>

#include "prefs/n2k_tags_page.h"
#include "ui/prefs_page.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace pelor::ui {

class CN2KTags : public PrefsPage {
    Q_OBJECT

public:
    CN2KTags(PrefsContext context, QWidget* parent);
    void Refresh() override;

    QComboBox* PgnBox(int row) const { return rows_[static_cast<std::size_t>(row)].pgn; }
    QComboBox* ParameterBox(int row) const {
        return rows_[static_cast<std::size_t>(row)].parameter;
    }
    QSpinBox* NumberBox(int row) const { return rows_[static_cast<std::size_t>(row)].number; }
    QLabel* NumberCaption(int row) const { return rows_[static_cast<std::size_t>(row)].caption; }
    void Open();
    void Save();

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Row {
        QSpinBox* instance = nullptr;
        QComboBox* pgn = nullptr;
        QComboBox* parameter = nullptr;
        QLabel* caption = nullptr;
        QSpinBox* number = nullptr;
        QCheckBox* enabled = nullptr;
        QSpinBox* source = nullptr;
    };
    void FillParameters(int row);
    void ShowCaption(int row);

    std::array<Row, prefs::kN2kRowCount> rows_{};
    QLineEdit* fileName_ = nullptr;
};

}  // namespace pelor::ui
