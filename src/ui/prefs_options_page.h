#pragma once
// The OPTIONS page: one widget per field of the options page model, grouped as the model
// groups them, plus the HTTP post address and the options file name.
#include <QLineEdit>
#include <map>

#include "prefs/options_page.h"
#include "ui/prefs_page.h"

class QButtonGroup;

namespace pelor::ui {

class GaugeOptions : public PrefsPage {
    Q_OBJECT

public:
    GaugeOptions(PrefsContext context, QWidget* parent);
    void Refresh() override;

    // The widget of a field (a spin box, check box or choice list; the button group's first
    // button for radio fields).
    QWidget* FieldWidget(prefs::OptionsField f) const;
    QButtonGroup* RadioGroup(prefs::OptionsField f) const;
    void Open();
    void Save();

private:
    QWidget* MakeField(const prefs::OptionsFieldRow& option, QWidget* parent);
    void UpdateEnabled();

    std::map<prefs::OptionsField, QWidget*> widgets_;
    std::map<prefs::OptionsField, QButtonGroup*> radios_;
    QLineEdit* http_ = nullptr;
    QLineEdit* fileName_ = nullptr;
};

}  // namespace pelor::ui
