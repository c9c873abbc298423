#pragma once
// Finding and opening the project when the application starts: the saved project path, the
// dialogs that replace a missing one, the working directory, and the project file itself.
#include <optional>
#include <string>

#include "core/prompt.h"
#include "tables/project_file.h"

namespace pelor::tables {

// projectFilePath is the saved "ProjectFilePath" setting (nothing when it could not be read).
// On return the working directory is the project directory and `project` holds the project.
// Returns false when the application must close: the project directory was not found, or the
// project is not usable (wrong type or version, too short, empty) and the user chose no other.
bool OpenProjectAtStart(core::Prompt& prompt, Project& project,
                        std::optional<std::string> projectFilePath);

}  // namespace pelor::tables
