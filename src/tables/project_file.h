#pragma once
// The project file (".cdp"): 23 text lines naming the table files of one installation.
//
//   [Pelor_Project_File]
//   [Version 3.04]
//   labels.txt / pages.txt / options C (three times) / log / calibration 0..11 / project
//   theme.txt / web bitmap path (.bmp)
//
// Every table file lives in the project directory and is named by its bare file name.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/prompt.h"
#include "core/text_file.h"
#include "tables/table_types.h"

namespace pelor::tables {

inline constexpr const char* kProjectMarker = "[Pelor_Project_File]";
inline constexpr const char* kProjectVersion = "[Version 3.04]";
// What the web bitmap path shows when the project names no bitmap.
inline constexpr const char* kNoWebBitmap = "[Path to Web Server folder for Pelor_BitMap_File]";
// The project choosers: project files first, text files as the second choice.
inline constexpr const char* kCdpFilter = "CDP Files (*.cdp)|*.cdp|TXT Files (*.txt)|*.txt||";
inline constexpr const char* kProjectChooserTitle = "Select the project file (.cdp)";

struct Project {
    std::string directory;  // absolute, ends in "/"
    std::string projectFile;
    std::string labelsFile;
    std::string pageFile;
    std::string optionsFileA;
    std::string optionsFileB;
    std::string optionsFileC;  // the one loaded at start-up
    std::string logFile;
    std::array<std::string, kCalibrationTableCount> calibrationFiles;
    std::string themeFile;
    std::string webBitmapPath;
    bool webBitmapEnabled = false;

    // Empties every table file name, the theme and the web bitmap (no project chosen).
    void ClearFileNames();
};

// Name line rules: the text up to and including the first ".txt" (case-sensitive), else "".
std::string CutAfterTxt(std::string_view line);
// Log line: up to and including the first of ".txt", ".csv", ".htm", ".ebl" (searched in
// that order), else "".
std::string CutLogName(std::string_view line);
// Web bitmap line: up to and including the first ".bmp", else "".
std::string CutBitmapPath(std::string_view line);

// Reads directory + name into `project`. With askUser (or when the file cannot be opened) an
// open dialog offers another file; choosing one makes its directory the working directory and
// the project directory. Returns the project file name in use (also stored in
// project.projectFile), or "" when the file is no valid project or none was chosen.
std::string LoadProject(core::Prompt& prompt, Project& project, const std::string& directory,
                        const std::string& name, bool askUser);
// The reading half of LoadProject, from a file already open as `fileName` (also one read from
// memory). Closes the file; the result as LoadProject's. Its messages name `shownPath` (the
// file name when empty) on a line under their text.
std::string ReadProject(core::Prompt& prompt, Project& project, core::TextFile& file,
                        const std::string& fileName, const std::string& shownPath = {});

// Writes the 23 lines to project.directory + project.projectFile (the working directory
// becomes the project directory first). Returns false on any failure, after reporting it.
bool SaveProject(core::Prompt& prompt, const Project& project);

// The text SaveProject writes for `project` (lines end in "\n"; the file has "\r\n").
std::string ProjectFileText(const Project& project);

// The full path of the project's theme file ("" when none): a bare name lives in the project
// folder, a full path stands as it is.
std::string ThemeFilePath(const Project& project);

// The full paths of the files the project reads or writes as tables: labels, pages, the
// options files, the calibration tables, the demo data the page writer copies, the theme
// and the project file itself. Names not given are left out.
std::vector<std::string> ProjectFilePaths(const Project& project);

// Makes `directory` the working directory; false for "" or a folder that cannot be entered.
bool ChangeDirectory(const std::string& directory);
// The working directory with a trailing "/", or "" when it cannot be taken.
std::string CurrentDirectoryWithSlash();

}  // namespace pelor::tables
