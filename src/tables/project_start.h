#pragma once
// Finding and opening the project when the application starts: the saved project path, the
// dialogs that replace a missing one, the working directory, and the project file itself.
#include <optional>
#include <string>

#include "core/prompt.h"
#include "tables/project_file.h"

namespace pelor::tables {

// projectFilePath is the saved "ProjectFilePath" setting (nothing when it could not be read).
// On return the working directory is the project directory and `project` holds the project
// (its projectFile may be empty when the user chose none). Returns false when the
// application must close.
bool OpenProjectAtStart(core::Prompt& prompt, Project& project,
                        std::optional<std::string> projectFilePath);

}  // namespace pelor::tables
