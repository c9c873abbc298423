#include "prefs/files_page.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "core/format.h"
#include "core/same_file.h"
#include "core/text_file.h"
#include "tables/table_file.h"

namespace pelor::prefs {
namespace {

// The log line of a project chosen on the page: a ".txt" or ".csv" name.
std::string CutPageLogName(std::string_view line) {
    std::string name = CutAfterTxt(line);
    if (name.empty()) {
        const auto at = line.find(".csv");
        if (at != std::string_view::npos) name = std::string(line.substr(0, at + 4));
    }
    return name;
}

std::string Chomp(std::string line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return line;
}

std::optional<std::string> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

constexpr const char* kTextFilter = "Text Files (*.txt)|*.txt||";

// The page's file dialogs: `open` an existing file, else a name to save under (asking before
// an existing file is overwritten).
core::FileDialogRequest Chooser(bool open, const char* extension, const std::string& initial,
                                const char* filter) {
    core::FileDialogRequest r;
    r.open = open;
    r.defaultExtension = extension;
    r.initialName = initial;
    r.filter = filter;
    r.pathMustExist = open;
    r.overwritePrompt = !open;
    return r;
}

// A file chosen for saving must lie in the project folder, else the user is told why not.
bool RefusedOutsideProjectFolder(core::Prompt& prompt, const std::string& chosen,
                                 const std::string& directory) {
    const std::string outside = OutsideProjectFolder(chosen, directory);
    if (outside.empty()) return false;
    prompt.Message(outside, "Error");
    return true;
}

bool IsBareName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos;
}

}  // namespace

FilesPage FilesPageFrom(const Project& project) {
    FilesPage page;
    page.labelsFile = project.labelsFile;
    page.pageFile = project.pageFile;
    page.sensorFiles = project.calibrationFiles;
    page.logFile = project.logFile;
    page.projectPath =
        project.projectFile.empty() ? std::string() : project.directory + project.projectFile;
    page.themePath = ThemeFilePath(project);
    return page;
}

bool ReadNamesFromProjectFile(core::Prompt& prompt, const std::string& path, FilesPage& page) {
    core::TextFile file;
    if (!file.Open(path, core::TextFile::Mode::Read)) {
        prompt.Message(core::Format("Could not Open %s", path.c_str()), "Error");
        return false;
    }
    // Lines 3.. of the project file: labels, pages, options x3, log, sensor tables 0..11.
    std::array<std::string, 18> lines;
    std::string line;
    std::size_t read = 0;
    for (int skip = 0; skip < 2; ++skip) file.ReadLine(line, core::kProjectLineBuffer);
    while (read < lines.size() && file.ReadLine(line, core::kProjectLineBuffer)) {
        lines[read++] = Chomp(line);
    }
    file.Close();
    if (read == 0) {
        prompt.Message("Error Reading from file", "Error");
        return false;
    }
    // A field whose line the file does not hold keeps its name, as when a project is loaded.
    auto take = [&](std::size_t at, std::string& field, std::string name) {
        if (at < read) field = std::move(name);
    };
    take(0, page.labelsFile, CutAfterTxt(lines[0]));
    take(1, page.pageFile, CutAfterTxt(lines[1]));
    take(5, page.logFile, CutPageLogName(lines[5]));
    for (std::size_t i = 0; i < kCalibrationTableCount; ++i) {
        take(6 + i, page.sensorFiles[i], CutAfterTxt(lines[6 + i]));
    }
    if (read < lines.size()) prompt.MessageWithDetail("Error Reading from file", path, "Error");
    return true;
}

bool InProjectFolder(const std::string& path, const std::string& directory) {
    // A name typed into the chooser need not exist yet: SameFile then compares the paths.
    return core::SameFile(path, directory + BareFileName(path));
}

