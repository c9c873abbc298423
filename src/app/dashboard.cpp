#include "app/dashboard.h"

#include <filesystem>

#include "core/format.h"
#include "decode/context_tables.h"
#include "decode/n2k_binary.h"
#include "decode/reader_pass.h"
#include "display/layout.h"
#include "tables/page_file.h"
#include "tables/project_file.h"
#include "tables/project_guard.h"
#include "tables/project_start.h"
#include "unit/switch_module.h"
#include "unit/unit_commands.h"

namespace pelor::app {

Dashboard::Dashboard(core::Prompt& p, core::SettingsStore& s, core::View& v, core::Clock& c)
    : prompt(p),
      store(s),
      view(v),
      clock(c),
      linkContext_{links::LinkSettings{},
                   channels,
                   view,
                   prompt,
                   links::ReaderSlots{ReaderFor(Reader::Serial), ReaderFor(Reader::Usb),
                                      ReaderFor(Reader::Tcp), ReaderFor(Reader::N2k)},
                   [this](links::TextLink link, std::string_view b) { TextPass(link, b); },
                   [this](links::FrameLink link, std::string_view b) { FramePass(link, b); },
                   [this] { ResetPositions(); },
                   &linkHold} {
    links_ = std::make_unique<links::LinkManager>(linkContext_);
    playback_ = std::make_unique<logs::Playback>(
        logs::PlaybackContext{channels, context_, view, prompt, clock, ReaderFor(Reader::Playback),
                              [this] { return links_->Connected(); },
                              [this](std::string_view s) { links_->SendToLink(s, false); }});
    capture_ = std::make_unique<logs::Capture>(prompt, view, clock, channels, playback_.get());
    capture_->SetReservedFiles([this] { return tables::ProjectFilePaths(project); });
    RebuildChannelContext();
}

Dashboard::~Dashboard() {
    // Readers write into this object: none may outlive it, whatever path ended the program.
    capture_.reset();
    playback_.reset();
    for (auto& reader : readers_) reader.Stop();
    links_.reset();
}

std::string Dashboard::Caption() const {
    std::lock_guard lock(channels.mutex);
    return channels.m_strTitlePrefix + channels.m_strLinkStatus;
}

bool Dashboard::Initialise(WindowHooks& hooks) {
    // Placeholders for the last transducer sentence of every channel; flash selection and
    // switch state start cleared.
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
    view.SetCaption(Caption());
    view.RequestRepaint();

    LoadSettings(store, settings);
    page.m_nDisplayScale = settings.displayScale;
    page.m_bTouchMode = settings.touchMode ? 1 : 0;

    const bool projectOpen = tables::OpenProjectAtStart(
        prompt, project, projectForThisRun.empty() ? settings.projectFilePath : projectForThisRun);
    projectAtStart = project;
    if (!projectOpen) return false;

    if (!project.themeFile.empty()) display.LoadThemeFile(tables::ThemeFilePath(project), prompt);
    hooks.PrepareDrawing();

    DeriveSettings(settings);
    {
        std::lock_guard lock(channels.mutex);
        channels.m_bRedrawAll = 1;
        channels.SystemTimeText.clear();
        channels.LastDSentence.clear();
        channels.LastSSentence.clear();
    }

    capture_->SetCaptureInterval(settings.captureIntervalSeconds);

    tables::LoadStartupTables(prompt, project, tables);
    TakeValuesFromOptions();
    if (!project.logFile.empty()) capture_->SetLogPath(project.directory + project.logFile);

    hooks.BuildMenusAndRegions();
    ApplyDisplayLayout();
    hooks.ApplyLayout();
    SyncLinkSettings();
    links_->ConnectAtStart();
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
    for (std::size_t p = 0; p < tables::kPageCount; ++p) {
        for (std::size_t l = 0; l < tables::kPositionCount; ++l) {
            labelModes[p][l] = tables::LabelMode(tables.pages, p, l);
            labelCells[p][l] = tables::LabelCell(tables.pages, p, l);
        }
    }
    savedModes_ = labelModes;
    savedCells_ = labelCells;
}

void Dashboard::InstallTables(tables::ProjectTables newTables, bool pagesReloaded,
                              WindowHooks& hooks) {
    {
        std::lock_guard lock(channels.mutex);
        tables = std::move(newTables);
        // Unsaved edits of the page configuration stay unless another page file was loaded.
        const auto modes = labelModes;
        const auto cells = labelCells;
        const auto savedModes = savedModes_;
        const auto savedCells = savedCells_;
        TakeValuesFromOptions();
        if (!pagesReloaded) {
            labelModes = modes;
            labelCells = cells;
            savedModes_ = savedModes;
            savedCells_ = savedCells;
        }
    }
    ApplyDisplayLayout();
    hooks.ApplyLayout();
}

void Dashboard::ApplyDisplayLayout() {
    {
        std::lock_guard lock(channels.mutex);
        display.ApplyLayout(channels, page.m_nDisplayType, page.m_nDisplayScale,
                            settings.showComStatus == 1);
    }
    RebuildChannelContext();
    view.RequestRepaint();
}

void Dashboard::RebuildChannelContext() {
    std::lock_guard lock(channels.mutex);
    decode::ChannelContext& c = context_;
    decode::AttachTables(c, tables, labelModes, labelCells);
    c.currentPage = page.m_nCurrentPage;
    c.gridX = &display.GridX();
    c.gridY = &display.GridY();
    for (int m = 0; m < display::kModeCodeCount; ++m) {
        c.modeHidden[static_cast<std::size_t>(m)] = display.Layout().modeUnavailable[m];
    }
    for (int k = 0; k < display::kCellCount; ++k) {
        c.cellMissing[static_cast<std::size_t>(k)] = display::CellMissing(display.Layout(), k);
    }
    c.frameCounts = display.StyleFrameCounts();
    for (std::size_t i = 0; i < c.frameOffsets.size(); ++i) {
        c.frameOffsets[i] = display.Styles()[i].frameOffset;
    }
    c.displayType = page.m_nDisplayType;
    c.showComStatus = settings.showComStatus == 1;
    // The switch module's own bank (high nibble of the Kantelo byte) and the NMEA 2000 source
    // whose system time the caption shows (low nibble; 0 ignores system time).
    c.switchBankInstance = tables.values.kanteloCountHigh;
    c.n2kTimeSource = tables.values.kanteloCountLow;
    c.view = &view;
    c.clock = &clock;
    c.parseScreenRecords = [this](decode::ChannelStore& s) {
        display.ParseScreenRecords(s.ReceiveText, s);
    };
    c.captureTick = [this](decode::ChannelStore& s) { capture_->Tick(s); };
    c.rawText = [this](std::string_view text) { capture_->WriteRawText(channels, text); };
}

void Dashboard::SyncLinkSettings() {
    links::LinkSettings& l = linkContext_.settings;
    l.connectionType = settings.connectionType;
    l.autoConnect = settings.autoConnect;
    l.comPortIndex = settings.comPort;
    l.serialPortName = settings.serialDevicePath;
    l.baudRate = settings.baudRate;
    l.serialBufferSize = settings.serialBufferSize;
    l.portPassThrough = settings.portPassThrough;
    l.ipAddress = settings.ipAddress;
    l.tcpPort = settings.tcpPort;
    l.tcpBufferSize = settings.tcpBufferSize;
    l.usbDeviceNumber = settings.usbDeviceNumber;
    l.usbBufferSize = settings.usbBufferSize;
    l.usbBaudRate = settings.usbBaudRate;
}

void Dashboard::TextPass(links::TextLink link, std::string_view bytes) {
    decode::ReaderPass(channels, context_, bytes, link);
}

void Dashboard::FramePass(links::FrameLink link, std::string_view bytes) {
    std::lock_guard lock(channels.mutex);
    // The frames are recorded as received, before the decoder removes their stuffing: every
    // batch on the network and USB links, at the capture interval on the adapter link.
    const auto raw = std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    if (link == links::FrameLink::Adapter) {
        capture_->FrameTick(channels, raw);
    } else if (capture_->Recording()) {
        capture_->WriteAdapterFrames(channels, raw);
    }
    frameWork_.assign(bytes.begin(), bytes.end());
    const decode::N2KBatch batch =
        decode::DecodeN2KBinary(channels, context_, frameWork_.data(), frameWork_.size());
    decode::ApplyN2KBatchStatus(channels, batch);
}

void Dashboard::ResetPositions() {
    {
        std::lock_guard lock(channels.mutex);
        display::ResetPositions(channels);
    }
    view.RequestRepaint();
}

std::string_view Dashboard::Banner() const {
    if (capture_->PlayingBack()) return "PLAYBACK";
    if (holdFlag != 0) return "HOLD";
    return {};
}

void Dashboard::ReportUnconfirmedSwitches() {
    if (switchReportOpen_) return;
    const std::vector<int> outputs =
        unit::ExpirePendingSwitches(channels, clock.MonotonicMs(), unit::kSwitchReportWaitMs, view);
    if (outputs.empty()) return;
    switchReportOpen_ = true;
    prompt.Message(unit::UnconfirmedSwitchText(outputs, unit::kSwitchReportWaitMs), "Error");
    switchReportOpen_ = false;
}

void Dashboard::KeepWebBitmap(display::RgbBuffer pixels) {
    webBitmap_ = std::move(pixels);
}

void Dashboard::WriteWebBitmap() {
    if (!webBitmap_) return;
    const display::RgbBuffer pixels = std::move(*webBitmap_);
    webBitmap_.reset();
    if (!project.webBitmapEnabled) return;
    // A failure switches web output off before its message is shown: the message runs its
    // own loop, which paints and runs Watch again.
    project.webBitmapEnabled = false;
    project.webBitmapEnabled =
        display::Display::WriteWebBitmap(project.webBitmapPath, pixels, prompt);
}

void Dashboard::Watch() {
    WriteWebBitmap();
    bool changed = false;
    if (links_->ReaderEnded()) links_->DropDeadLink();
    ReportUnconfirmedSwitches();
    const bool connected = links_->Connected();
    const bool playingBack = capture_->PlayingBack();
    // What the link or the log gave is not current once either has gone.
    if ((wasConnected_ && !connected) || (wasPlayingBack_ && !playingBack))
        changed |= stale_.MarkAllStale();
    wasConnected_ = connected;
    wasPlayingBack_ = playingBack;
    stale_.SetSuspended(playingBack);
    stale_.SetLimitMs(static_cast<std::int64_t>(settings.staleSeconds) * 1000);
    std::array<std::uint32_t, decode::kChannelCount> counts{};
    {
        std::lock_guard lock(channels.mutex);
        counts = channels.UpdateCount;
    }
    changed |= stale_.Sample(counts, clock.MonotonicMs());
    const std::string_view banner = Banner();
    if (banner != shownBanner_) {
        shownBanner_ = banner;
        changed = true;
    }
    if (!changed) return;
    {
        std::lock_guard lock(channels.mutex);
        channels.m_bRedrawAll = 0;
    }
    view.RequestRepaint();
}

void Dashboard::Destroy(WindowHooks& hooks) {
    if (destroyed) return;
    destroyed = true;
    WriteWebBitmap();  // the last paint's picture, if no Watch has written it yet
    capture_->Stop();
    // Without a usable project the saved path stays as it was, so the next start tries the
    // user's project again; a project refused at start-up is never remembered.
    std::string projectPath = project.directory + project.projectFile;
    if (project.projectFile.empty()) projectPath = settings.projectFilePath.value_or("");
    SaveSettings(store, settings, projectPath);
    hooks.CloseAdapterLibrary();
    if (!project.projectFile.empty() && tables::ProjectChanged(project, projectAtStart)) {
        std::error_code ec;
        std::filesystem::current_path(project.directory, ec);
        if (!ec) tables::SaveProject(prompt, tables::WithoutPlaceholders(project, projectAtStart));
    }
    hooks.ReleaseDrawing();
    for (std::size_t i = 0; i < readers_.size(); ++i) {
        if (readers_[i].Running() && !readers_[i].Stop(readerStopGrace)) {
            prompt.Message(kReaderStopFailures[i], "Error");
        }
    }
    links_->CloseAll();
}

bool Dashboard::NextPage() {
    page.m_nCurrentPage =
        unit::NextPageNumber(page.m_nCurrentPage, page.m_nPageCount, page.m_bMultiDisplay == 1);
    {
        std::lock_guard lock(channels.mutex);
        context_.currentPage = page.m_nCurrentPage;
    }
    ResetPositions();
    // A paused playback places its values on the new page at once.
    if (playback_->Running()) playback_->Refresh();
    if (!links_->Connected()) return true;

    view.SetButtonPicture(kIdPage, unit::kPagePressedPicture);
    const int result = links_->SendToLink(unit::kNextPageCommand, false);
    view.SetButtonPicture(kIdPage, unit::kPagePicture);
    if (result != 0) prompt.Message(unit::WriteFailureText(result), "Error");
    {
        std::lock_guard lock(channels.mutex);
        channels.m_strLinkStatus =
            unit::PageStatusText(page.m_nCurrentPage, page.m_bMultiDisplay == 1);
    }
    view.SetCaption(Caption());
    ResetPositions();
    return result == 0;
}

void Dashboard::ToggleHold() {
    if (!links_->Connected()) return;
    holdFlag = holdFlag == 0 ? 1 : 0;
    view.SetButtonPicture(kIdStop, holdFlag == 1 ? unit::kStopPressedPicture : unit::kStopPicture);
    const int result = links_->SendToLink(unit::kHoldCommand, false);
    if (result != 0) prompt.Message(unit::WriteFailureText(result), "Error");
}

void Dashboard::ToggleConnection() {
    SyncLinkSettings();
    links_->ToggleConnection();
}

void Dashboard::Record() {
    capture_->OnRecord();
}

void Dashboard::ChooseLogFile() {
    capture_->ChooseLogFile();
}

void Dashboard::SaveLabelsAndPages() {
    for (std::size_t p = 0; p < tables::kPageCount; ++p) {
        for (std::size_t l = 0; l < tables::kPositionCount; ++l) {
            tables::LabelMode(tables.pages, p, l) = labelModes[p][l];
            tables::LabelCell(tables.pages, p, l) = labelCells[p][l];
        }
    }
    if (tables::SaveLabelsAndPages(prompt, project, tables)) {
        savedModes_ = labelModes;
        savedCells_ = labelCells;
    }
}

bool Dashboard::PagesUnsaved() const {
    return labelModes != savedModes_ || labelCells != savedCells_;
}

bool Dashboard::WritePages() {
    for (std::size_t p = 0; p < tables::kPageCount; ++p) {
        for (std::size_t l = 0; l < tables::kPositionCount; ++l) {
            tables::LabelMode(tables.pages, p, l) = labelModes[p][l];
            tables::LabelCell(tables.pages, p, l) = labelCells[p][l];
        }
    }
    if (!tables::WritePageFile(prompt, project.directory, project.pageFile, tables.pages,
                               tables.values.displayType, tables.values.dualDisplay)) {
        return false;
    }
    savedModes_ = labelModes;
    savedCells_ = labelCells;
    return true;
}

bool Dashboard::KeepPagesBeforeQuit(bool canStay) {
    if (!PagesUnsaved()) return true;
    const auto answer =
        prompt.Message("Save Page Definations?", "Status",
                       canStay ? core::MessageButtons::YesNoCancel : core::MessageButtons::YesNo);
    if (answer == core::Answer::Cancel) return false;
    if (answer == core::Answer::Yes) return WritePages() || !canStay;
    // No: the changes are given up; the question is not asked again on the way out.
    savedModes_ = labelModes;
    savedCells_ = labelCells;
    return true;
}

}  // namespace pelor::app
