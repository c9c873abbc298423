#pragma once
// The tables a project names, loaded together when the application starts.
#include "core/prompt.h"
#include "tables/label_file.h"
#include "tables/options_file.h"
#include "tables/project_file.h"
#include "tables/table_types.h"

namespace pelor::tables {

struct ProjectTables {
    CalibrationTables calibration{};
    LabelTable labels{};
    LabelSettings labelSettings;
    PageTable pages{};
    OptionsTable options{};
    OptionsValues values;
};

// The names start-up gives a table the project does not name, before asking for its file.
// None ends in ".txt", so none is read back from a project file.
// A calibration table's stand-in is "Calibration Table %d " with its slot number.
inline constexpr const char* kLabelsPlaceholder = "Display Labels";
inline constexpr const char* kPagesPlaceholder = "Page Descriptions";
inline constexpr const char* kOptionsPlaceholder = "Options";

// Loads, in order: the twelve calibration tables, the display labels (then decodes them), the
// page descriptions, the log file choice (a dialog when none is named), the options (zeroed
// first) and the values taken from them. Table names end up in `project` as the loader
// returned them; failures are reported through `prompt` and leave the tables as they were.
void LoadStartupTables(core::Prompt& prompt, Project& project, ProjectTables& tables);

// After the preferences sheet: reloads each table whose file name in `edited` differs from
// `project` (the new name is stored first). Labels, pages and options load without a dialog;
// each changed calibration table asks with a file dialog first. Options are zeroed before
// they load and the values are derived again.
void ReloadChangedTables(core::Prompt& prompt, Project& project, const Project& edited,
                         ProjectTables& tables);

// The main window's save command: asks "Save Display Labels?" and "Save Page Definations?"
// and writes each file on Yes. True when the page file was written.
bool SaveLabelsAndPages(core::Prompt& prompt, const Project& project, ProjectTables& tables);

}  // namespace pelor::tables