bool CopyIntoProjectFolder(core::Prompt& prompt, const std::string& source,
                           const std::string& directory) {
    if (InProjectFolder(source, directory)) return true;
    const std::string name = BareFileName(source);
    const std::string target = directory + name;
    std::error_code ec;
    if (std::filesystem::exists(target, ec)) {
        // A table of the same name may belong to another sensor: it is replaced only when the
        // user says so, and a copy that holds the same bytes needs no question.
        if (const auto bytes = FileBytes(source); bytes && bytes == FileBytes(target)) return true;
        const std::string question =
            core::Format("%s already exists in the project folder. Replace it?", name.c_str());
        if (prompt.Message(question, "Status", core::MessageButtons::YesNo) != core::Answer::Yes) {
            return false;
        }
    }
    ec.clear();
    std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing,
                               ec);
    if (ec) {
        prompt.Message(core::Format("Could not copy file %s = %d", source.c_str(), ec.value()),
                       "Error");
        return false;
    }
    return true;
}

bool ChooseTableFile(core::Prompt& prompt, const std::string& directory, bool sensorTable,
                     std::string& field) {
    const auto chosen = prompt.ChooseFile(Chooser(false, "txt", field, kTextFilter));
    if (!chosen) return false;
    if (sensorTable) {
        if (!CopyIntoProjectFolder(prompt, *chosen, directory)) return false;
    } else if (RefusedOutsideProjectFolder(prompt, *chosen, directory)) {
        return false;
    }
    field = BareFileName(*chosen);
    return true;
}

bool ChooseLogFile(core::Prompt& prompt, const std::string& directory, std::string& field) {
    const auto chosen = prompt.ChooseFile(
        Chooser(false, "txt", field,
                "CSV Files (*.csv)|*.csv|HTM Web Log Files (*.htm)|*.htm|N2K Log Files "
                "(*.ebl)|*.ebl|Text Files (*.txt)|*.txt||"));
    if (!chosen || RefusedOutsideProjectFolder(prompt, *chosen, directory)) return false;
    field = BareFileName(*chosen);
    return true;
}

bool ChooseProjectFile(core::Prompt& prompt, FilesPage& page) {
    const auto chosen = prompt.ChooseFile(Chooser(true, "cdp", page.projectPath, kCdpFilter));
    if (!chosen || !ReadNamesFromProjectFile(prompt, *chosen, page)) return false;
    page.projectPath = *chosen;
    return true;
}

bool ChooseThemeFile(core::Prompt& prompt, std::string& field) {
    const auto chosen = prompt.ChooseFile(Chooser(true, "txt", field, kTextFilter));
    if (!chosen) return false;
    field = *chosen;
    return true;
}

std::optional<SensorTableToEdit> ChooseSensorTableToEdit(core::Prompt& prompt,
                                                         const std::string& directory,
                                                         std::string& field) {
    const auto chosen = prompt.ChooseFile(Chooser(true, "txt", field, kTextFilter));
    if (!chosen) return std::nullopt;
    SensorTableToEdit table{BareFileName(*chosen), {}};
    if (InProjectFolder(*chosen, directory)) {
        field = table.name;
    } else {
        table.fromFolder = SplitProjectPath(*chosen).first;
    }
    return table;
}

std::string CheckFilesPage(const FilesPage& page) {
    auto bad = [](const std::string& caption) {
        return core::Format("%s: give the bare name of a file in the project folder",
                            caption.c_str());
    };
    if (!IsBareName(page.labelsFile)) return bad("Display Labels");
    if (!IsBareName(page.pageFile)) return bad("Display Pages");
    for (std::size_t i = 0; i < kCalibrationTableCount; ++i) {
        if (!IsBareName(page.sensorFiles[i])) {
            return bad(core::Format("Sensor %d Table", static_cast<int>(i)));
        }
    }
    if (page.logFile.find('/') != std::string::npos) return bad("Log Data File");
    const auto [dir, name] = SplitProjectPath(page.projectPath);
    if (dir.empty() || name.empty()) {
        return "Pelor Project File: give the full path of the project file";
    }
    return {};
}

std::pair<std::string, std::string> SplitProjectPath(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return {"", path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

}  // namespace pelor::prefs
