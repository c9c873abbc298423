#pragma once
// The FILES page: the project's table file names (bare names in the project folder), the log
// file, the project file and the theme file (full paths).
#include <array>
#include <optional>
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

// The page's "Choose" buttons. Each shows its file dialog starting at the field's name and
// writes the field only when the choice stands; false when the dialog was cancelled or the
// choice was refused (the reason already shown).
//
// Labels, pages and sensor tables: a text file saved in the project folder (`directory`), the
// field takes its bare name. A labels or pages file chosen elsewhere is refused ("... is not in
// the project folder ..."); a sensor table chosen elsewhere is copied in first
// (CopyIntoProjectFolder).
bool ChooseTableFile(core::Prompt& prompt, const std::string& directory, bool sensorTable,
                     std::string& field);
// The log: a ".csv", ".htm", ".ebl" or ".txt" name in the project folder.
bool ChooseLogFile(core::Prompt& prompt, const std::string& directory, std::string& field);
// The project: an existing project file; its names fill the page (ReadNamesFromProjectFile)
// and its full path becomes the project path.
bool ChooseProjectFile(core::Prompt& prompt, FilesPage& page);
// The theme: an existing text file anywhere, kept as its full path.
bool ChooseThemeFile(core::Prompt& prompt, std::string& field);

// What a sensor table row's "Open" gives the calibration table editor.
struct SensorTableToEdit {
    std::string name;        // the bare name the editor saves under in the project folder
    std::string fromFolder;  // "" for a table of the project folder, else the folder it is in
};
// "Open" of a sensor table row: an existing text file; nothing is copied. A table of the
// project folder names the field at once; one opened from elsewhere names it only once the
// editor has saved it into the project folder, so that the field never names a project file
// that is not the one shown.
std::optional<SensorTableToEdit> ChooseSensorTableToEdit(core::Prompt& prompt,
                                                         const std::string& directory,
                                                         std::string& field);

// "" when the page can be taken, else the message for the first bad field: a table name that
// is empty or holds a folder, or a project path that is not a ".cdp"/".txt" file path.
std::string CheckFilesPage(const FilesPage& page);

// Splits a full path at its last "/": the folder (ending in "/") and the file name.
std::pair<std::string, std::string> SplitProjectPath(const std::string& path);

}  // namespace pelor::prefs
