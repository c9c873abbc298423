#pragma once
// The preferences sheet's logic without a window: the copies each page works on while the
// sheet is open, and what happens when the sheet ends with OK (project switch, copy back,
// reloads of changed files, the labels save question, the theme messages, layout again).
#include <optional>
#include <string>

#include "app/dashboard.h"
#include "links/discovery_reply.h"
#include "prefs/alarms_page.h"
#include "prefs/channels_page.h"
#include "prefs/connection_page.h"
#include "prefs/files_page.h"
#include "prefs/labels_page.h"
#include "prefs/n2k_tags_page.h"
#include "prefs/nmea_tags_page.h"
#include "prefs/options_page.h"

namespace pelor::prefs {

struct PreferencesCopies {
    std::string projectDirectory;  // the pages' own copy, ends in "/"
    FilesPage files;
    LabelsPage labels;
    std::string optionsFile;  // the OPTIONS page's file name field
    OptionsPage options;
    ChannelsPage channels;
    AlarmsPage alarms;
    PulseInputs pulses{};
    tables::CalibrationTables calibration{};
    NmeaTagsPage nmeaTags;
    N2kTagsPage n2kTags;  // options bytes 256..335
    // CONNECT: the link settings; its adapter list is bytes 336..367 of `options.table`.
    ConnectionPage connection;
    std::string usbLibraryPath;              // what "Discover USB Devices" loads
    links::DiscoveryTarget discoveryTarget;  // where "SCAN" sends its request
};

PreferencesCopies MakePreferencesCopies(const app::Dashboard& dashboard);

// The sheet's pages.
enum class PreferencesPage { Labels, Files, Options, Connect, N2kTags, Channels, Alarms, NmeaTags };

// A value that keeps the sheet from closing with OK: the page that holds it and the message.
struct PreferencesProblem {
    PreferencesPage page = PreferencesPage::Files;
    std::string message;
    bool operator==(const PreferencesProblem&) const = default;
};

// Nothing when every page holds values that can be taken, else the first bad one.
std::optional<PreferencesProblem> CheckPreferences(const PreferencesCopies& copies);

// The options table the OPTIONS page writes and the sheet hands back: its fields over its
// copy, with the channel and alarm sections of the CHANNELS and ALARMS pages and the rows of
// the NMEA 2000 page.
tables::OptionsTable OptionsFromPages(const PreferencesCopies& copies);

enum class PreferencesResult {
    Applied,     // the window goes on with the new state
    EndProgram,  // the project changed and the user chose to restart with it
};

// The sheet ended with OK. Every question and message goes through the dashboard's prompt.
PreferencesResult ApplyPreferences(app::Dashboard& dashboard, const PreferencesCopies& copies,
                                   app::WindowHooks& hooks);

}  // namespace pelor::prefs
