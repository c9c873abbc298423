#include "tables/project_start.h"

#include <filesystem>
#include <utility>

#include "core/format.h"
#include "tables/table_file.h"

namespace pelor::tables {
namespace {

constexpr const char* kInitialProjectName = "ProjectFileName";

std::pair<std::string, std::string> SplitAtLastSlash(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return {"", path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

// "Could not open Project File ..." and the project chooser; the chosen full path or nothing.
// The message breaks its lines where its text has "/r/n".
std::optional<std::string> AskForProject(core::Prompt& prompt, const std::string& directory) {
    prompt.Message(core::Format("Could not open Project File\n%s\nPlease select current "
                                "project file",
                                directory.c_str()),
                   "Error");
    core::FileDialogRequest request;
    request.title = kProjectChooserTitle;
    request.defaultExtension = "cdp";
    request.initialName = kInitialProjectName;
    request.filter = kCdpFilter;
    request.pathMustExist = true;
    request.overwritePrompt = true;
    return prompt.ChooseFile(request);
}

// A project file with nothing in it names no table: loading it would ask for every table in
// turn and then show a window without any. It is refused like a project of the wrong type.
bool EmptyFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec) &&
           std::filesystem::file_size(path, ec) == 0 && !ec;
}

// Loads directory + name unless the file is empty; false when the project is not usable.
bool LoadUnlessEmpty(core::Prompt& prompt, Project& project, const std::string& directory,
                     const std::string& name) {
    if (EmptyFile(directory + name)) {
        project.projectFile.clear();
        return false;
    }
    return !LoadProject(prompt, project, directory, name, false).empty();
}

}  // namespace

bool OpenProjectAtStart(core::Prompt& prompt, Project& project,
                        std::optional<std::string> projectFilePath) {
    std::string path;
    if (projectFilePath) {
        path = *projectFilePath;
    } else {
        path = AskForProject(prompt, project.directory).value_or(std::string());
    }

    auto [directory, name] = SplitAtLastSlash(path);
    project.directory = directory;
    project.projectFile = name;
    if (!ChangeDirectory(directory)) {
        auto chosen = AskForProject(prompt, directory);
        bool entered = false;
        if (chosen) {
            std::tie(directory, name) = SplitAtLastSlash(*chosen);
            project.directory = directory;
            project.projectFile = name;
            entered = ChangeDirectory(directory);
        }
        if (!entered) {
            project.projectFile.clear();
            prompt.MessageWithDetail("Failed to find Project Dir - exiting program", directory,
                                     "Error");
            return false;
        }
    }
    project.directory = CurrentDirectoryWithSlash();

    std::string tried;  // the project file last read, for the question below
    if (!project.projectFile.empty()) {
        tried = project.directory + project.projectFile;
        LoadUnlessEmpty(prompt, project, project.directory, project.projectFile);
    } else {
        core::FileDialogRequest request;
        request.title = kProjectChooserTitle;
        request.defaultExtension = "txt";
        request.initialName = kInitialProjectName;
        request.filter = kCdpFilter;
        request.pathMustExist = true;
        request.overwritePrompt = true;
        auto chosen = prompt.ChooseFile(request);
        if (chosen) {
            // A project chosen in another folder makes that folder the project directory.
            const std::string chosenDir = SplitAtLastSlash(*chosen).first;
            if (ChangeDirectory(chosenDir)) project.directory = CurrentDirectoryWithSlash();
            tried = *chosen;
            LoadUnlessEmpty(prompt, project, project.directory, BareFileName(*chosen));
        } else {
            project.ClearFileNames();
        }
    }

    // The window is only built from a usable project: the question comes back until one is
    // chosen (Yes) or the user ends the program (No).
    while (project.projectFile.empty()) {
        const std::string detail =
            EmptyFile(tried) ? tried + "\nThe file is empty: it names no tables." : tried;
        const auto answer =
            prompt.MessageWithDetail("Invalid Project File . Click YES to reload new project file",
                                     detail, "Status", core::MessageButtons::YesNo);
        if (answer != core::Answer::Yes) return false;
        core::FileDialogRequest request;
        request.title = kProjectChooserTitle;
        request.defaultExtension = "cdp";
        request.initialName = kInitialProjectName;
        request.filter = kCdpFilter;
        request.pathMustExist = true;
        auto chosen = prompt.ChooseFile(request);
        if (!chosen) continue;
        auto [chosenDir, chosenName] = SplitAtLastSlash(*chosen);
        if (ChangeDirectory(chosenDir)) {
            project.directory = CurrentDirectoryWithSlash();
        } else {
            prompt.Message(chosenDir, "Error");
        }
        tried = *chosen;
        LoadUnlessEmpty(prompt, project, project.directory, chosenName);
    }
    return true;
}

}  // namespace pelor::tables
