#include "tables/project_guard.h"

#include "core/format.h"
#include "tables/project_tables.h"

namespace pelor::tables {

Project WithoutPlaceholders(const Project& now, const Project& atStart) {
    Project out = now;
    for (std::size_t i = 0; i < out.calibrationFiles.size(); ++i) {
        if (out.calibrationFiles[i] == core::Format("Calibration Table %d ", static_cast<int>(i))) {
            out.calibrationFiles[i] = atStart.calibrationFiles[i];
        }
    }
    if (out.labelsFile == kLabelsPlaceholder) out.labelsFile = atStart.labelsFile;
    if (out.pageFile == kPagesPlaceholder) out.pageFile = atStart.pageFile;
    if (out.optionsFileC == kOptionsPlaceholder) {
        out.optionsFileA = atStart.optionsFileA;
        out.optionsFileB = atStart.optionsFileB;
        out.optionsFileC = atStart.optionsFileC;
    }
    return out;
}

bool ProjectChanged(const Project& now, const Project& atStart) {
    if (now.directory != atStart.directory) return true;
    return ProjectFileText(WithoutPlaceholders(now, atStart)) != ProjectFileText(atStart);
}

}  // namespace pelor::tables
