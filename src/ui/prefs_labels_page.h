#pragma once
// The LABELS page: the sixteen gauge labels and the twelve Kantelo switch rows.
#include <QLineEdit>
#include <array>

#include "ui/prefs_page.h"

class QCheckBox;
class QComboBox;

namespace pelor::ui {

class DisplayLabels : public PrefsPage {
    Q_OBJECT

public:
    DisplayLabels(PrefsContext context, QWidget* parent);
    void Refresh() override;

    QLineEdit* Label(int entry) const { return labels_[static_cast<std::size_t>(entry)]; }
    QLineEdit* SwitchLabel(int i) const { return switchLabels_[static_cast<std::size_t>(i)]; }
    QComboBox* Symbol(int i) const { return symbols_[static_cast<std::size_t>(i)]; }
    QCheckBox* PowerOn(int i) const { return powerOn_[static_cast<std::size_t>(i)]; }
    QCheckBox* PowerOnReset() const { return reset_; }

private:
    std::array<QLineEdit*, 16> labels_{};
    std::array<QLineEdit*, 12> switchLabels_{};
    std::array<QComboBox*, 12> symbols_{};
    std::array<QCheckBox*, 12> powerOn_{};
    QCheckBox* reset_ = nullptr;
};

}  // namespace pelor::ui
