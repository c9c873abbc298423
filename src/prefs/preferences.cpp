#include "prefs/preferences.h"

#include "prefs/preferences_connection.h"
#include "prefs/preferences_edits.h"

#include "tables/page_file.h"
#include "tables/project_file.h"
#include "tables/project_guard.h"
#include "tables/table_file.h"

namespace pelor::prefs {
namespace {

tables::Project EditedNames(const tables::Project& current, const PreferencesCopies& c) {
    tables::Project edited = current;
    edited.labelsFile = c.files.labelsFile;
    edited.pageFile = c.files.pageFile;
    edited.optionsFileA = c.optionsFile;
    edited.optionsFileB = c.optionsFile;
    edited.optionsFileC = c.optionsFile;
    edited.calibrationFiles = c.files.sensorFiles;
    return edited;
}

// The theme as the project keeps it: a bare name inside the project folder, else the path.
std::string ThemeName(const std::string& path, const std::string& directory) {
    if (!path.empty() && path.rfind(directory, 0) == 0 &&
        path.find('/', directory.size()) == std::string::npos) {
        return path.substr(directory.size());
    }
    return path;
}

}  // namespace

PreferencesCopies MakePreferencesCopies(const app::Dashboard& d) {
    PreferencesCopies c;
    const auto& t = d.tables;
    c.projectDirectory = d.project.directory;
    c.files = FilesPageFrom(d.project);
    c.labels = LabelsPageFrom(t.labelSettings);
    c.optionsFile = d.project.optionsFileC;
    c.options =
        OptionsPageFromTable(t.options, d.settings.displayScale, t.labelSettings.httpPostAddress);
    c.channels = kChannelsSection.fromOptions(t.options);
    c.alarms = kAlarmsSection.fromOptions(t.options);
    c.pulses = PulseInputsFromOptions(t.options);
    c.calibration = t.calibration;
    c.nmeaTags = NmeaTagsPageFrom(t.pages, t.labelSettings);
    c.n2kTags = N2kTagsFromOptions(t.options);
    c.connection = ConnectionPageFrom(d.settings);
    c.usbLibraryPath = d.LinkSettingsInUse().usbLibraryPath;
    c.discoveryTarget = d.settings.discoveryTarget;
    return c;
}

std::optional<PreferencesProblem> CheckPreferences(const PreferencesCopies& c) {
    using P = PreferencesPage;
    const bool optionsFileBad =
        c.optionsFile.empty() || c.optionsFile.find('/') != std::string::npos;
    const std::pair<P, std::string> checks[] = {
        {P::Files, CheckFilesPage(c.files)},
        {P::Labels, CheckLabelsPage(c.labels)},
        {P::Options, CheckOptionsPage(c.options)},
        {P::Channels, CheckChannelsPage(c.channels)},
        {P::Alarms, CheckAlarmsPage(c.alarms)},
        {P::NmeaTags, CheckNmeaTagsPage(c.nmeaTags)},
        {P::N2kTags, CheckN2kTagsPage(c.n2kTags)},
        {P::Connect, CheckConnectionPage(c.connection)},
        {P::Options, optionsFileBad
                         ? "OPTIONS: give the bare name of the options file in the project folder"
                         : ""},
    };
    for (const auto& [page, message] : checks) {
        if (!message.empty()) return PreferencesProblem{page, message};
    }
    return std::nullopt;
}

OptionsTable OptionsFromPages(const PreferencesCopies& c) {
    tables::OptionsTable sections{};
    kChannelsSection.toOptions(c.channels, sections);
    kAlarmsSection.toOptions(c.alarms, sections);
    OptionsPage page = c.options;
    ApplyN2kTags(c.n2kTags, page.table);
    return BuildOptionsTable(page, sections);
}

PreferencesResult ApplyPreferences(app::Dashboard& d, const PreferencesCopies& edited,
                                   app::WindowHooks& hooks) {
    core::Prompt& prompt = d.prompt;
    // The copies as the sheet first showed them: the window's state has not changed since.
    const PreferencesCopies opened = MakePreferencesCopies(d);

    // Project check: the FILES page's project path names the project from now on.
    const tables::Project before = d.project;
    const auto [directory, name] = SplitProjectPath(edited.files.projectPath);
    d.project.directory = directory;
    d.project.projectFile = name;
    if (!tables::ChangeDirectory(directory)) prompt.Message(directory, "Status");
    if (directory != before.directory || name != before.projectFile) {
        const auto answer = prompt.Message(
            "The Project File has changed. Click YES to quit program to reload new project file",
            "Status", core::MessageButtons::YesNo);
        if (answer == core::Answer::Yes) {
            tables::Project chosen = d.project;
            if (!tables::LoadProject(prompt, chosen, directory, name, false).empty()) {
                // This project's own changes go to its own files now: the page layout (asked)
                // and the project file. The chosen project is only remembered for the next
                // start: its file stays exactly as it is.
                d.project = before;
                d.KeepPagesBeforeQuit(false);
                if (tables::ProjectChanged(before, d.projectAtStart)) {
                    tables::SaveProject(prompt,
                                        tables::WithoutPlaceholders(before, d.projectAtStart));
                }
                d.project = chosen;
                d.projectAtStart = chosen;
                return PreferencesResult::EndProgram;
            }
            // Not a project that can be opened (already reported): stay with this one.
        }
        // The window goes on with its own project: its names must not be saved into the
        // other project's file at exit.
        d.project = before;
        tables::ChangeDirectory(before.directory);
    }

    // Reload the files whose names changed, then copy the pages back over them, so that the
    // edits of a table's pages are not replaced by the file loaded for it. All on a copy of the
    // tables so that a reader never sees a table half loaded and no lock is held while a
    // dialog is up.
    tables::ProjectTables work = d.tables;
    const bool pagesChanged = edited.files.pageFile != d.project.pageFile;
    const tables::Project named = d.project;
    tables::ReloadChangedTables(prompt, d.project, EditedNames(d.project, edited), work);
    const ReloadedTables reloaded{edited.files.labelsFile != named.labelsFile,
                                  edited.files.pageFile != named.pageFile,
                                  edited.optionsFile != named.optionsFileC};
    const PreferencesCopies c =
        EditsOverReloadedTables(opened, edited, work, reloaded, d.settings.displayScale);

    ApplyLabelsPage(c.labels, work.labels, work.labelSettings);
    ApplyNmeaTagsPage(c.nmeaTags, work.pages, work.labelSettings);
    work.labelSettings.httpPostAddress = c.options.httpPostAddress;
    work.options = OptionsFromPages(c);
    work.values = tables::DeriveOptionsValues(work.options);
    d.settings.displayScale = EffectiveDisplayScale(c.options[OptionsField::DisplayScale]);
    // The link settings take effect at the next Connect; the capture interval at once.
    ApplyConnectionPage(c.connection, d.settings);
    d.Capture().SetCaptureInterval(d.settings.captureIntervalSeconds);
    d.page.m_nDisplayScale = d.settings.displayScale;

    d.project.optionsFileA = d.project.optionsFileC;
    d.project.optionsFileB = d.project.optionsFileC;
    if (c.files.logFile != d.project.logFile) {
        d.project.logFile = c.files.logFile;
        if (!d.project.logFile.empty()) {
            d.Capture().SetLogPath(d.project.directory + d.project.logFile);
        }
    }

    // The NMEA tags live in the page file, which only the main window's save writes whole:
    // changed tags (or the NMEA TAGS page's save) go into that file's NMEA row now, so that
    // they are not lost at exit.
    if (c.nmeaTags.saveRequested || NmeaTagsChanged(opened.nmeaTags, edited.nmeaTags)) {
        tables::UpdatePageFileEntries(prompt, d.project.directory, d.project.pageFile, work.pages,
                                      tables::kNmeaRow, kNmeaTagCount);
    }

    // The time settings of the NMEA TAGS page live in the labels file too.
    if ((c.labels.saveRequested || c.nmeaTags.saveRequested) &&
        prompt.Message("Save Display Labels?", "Status", core::MessageButtons::YesNo) ==
            core::Answer::Yes) {
        tables::WriteLabelFile(prompt, d.project.directory, d.project.labelsFile, work.labels,
                               work.labelSettings);
    }

    if (c.files.themePath != tables::ThemeFilePath(d.project)) {
        d.project.themeFile = ThemeName(c.files.themePath, d.project.directory);
        prompt.Message("Please restart Pelor to load new theme", "Status");
        if (d.project.themeFile.empty()) {
            prompt.Message("No Theme file selected - using default theme", "Error");
        }
    }

    d.InstallTables(std::move(work), pagesChanged, hooks);
    return PreferencesResult::Applied;
}

}  // namespace pelor::prefs
