#include "tables/project_tables.h"

#include "core/format.h"
#include "tables/page_file.h"
#include "tables/table_file.h"

namespace pelor::tables {
namespace {

// Loads one table; an empty name asks with `defaultName` as the dialog's initial name.
std::string LoadNamed(core::Prompt& prompt, const Project& project, const std::string& name,
                      const std::string& defaultName, std::span<std::uint8_t> destination,
                      const std::string& what) {
    const bool missing = name.empty();
    return LoadTableFile(prompt, project.directory, missing ? defaultName : name, destination,
                         missing, what);
}

}  // namespace

void LoadStartupTables(core::Prompt& prompt, Project& project, ProjectTables& tables) {
    for (std::size_t i = 0; i < kCalibrationTableCount; ++i) {
        auto& name = project.calibrationFiles[i];
        name = LoadNamed(
            prompt, project, name, core::Format("Calibration Table %d ", static_cast<int>(i)),
            tables.calibration[i], core::Format("calibration table %d", static_cast<int>(i)));
        if (name.empty()) prompt.Message("Unable to load calibration tables", "Error");
    }

    project.labelsFile = LoadNamed(prompt, project, project.labelsFile, kLabelsPlaceholder,
                                   tables.labels, "display labels");
    if (project.labelsFile.empty()) prompt.Message("Unable to load Display Labeltables", "Error");
    tables.labelSettings = DecodeLabelSettings(tables.labels);

    project.pageFile = LoadNamed(prompt, project, project.pageFile, kPagesPlaceholder, tables.pages,
                                 "page descriptions");
    if (project.pageFile.empty()) {
        prompt.Message("Unable to load Page Description tables", "Error");
    }

    if (project.logFile.empty()) {
        core::FileDialogRequest request;
        request.title = "Select the log file";
        request.defaultExtension = "txt";
        request.initialName = "Log File Name";
        request.filter =
            "CSV Files (*.csv)|*.csv|HTM Web Log Files (*.htm)|*.htm|N2K Log Files "
            "(*.ebl)|*.ebl|Text Files (*.txt)|*.txt||";
        auto chosen = prompt.ChooseFile(request);
        if (chosen) project.logFile = BareFileName(*chosen);
    }

    tables.options.fill(0);
    project.optionsFileC = LoadNamed(prompt, project, project.optionsFileC, kOptionsPlaceholder,
                                     tables.options, "options");
    if (project.optionsFileC.empty()) prompt.Message("Unable to load Gauge Options", "Error");
    tables.values = DeriveOptionsValues(tables.options);
}

void ReloadChangedTables(core::Prompt& prompt, Project& project, const Project& edited,
                         ProjectTables& tables) {
    const std::string& dir = project.directory;
    if (edited.labelsFile != project.labelsFile) {
        project.labelsFile = LoadTableFile(prompt, dir, edited.labelsFile, tables.labels, false);
        if (project.labelsFile.empty()) {
            prompt.Message("Unable to load Display Labeltables", "Error");
        }
        tables.labelSettings = DecodeLabelSettings(tables.labels);
    }
    if (edited.pageFile != project.pageFile) {
        project.pageFile = LoadTableFile(prompt, dir, edited.pageFile, tables.pages, false);
        if (project.pageFile.empty()) prompt.Message("Unable to load Page tables", "Error");
    }
    if (edited.optionsFileC != project.optionsFileC) {
        tables.options.fill(0);
        project.optionsFileC =
            LoadTableFile(prompt, dir, edited.optionsFileC, tables.options, false);
        if (project.optionsFileC.empty()) prompt.Message("Unable to load Options tables", "Error");
        tables.values = DeriveOptionsValues(tables.options);
    }
    for (std::size_t i = 0; i < kCalibrationTableCount; ++i) {
        if (edited.calibrationFiles[i] == project.calibrationFiles[i]) continue;
        project.calibrationFiles[i] =
            LoadTableFile(prompt, dir, edited.calibrationFiles[i], tables.calibration[i], true);
        if (project.calibrationFiles[i].empty()) {
            prompt.Message(
                core::Format("Unable to load calibration %d tables", static_cast<int>(i)), "Error");
        }
    }
}

bool SaveLabelsAndPages(core::Prompt& prompt, const Project& project, ProjectTables& tables) {
    if (prompt.Message("Save Display Labels?", "Status", core::MessageButtons::YesNo) ==
        core::Answer::Yes) {
        WriteLabelFile(prompt, project.directory, project.labelsFile, tables.labels,
                       tables.labelSettings);
    }
    if (prompt.Message("Save Page Definations?", "Status", core::MessageButtons::YesNo) ==
        core::Answer::Yes) {
        return WritePageFile(prompt, project.directory, project.pageFile, tables.pages,
                             tables.values.displayType, tables.values.dualDisplay);
    }
    return false;
}

}  // namespace pelor::tables
