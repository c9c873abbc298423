#pragma once
// The FILES page: the project's table file names (bare names in the project folder), the log
// file, the project file and the theme file (full paths).
#include <array>
#include <string>

#include "core/prompt.h"
#include "tables/project_file.h"

namespace pelor::prefs {

// The page models work on the tables' byte arrays and files throughout.
using namespace tables;

struct FilesPage {
    std::string labelsFile;
    std::string pageFile;
    std::array<std::string, kCalibrationTableCount> sensorFiles;
    std::string logFile;
    std::string projectPath;  // full path of the project file
    std::string themePath;    // full path of the theme file; "" for the built-in look
};

FilesPage FilesPageFrom(const Project& project);

// Project "Choose": reads the names another project file holds (its first two lines are
// skipped unchecked) into the labels, pages, sensor table and log fields; the log field takes
// ".txt" and ".csv" names. A file that cannot be opened is reported and changes nothing; a
// file that ends before its last sensor table line is reported ("Error Reading from file"),
// and the fields whose lines it lacks keep their names.
bool ReadNamesFromProjectFile(core::Prompt& prompt, const std::string& path, FilesPage& page);

// Whether `path` names the file of its name in `directory` (which need not exist yet).
bool InProjectFolder(const std::string& path, const std::string& directory);

// Sensor table "Choose": copies `source` into `directory` under its own name unless it is
// already there. A different file of that name in `directory` is replaced only when the user
// answers Yes to "%s already exists in the project folder. Replace it?" (No: false, nothing
// copied). A failure shows "Could not copy file %s = %d" (the source path, the error number)
// and returns false.
bool CopyIntoProjectFolder(core::Prompt& prompt, const std::string& source,
                           const std::string& directory);

// "" when the page can be taken, else the message for the first bad field: a table name that
// is empty or holds a folder, or a project path that is not a ".cdp"/".txt" file path.
std::string CheckFilesPage(const FilesPage& page);

// Splits a full path at its last "/": the folder (ending in "/") and the file name.
std::pair<std::string, std::string> SplitProjectPath(const std::string& path);

}  // namespace pelor::prefs
