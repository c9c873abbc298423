#include "ui/preferences_sheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/prefs_alarms_page.h"
#include "ui/prefs_channels_page.h"
#include "ui/prefs_connect_page.h"
#include "ui/prefs_files_page.h"
#include "ui/prefs_labels_page.h"
#include "ui/prefs_n2k_tags_page.h"
#include "ui/prefs_nmea_tags_page.h"
#include "ui/prefs_options_page.h"

namespace pelor::ui {
namespace {

using PageMaker = std::function<QWidget*(PrefsContext, QWidget*)>;

struct PageEntry {
    const char* caption;
    prefs::PreferencesPage page;
    PageMaker make;
};

}  // namespace

PreferencesSheet::PreferencesSheet(prefs::PreferencesCopies& copies, core::Prompt& prompt,
                                   QWidget* parent)
    : QDialog(parent), copies_(copies), prompt_(prompt) {
    setObjectName("PelorPreferences");
    setWindowTitle("Pelor Preferences");
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("PreferencesTabs");

    // The pages in tab order.
    using P = prefs::PreferencesPage;
    const std::vector<PageEntry> pages = {
        {"LABELS", P::Labels, [](PrefsContext c, QWidget* p) { return new DisplayLabels(c, p); }},
        {"FILES", P::Files, [](PrefsContext c, QWidget* p) { return new TableFileNames(c, p); }},
        {"OPTIONS", P::Options, [](PrefsContext c, QWidget* p) { return new GaugeOptions(c, p); }},
        {"CONNECT", P::Connect,
         [](PrefsContext c, QWidget* p) { return new CConnectSettings(c, p); }},
        {"NMEA 2000", P::N2kTags, [](PrefsContext c, QWidget* p) { return new CN2KTags(c, p); }},
        {"CHANNELS", P::Channels,
         [](PrefsContext c, QWidget* p) { return new GaugeChanels(c, p); }},
        {"ALARMS", P::Alarms, [](PrefsContext c, QWidget* p) { return new CAlarmProperty(c, p); }},
        {"NMEA TAGS", P::NmeaTags, [](PrefsContext c, QWidget* p) { return new CNMEATags(c, p); }},
    };
    for (const auto& entry : pages) {
        QWidget* page = entry.make(PrefsContext{copies_, prompt_}, this);
        page->setObjectName(entry.caption);
        if (auto* p = qobject_cast<PrefsPage*>(page)) {
            connect(p, &PrefsPage::okRequested, this, &PreferencesSheet::TryAccept);
            connect(p, &PrefsPage::closeRequested, this, &QDialog::reject);
        }
        auto* scroll = new QScrollArea(tabs_);
        scroll->setWidget(page);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        tabs_->addTab(scroll, entry.caption);
        tabPages_.push_back(entry.page);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &PreferencesSheet::TryAccept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
    resize(1010, 720);
}

QWidget* PreferencesSheet::Page(const QString& caption) const {
    for (int i = 0; i < tabs_->count(); ++i) {
        if (tabs_->tabText(i) == caption) {
            return static_cast<QScrollArea*>(tabs_->widget(i))->widget();
        }
    }
    return nullptr;
}

void PreferencesSheet::TryAccept() {
    const auto bad = prefs::CheckPreferences(copies_);
    if (!bad) {
        accept();
        return;
    }
    // Show the page that holds the value.
    for (std::size_t i = 0; i < tabPages_.size(); ++i) {
        if (tabPages_[i] == bad->page) tabs_->setCurrentIndex(static_cast<int>(i));
    }
    prompt_.Message(bad->message, "Error");
}

prefs::PreferencesResult OpenPreferences(app::Dashboard& dashboard, core::Prompt& prompt,
                                         app::WindowHooks& hooks, QWidget* parent) {
    prefs::PreferencesCopies copies = prefs::MakePreferencesCopies(dashboard);
    PreferencesSheet sheet(copies, prompt, parent);
    if (sheet.exec() != QDialog::Accepted) return prefs::PreferencesResult::Applied;
    return prefs::ApplyPreferences(dashboard, copies, hooks);
}

}  // namespace pelor::ui
