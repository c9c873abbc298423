#include "app/dashboard.h"

#include <filesystem>

#include "core/format.h"
#include "tables/page_file.h"
#include "tables/project_start.h"

namespace pelor::app {

Dashboard::Dashboard(core::Prompt& p, core::SettingsStore& s, core::View& v, core::Clock& c)
    : prompt(p), store(s), view(v), clock(c) {}

Dashboard::~Dashboard() {
    // Readers write into this object: none may outlive it, whatever path ended the program.
    for (auto& reader : readers_) reader.Stop();
}

std::string Dashboard::Caption() const {
    std::lock_guard lock(channels.mutex);
    return channels.m_strTitlePrefix + channels.m_strLinkStatus;
}

std::uint8_t& Dashboard::LabelMode(int pageIndex, int label) {
    return tables::LabelMode(tables.pages, static_cast<std::size_t>(pageIndex & 15),
                             static_cast<std::size_t>(label & 15));
}

std::uint8_t& Dashboard::LabelCell(int pageIndex, int label) {
    return tables::LabelCell(tables.pages, static_cast<std::size_t>(pageIndex & 15),
                             static_cast<std::size_t>(label & 15));
}

bool Dashboard::Initialise(WindowHooks& hooks) {
    // Placeholders for the last transducer sentence of every channel, and the gauge styles'
    // names; flash selection and switch state start cleared.
    {
        std::lock_guard lock(channels.mutex);
        for (int c = 0; c < decode::kChannelCount; ++c) {
            channels.LastSentence[static_cast<std::size_t>(c)] =
                core::Format("$IIXDR,G, 0000000,G,NOTUSED %01X*00\r", c);
        }
        channels.m_strTitlePrefix = "::";
        channels.m_strLinkStatus = "disconnected";
        channels.m_bRedrawAll = 0;
    }
    flashSelection.fill(0);
    auxCounter = 0;
    switchState.fill(0);
    switchCounter = 0;
    view.SetCaption(Caption());
    view.RequestRepaint();

    LoadSettings(store, settings);
    page.m_nDisplayScale = settings.displayScale;
    page.m_bTouchMode = settings.touchMode ? 1 : 0;

    if (!tables::OpenProjectAtStart(prompt, project, settings.projectFilePath)) return false;

    captureState = 1;
    hooks.PrepareDrawing();

    DeriveSettings(settings);
    {
        std::lock_guard lock(channels.mutex);
        channels.m_bRedrawAll = 1;
        channels.SystemTimeText.clear();
        channels.LastDSentence.clear();
        channels.LastSSentence.clear();
    }

    tables::LoadStartupTables(prompt, project, tables);
    TakeValuesFromOptions();

    hooks.BuildMenusAndRegions();
    hooks.ApplyLayout();
    if (settings.autoConnect) hooks.Connect();
    return true;
}

void Dashboard::TakeValuesFromOptions() {
    const auto& v = tables.values;
    page.m_nPageCount = v.pageCount;
    page.m_nDisplayType = v.displayType;
    page.m_bMultiDisplay = v.dualDisplay ? 1 : 0;
    page.m_nCurrentPage = 0;
    // The display type in use is the options table's; it is what is saved at exit.
    settings.displayType = page.m_nDisplayType;
}

void Dashboard::Destroy(WindowHooks& hooks) {
    if (destroyed) return;
    destroyed = true;
    SaveSettings(store, settings, project.directory + project.projectFile);
    hooks.CloseAdapterLibrary();
    if (!project.projectFile.empty()) {
        std::error_code ec;
        std::filesystem::current_path(project.directory, ec);
        if (!ec) tables::SaveProject(prompt, project);
    }
    hooks.ReleaseDrawing();
    for (std::size_t i = 0; i < readers_.size(); ++i) {
        if (readers_[i].Running() && !readers_[i].Stop(readerStopGrace)) {
            prompt.Message(kReaderStopFailures[i], "Error");
        }
    }
}

void Dashboard::NextPage() {
    const int limit = page.m_bMultiDisplay == 1 ? (page.m_nPageCount & 7) : page.m_nPageCount;
    ++page.m_nCurrentPage;
    if (page.m_nCurrentPage >= limit) page.m_nCurrentPage = 0;
    {
        std::lock_guard lock(channels.mutex);
        channels.m_PosMode.fill(0);
        channels.m_PosFrame.fill(0);
        channels.m_PosX.fill(0);
        channels.m_PosY.fill(0);
        channels.m_bRedrawAll = 1;
    }
    view.RequestRepaint();
}

void Dashboard::SaveLabelsAndPages() {
    tables::SaveLabelsAndPages(prompt, project, tables);
}

}  // namespace pelor::app
