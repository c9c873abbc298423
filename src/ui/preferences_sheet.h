#pragma once
// "Pelor Preferences": one tabbed sheet whose pages edit copies of the window's state. The
// sheet's page list is a table.
#include <QDialog>
#include <vector>

#include "core/prompt.h"
#include "prefs/preferences.h"
#include "ui/prefs_page.h"

class QTabWidget;

namespace pelor::ui {

class PreferencesSheet : public QDialog {
    Q_OBJECT

public:
    PreferencesSheet(prefs::PreferencesCopies& copies, core::Prompt& prompt,
                     QWidget* parent = nullptr);

    QTabWidget* Tabs() const { return tabs_; }
    // The page shown on the tab captioned `caption` ("LABELS", "FILES", ...), or null.
    QWidget* Page(const QString& caption) const;

    // Ends the sheet with OK when every page holds values that can be taken; otherwise shows
    // what is wrong, on its page, and stays open.
    void TryAccept();

private:
    prefs::PreferencesCopies& copies_;
    core::Prompt& prompt_;
    QTabWidget* tabs_ = nullptr;
    std::vector<prefs::PreferencesPage> tabPages_;  // the page of each tab, in tab order
};

// The DISPLAY command: the sheet over `parent` on copies of the dashboard's state, then, on
// OK, the OK sequence.
prefs::PreferencesResult OpenPreferences(app::Dashboard& dashboard, core::Prompt& prompt,
                                         app::WindowHooks& hooks, QWidget* parent);

}  // namespace pelor::ui
