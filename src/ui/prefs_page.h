#pragma once
// What every page of the preferences sheet shares: the copies it edits, the prompt for its
// messages, the row of page buttons (OPEN, PREFSAVE, PREFOK, PREFCLOSE) and spin boxes whose
// arrows stay in range while typed numbers are checked with a message when the page is taken.
#include <QSpinBox>
#include <QWidget>
#include <functional>

#include "core/prompt.h"
#include "prefs/preferences.h"
#include "tables/options_section.h"

class QBoxLayout;
class QLineEdit;

namespace pelor::ui {

struct PrefsContext {
    prefs::PreferencesCopies& copies;
    core::Prompt& prompt;
};

// Arrows step within [min, max]; typing may go beyond, so that the page's check can name the
// field and its range instead of the box silently refusing the keys.
class RangeSpinBox : public QSpinBox {
public:
    RangeSpinBox(int min, int max, QWidget* parent = nullptr);
    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;

private:
    int min_;
    int max_;
};

class PrefsPage : public QWidget {
    Q_OBJECT

public:
    PrefsPage(PrefsContext context, QWidget* parent);
    // Sets every widget from the copies (after the page opened a file).
    virtual void Refresh() {}

Q_SIGNALS:
    void okRequested();
    void closeRequested();

protected:
    // The page buttons; an empty function leaves its button out.
    QWidget* PageButtons(const std::function<void()>& open, const std::function<void()>& save,
                         const char* saveTip = "",
                         const char* openTip = "Open - click to read the options file");
    // The options file name field the OPTIONS, CHANNELS and ALARMS pages show.
    QLineEdit* FileNameField(const std::string& name);
    // The "Options File" row (caption and name field) of the pages that edit one section of
    // the options file, added to `outer`; returns the field.
    QLineEdit* OptionsFileRow(QBoxLayout* outer);
    // OPEN and PREFSAVE of such a page on the options file `file` of the project folder; the
    // widgets follow what OPEN read.
    template <class Page>
    void OpenSection(const tables::OptionsSectionRow<Page>& section, const std::string& file,
                     Page& page) {
        if (tables::OpenOptionsSection(ctx_.prompt, ctx_.copies.projectDirectory, file, section,
                                       page)) {
            Refresh();
        }
    }
    template <class Page>
    void SaveSection(const tables::OptionsSectionRow<Page>& section, const std::string& file,
                     const Page& page) {
        tables::SaveOptionsSection(ctx_.prompt, ctx_.copies.projectDirectory, file, section, page);
    }

    PrefsContext ctx_;
};

// Latin-1 texts in both directions (table files are single-byte text).
QString Text(const std::string& s);
std::string Bytes(const QString& s);

}  // namespace pelor::ui
