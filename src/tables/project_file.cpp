#include "tables/project_file.h"

#include <cstdio>
#include <filesystem>
#include <optional>

#include "core/format.h"
#include "core/text_file.h"
#include "tables/page_file.h"
#include "tables/table_file.h"

namespace pelor::tables {
namespace {

constexpr std::size_t kWriteBuffer = 100;

std::string CutAfter(std::string_view line, std::string_view extension) {
    const auto at = line.find(extension);
    if (at == std::string_view::npos) return {};
    return std::string(line.substr(0, at + extension.size()));
}

// Opens the bitmap for writing without emptying it, creating it when it is missing: the test
// only proves the path is writable and never damages a bitmap a web server is showing.
bool BitmapPathWritable(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "ab");  // append mode never truncates
    if (f == nullptr) return false;
    std::fclose(f);
    return true;
}

std::pair<std::string, std::string> SplitPath(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return {"", path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

}  // namespace

void Project::ClearFileNames() {
    labelsFile.clear();
    pageFile.clear();
    optionsFileA.clear();
    optionsFileB.clear();
    optionsFileC.clear();
    logFile.clear();
    for (auto& c : calibrationFiles) c.clear();
    themeFile.clear();
    webBitmapPath.clear();
    webBitmapEnabled = false;
}

std::string CutAfterTxt(std::string_view line) {
    return CutAfter(line, ".txt");
}

std::string CutLogName(std::string_view line) {
    for (std::string_view ext : {".txt", ".csv", ".htm", ".ebl"}) {
        std::string name = CutAfter(line, ext);
        if (!name.empty()) return name;
    }
    return {};
}

std::string CutBitmapPath(std::string_view line) {
    return CutAfter(line, ".bmp");
}

bool ChangeDirectory(const std::string& directory) {
    if (directory.empty()) return false;
    std::error_code ec;
    std::filesystem::current_path(directory, ec);
    return !ec;
}

std::string CurrentDirectoryWithSlash() {
    std::error_code ec;
    std::string dir = std::filesystem::current_path(ec).string();
    if (ec) return {};
    if (dir.empty() || dir.back() != '/') dir.push_back('/');
    return dir;
}

std::string LoadProject(core::Prompt& prompt, Project& project, const std::string& directory,
                        const std::string& name, bool askUser) {
    std::string fileName = name;
    core::TextFile file;
    const bool opened = !askUser && file.Open(directory + fileName, core::TextFile::Mode::Read);
    if (!opened) {
        if (!askUser) prompt.Message("Could not open Project File -" + fileName, "Error");
        core::FileDialogRequest request;
        request.title = kProjectChooserTitle;
        request.defaultExtension = "cdp";
        request.initialName = fileName;
        request.filter = kCdpFilter;
        request.pathMustExist = true;
        auto chosen = prompt.ChooseFile(request);
        if (!chosen) {
            project.projectFile.clear();
            return {};
        }
        // Choosing a file makes its folder current, and the name is opened relative to it.
        const std::string chosenDir = SplitPath(*chosen).first;
        ChangeDirectory(chosenDir);
        fileName = BareFileName(*chosen);
        if (!file.Open(fileName, core::TextFile::Mode::Read)) {
            prompt.MessageWithDetail("Could not open Project File", *chosen, "Error");
            project.projectFile = fileName;
            return fileName;
        }
        project.directory = CurrentDirectoryWithSlash();
    }
    return ReadProject(prompt, project, file, fileName,
                       (opened ? directory : CurrentDirectoryWithSlash()) + fileName);
}

std::string ReadProject(core::Prompt& prompt, Project& project, core::TextFile& file,
                        const std::string& fileName, const std::string& shownPath) {
    // The messages below do not name the file: a line under them does.
    const std::string& path = shownPath.empty() ? fileName : shownPath;
    // What LoadProject returns when a line is missing: lines 2 and 3 make the project invalid.
    auto fail = [&](bool invalid) -> std::string {
        prompt.MessageWithDetail("Error Reading from file", path, "Error");
        file.Close();
        project.projectFile = invalid ? std::string() : fileName;
        return project.projectFile;
    };
    std::string line;
    line.reserve(core::kProjectLineBuffer);
    auto read = [&]() { return file.ReadLine(line, core::kProjectLineBuffer); };

    if (!read()) return fail(false);
    if (line.find(kProjectMarker) == std::string::npos) {
        prompt.MessageWithDetail("Incorrect Project file type", path, "Error");
        file.Close();
        project.projectFile.clear();
        return {};
    }
    if (!read()) return fail(true);
    if (line.find(kProjectVersion) == std::string::npos) {
        prompt.MessageWithDetail("Incorrect Project file version", path, "Error");
        file.Close();
        project.projectFile.clear();
        return {};
    }
    if (!read()) return fail(true);
    project.labelsFile = CutAfterTxt(line);
    if (!read()) return fail(false);
    project.pageFile = CutAfterTxt(line);
    if (!read()) return fail(false);
    project.optionsFileA = CutAfterTxt(line);
    if (!read()) return fail(false);
    project.optionsFileB = CutAfterTxt(line);
    if (!read()) return fail(false);
    project.optionsFileC = CutAfterTxt(line);
    if (!read()) return fail(false);
    project.logFile = CutLogName(line);
    for (auto& calibration : project.calibrationFiles) {
        if (!read()) return fail(false);
        calibration = CutAfterTxt(line);
    }
    if (!read()) return fail(false);  // the project's own name: not used
    project.themeFile = read() ? CutAfterTxt(line) : std::string();
    if (read()) {
        std::string bitmap = CutBitmapPath(line);
        if (bitmap.empty()) {
            project.webBitmapPath = kNoWebBitmap;
            project.webBitmapEnabled = false;
        } else {
            project.webBitmapPath = bitmap;
            project.webBitmapEnabled = BitmapPathWritable(bitmap);
            if (!project.webBitmapEnabled) {
                prompt.Message(core::Format("Could not Open %s", bitmap.c_str()), "Error");
            }
        }
    } else {
        project.webBitmapPath.clear();
        project.webBitmapEnabled = false;
    }
    file.Close();
    project.projectFile = fileName;
    return fileName;
}

std::string ProjectFileText(const Project& project) {
    std::string text;
    auto add = [&text](const std::string& line) {
        text += line;
        text += '\n';
    };
    add(kProjectMarker);
    add(kProjectVersion);
    add(project.labelsFile);
    add(project.pageFile);
    for (int k = 0; k < 3; ++k) add(project.optionsFileC);
    add(project.logFile);
    for (const auto& calibration : project.calibrationFiles) add(calibration);
    add(project.projectFile);
    add(project.themeFile);
    add(project.webBitmapPath);
    return text;
}

std::string ThemeFilePath(const Project& project) {
    if (project.themeFile.empty()) return {};
    if (project.themeFile.front() == '/') return project.themeFile;
    return project.directory + project.themeFile;
}

std::vector<std::string> ProjectFilePaths(const Project& project) {
    std::vector<std::string> paths;
    auto add = [&](const std::string& name) {
        if (name.empty()) return;
        paths.push_back(name.front() == '/' ? name : project.directory + name);
    };
    add(project.projectFile);
    add(project.labelsFile);
    add(project.pageFile);
    add(project.optionsFileA);
    add(project.optionsFileB);
    add(project.optionsFileC);
    for (const auto& calibration : project.calibrationFiles) add(calibration);
    add(kDemoDataFile);
    add(project.themeFile);
    return paths;
}

bool SaveProject(core::Prompt& prompt, const Project& project) {
    if (!ChangeDirectory(project.directory)) {
        prompt.Message(project.directory, "Error7");
        return false;
    }
    const std::string directory = CurrentDirectoryWithSlash();
    if (project.projectFile.empty()) {
        prompt.Message("Not a valid file name", "Error");
        return false;
    }
    core::TextFile file;
    const std::string path = directory + project.projectFile;
    if (!file.Open(path, core::TextFile::Mode::Replace)) {
        core::FileDialogRequest request;
        request.open = false;
        request.title = "Save the project file";
        request.defaultExtension = "txt";
        request.initialName = path;
        request.filter = "Text Files (*.txt)|*.txt||";
        request.overwritePrompt = true;
        auto chosen = prompt.ChooseFile(request);
        if (!chosen) return false;
        if (!file.Open(*chosen, core::TextFile::Mode::Replace)) {
            prompt.Message("Could not Open File", "Error2");
            return false;
        }
    }
    if (!file.SetBuffer(kWriteBuffer)) {
        prompt.Message("Could not set buffer to 0", "Error");
        file.Abandon();
        return false;
    }
    const std::string text = ProjectFileText(project);
    if (!file.Write(text)) {
        prompt.Message("Error Writing to file", "Error");
        file.Abandon();
        return false;
    }
    if (!file.Close()) {
        prompt.Message("Could not Close File", "Error");
        return false;
    }
    return true;
}

}  // namespace pelor::tables
