#pragma once
// The ALARMS page: per display the low and high thresholds with the value each stands for,
// the invert flag (displays 0..11), the alarm action and the relay map value.
#include <QLineEdit>
#include <array>

#include "ui/prefs_page.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace pelor::ui {

class CAlarmProperty : public PrefsPage {
    Q_OBJECT

public:
    CAlarmProperty(PrefsContext context, QWidget* parent);
    void Refresh() override;
    void Open();
    void Save();

    QSpinBox* Low(int d) const { return low_[static_cast<std::size_t>(d)]; }
    QSpinBox* High(int d) const { return high_[static_cast<std::size_t>(d)]; }
    QLabel* LowText(int d) const { return lowText_[static_cast<std::size_t>(d)]; }
    QLabel* HighText(int d) const { return highText_[static_cast<std::size_t>(d)]; }
    QCheckBox* Invert(int d) const { return invert_[static_cast<std::size_t>(d)]; }
    QComboBox* Action(int d) const { return action_[static_cast<std::size_t>(d)]; }
    QSpinBox* RelayMap(int d) const { return relay_[static_cast<std::size_t>(d)]; }

private:
    void UpdateTexts(int d);

    std::array<QSpinBox*, 16> low_{};
    std::array<QSpinBox*, 16> high_{};
    std::array<QLabel*, 16> lowText_{};
    std::array<QLabel*, 16> highText_{};
    std::array<QCheckBox*, 16> invert_{};  // null for displays 12..15
    std::array<QComboBox*, 16> action_{};
    std::array<QSpinBox*, 16> relay_{};
    QLineEdit* fileName_ = nullptr;
};

}  // namespace pelor::ui
