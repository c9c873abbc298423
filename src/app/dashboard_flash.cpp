// The FLASH command's logic on the dashboard's state: the programmer on the open link, and
// what the display does around it.
#include "app/dashboard.h"
#include "core/format.h"
#include "unit/flash_link.h"

namespace pelor::app {

unit::FlashOutcome Dashboard::Flash(const std::string& path, std::string_view addressText,
                                    unit::FlashProgress* progress) {
    unit::LinkManagerFlashLink link(*links_, settings.baudRate, settings.usbBaudRate);
    unit::FlashProgrammer programmer(
        unit::FlashHooks{prompt, view, link, linkHold, progress, [this] { ResetPositions(); },
                         [this] {
                             // Back to page 0 with the live positions cleared; the title says so.
                             page.m_nCurrentPage = 0;
                             {
                                 std::lock_guard lock(channels.mutex);
                                 context_.currentPage = 0;
                                 channels.m_strLinkStatus = core::Format(" Page %i", 0);
                                 channels.m_bRedrawAll = 1;
                             }
                             view.SetCaption(Caption());
                             ResetPositions();
                         }});
    return programmer.Run(path, addressText);
}

std::array<std::string, 15> Dashboard::FlashTablePaths() const {
    std::array<std::string, 15> paths;
    const auto full = [this](const std::string& name) {
        return name.empty() ? std::string() : project.directory + name;
    };
    paths[0] = full(project.labelsFile);
    paths[1] = full(project.pageFile);
    paths[2] = full(project.optionsFileC);
    for (std::size_t i = 0; i < project.calibrationFiles.size(); ++i)
        paths[3 + i] = full(project.calibrationFiles[i]);
    return paths;
}

}  // namespace pelor::app
