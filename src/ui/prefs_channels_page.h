#pragma once
// The CHANNELS page: INPUT and OUTPUT rows of the sixteen displays.
#include <QLineEdit>
#include <array>

#include "ui/prefs_page.h"

class QButtonGroup;

namespace pelor::ui {

class GaugeChanels : public PrefsPage {
    Q_OBJECT

public:
    GaugeChanels(PrefsContext context, QWidget* parent);
    void Refresh() override;
    void Open();
    void Save();

    QSpinBox* InputNumber(int d) const { return inputNumbers_[static_cast<std::size_t>(d)]; }
    QSpinBox* OutputNumber(int d) const { return outputNumbers_[static_cast<std::size_t>(d)]; }
    // Buttons: input 0 "Analog", 1 "NEMA"; output 0 "Enabled", 1 "Disabled", 2 "Index".
    QButtonGroup* InputChoice(int d) const { return inputChoices_[static_cast<std::size_t>(d)]; }
    QButtonGroup* OutputChoice(int d) const { return outputChoices_[static_cast<std::size_t>(d)]; }

private:
    std::array<QSpinBox*, 16> inputNumbers_{};
    std::array<QSpinBox*, 16> outputNumbers_{};
    std::array<QButtonGroup*, 16> inputChoices_{};
    std::array<QButtonGroup*, 16> outputChoices_{};
    QLineEdit* fileName_ = nullptr;
};

}  // namespace pelor::ui
