#pragma once
// Keeping the user's project file as it was: at exit the project is written only when it
// differs from what start-up read, and never with the stand-in names start-up gives the
// tables a broken or incomplete project does not name.
#include "tables/project_file.h"

namespace pelor::tables {

// `now` with every table name that is still start-up's stand-in (a calibration table's,
// the labels', the pages' or the options' name, none of them a file name) put back to what
// `atStart` held.
Project WithoutPlaceholders(const Project& now, const Project& atStart);

// Whether the project to save differs from the one start-up read (another folder, or any line
// of the file the writer would produce).
bool ProjectChanged(const Project& now, const Project& atStart);

}  // namespace pelor::tables
