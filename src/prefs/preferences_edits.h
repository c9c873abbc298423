#pragma once
// The preferences sheet's edits laid over tables that OK loads again because their file names
// changed in the same sheet: what the user changed on a page is kept, everything the user
// left as the sheet showed it comes from the newly loaded file.
#include "prefs/preferences.h"
#include "tables/project_tables.h"

namespace pelor::prefs {

// Which tables OK loaded again from new file names.
struct ReloadedTables {
    bool labels = false;   // LABELS and the NMEA TAGS time settings
    bool pages = false;    // the NMEA TAGS tags
    bool options = false;  // OPTIONS, CHANNELS, ALARMS, NMEA 2000 and the CONNECT adapter list
};

// `opened`: the copies as the sheet first showed them; `edited`: as the sheet ended. Returns
// `edited` where, for each reloaded table, the values its pages show come from `loaded` except
// those the user changed. A row whose fields only mean something together (an NMEA tag, a
// channel's input or output, an alarm display, an NMEA 2000 row, a tachometer counter, the
// date and time) is taken whole when any of its fields changed.
PreferencesCopies EditsOverReloadedTables(const PreferencesCopies& opened,
                                          const PreferencesCopies& edited,
                                          const tables::ProjectTables& loaded,
                                          ReloadedTables reloaded, int displayScale);

// Whether any of the twelve NMEA tags differs between the two pages.
bool NmeaTagsChanged(const NmeaTagsPage& opened, const NmeaTagsPage& edited);

}  // namespace pelor::prefs
