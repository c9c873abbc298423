#pragma once
// The dashboard's run-time state and the logic of its start-up, shut-down and commands, with
// no window system: the main window owns one Dashboard, implements the seams for it and runs
// the window-only steps through WindowHooks.
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings.h"
#include "app/stale_watch.h"
#include "core/clock.h"
#include "core/link_hold.h"
#include "core/prompt.h"
#include "core/reader_thread.h"
#include "core/settings_store.h"
#include "core/view.h"
#include "decode/channel_context.h"
#include "decode/channel_store.h"
#include "display/display.h"
#include "links/link_manager.h"
#include "logs/capture.h"
#include "logs/playback.h"
#include "tables/project_file.h"
#include "tables/project_tables.h"
#include "unit/flash_programmer.h"

namespace pelor::app {

// Control ids of the main window.
inline constexpr int kIdOk = 1;
inline constexpr int kIdPage = 1002;
inline constexpr int kIdFlash = 1003;
inline constexpr int kIdRecord = 1004;
inline constexpr int kIdStop = 1005;
inline constexpr int kIdConnect = 1006;
inline constexpr int kIdSave = 1007;
inline constexpr int kIdHiddenText = 1008;
inline constexpr int kIdDisplay = 1024;
inline constexpr int kIdClear = 1181;
inline constexpr int kIdSwitch0 = 1534;  // switch buttons 1534..1545
inline constexpr int kIdStatusWindow = 1569;
inline constexpr int kSwitchButtonCount = 12;

struct PictureButtonRow {
    int id;
    const char* caption;  // also the name of its picture pair: caption + "U" / caption + "D"
};

// The 21 picture buttons, in the order they are attached.
inline constexpr std::array<PictureButtonRow, 21> kPictureButtons = {{
    {kIdRecord, "RECORD"},
    {kIdStop, "STOP"},
    {kIdSave, "SAVE"},
    {kIdConnect, "CONNECT"},
    {kIdFlash, "FLASH"},
    {kIdPage, "PAGE"},
    {kIdDisplay, "DISPLAY"},
    {kIdClear, "CLEAR"},
    {kIdOk, "OK"},
    {kIdSwitch0 + 0, "KANTELO0"},
    {kIdSwitch0 + 1, "KANTELO1"},
    {kIdSwitch0 + 2, "KANTELO2"},
    {kIdSwitch0 + 3, "KANTELO3"},
    {kIdSwitch0 + 4, "KANTELO4"},
    {kIdSwitch0 + 5, "KANTELO5"},
    {kIdSwitch0 + 6, "KANTELO6"},
    {kIdSwitch0 + 7, "KANTELO7"},
    {kIdSwitch0 + 8, "KANTELO8"},
    {kIdSwitch0 + 9, "KANTELO9"},
    {kIdSwitch0 + 10, "KANTELO10"},
    {kIdSwitch0 + 11, "KANTELO11"},
}};

// The steps of start-up and shut-down that belong to the window system.
class WindowHooks {
public:
    virtual ~WindowHooks() = default;
    virtual void PrepareDrawing() {}        // theme, fonts, pictures, drawing surfaces
    virtual void BuildMenusAndRegions() {}  // grid-cell regions, touch regions, label menus
    virtual void ApplyLayout() {}           // window size, controls, canvas size
    virtual void CloseAdapterLibrary() {}
    virtual void ReleaseDrawing() {}
};

// The readers, in the order they are stopped at exit.
enum class Reader { Serial, Playback, Usb, Tcp, N2k };
inline constexpr std::array<const char*, 5> kReaderStopFailures = {
    "Unable terminate sio read thread", "Unable terminate log file read thread",
    "Unable terminate USB read thread", "Unable terminate TCP read thread",
    "Unable terminate N2K read thread"};

struct PageState {
    std::int32_t m_nCurrentPage = 0;
    std::int32_t m_nPageCount = 0;
    std::int32_t m_nDisplayType = 0;
    std::int32_t m_nDisplayScale = 100;
    std::int32_t m_bMultiDisplay = 0;
    std::int32_t m_nSelectedCell = 0;
    std::uint8_t m_bShowGrid = 0;
    std::uint8_t m_bTouchMode = 0;
    std::uint8_t m_bFullScreen = 0;
};

class Dashboard {
public:
    Dashboard(core::Prompt& prompt, core::SettingsStore& store, core::View& view,
              core::Clock& clock);
    Dashboard(const Dashboard&) = delete;
    Dashboard& operator=(const Dashboard&) = delete;
    ~Dashboard();

    // Start-up, after the window and its controls exist. False: the program must end (the
    // project directory could not be found, or the user declined to choose a project).
    bool Initialise(WindowHooks& hooks);

    // Shut-down: settings saved, project saved, drawing released, every reader stopped.
    void Destroy(WindowHooks& hooks);

    // The window title: prefix followed by the link status.
    std::string Caption() const;

    // Commands of the main window.
    bool NextPage();            // PAGE; false when the command could not be written
    void ToggleHold();          // STOP
    void ToggleConnection();    // CONNECT
    void Record();              // RECORD: record, stop, or play back a read-only log
    void ChooseLogFile();       // RECORD double click
    void SaveLabelsAndPages();  // SAVE
    // Before the program ends: when the page configuration (CLEAR, the label menus) differs
    // from what the page file held at its last load or save, asks "Save Page Definations?";
    // Yes writes the page file. `canStay` offers Cancel. False: the program stays (Cancel, or
    // the page file could not be written and the user may try again).
    bool KeepPagesBeforeQuit(bool canStay);
    bool PagesUnsaved() const;
    // FLASH, once the file list gave a path and an address text ("FFFF": read back).
    unit::FlashOutcome Flash(const std::string& path, std::string_view addressText,
                             unit::FlashProgress* progress);
    // The project's fifteen table file paths in the flash file list's order.
    std::array<std::string, 15> FlashTablePaths() const;

    // After the preferences sheet: takes `newTables` (with the store's mutex held, so no reader
    // sees them half replaced), the values of the options, the page configuration when the page
    // file was reloaded, and lays the display out again.
    void InstallTables(tables::ProjectTables newTables, bool pagesReloaded, WindowHooks& hooks);

    // Clears the live positions and asks for the bare background (purge, page change).
    void ResetPositions();

    // Run a few times a second by the window: writes the web bitmap of the last paint, notices
    // a link whose reader has ended and closes it, and turns gauges stale whose channels went
    // quiet (or every gauge once the link or the playback is gone); asks for a repaint when
    // what is shown must change. Switch outputs that no report confirmed in time stop showing
    // pending, with a message.
    void Watch();
    // The gauge area as a paint just drew it (pixels at full gauge-area size), for the web
    // bitmap. The paint only hands the picture over: the file is written by the next Watch
    // (or at shut-down), outside the paint and without the store's mutex, so no reader waits
    // on the disk. A newer picture replaces one not yet written. User interface thread.
    void KeepWebBitmap(display::RgbBuffer pixels);
    // What the paint shows besides the channels: the stale gauges and the banner of a frozen
    // picture ("PLAYBACK", "HOLD"; empty for live data). User interface thread.
    std::uint16_t StaleMask() const { return stale_.Mask(); }
    std::string_view Banner() const;

    // The decoders' view of the tables, page configuration, layout and seams. Rebuilt after
    // tables or layout change, with the store's mutex held, so a reader never sees half of it.
    void RebuildChannelContext();
    const decode::ChannelContext& Context() const { return context_; }

    // The reader passes the links call: text through the shared pass, binary frames through
    // the NMEA 2000 decoder.
    void TextPass(links::TextLink link, std::string_view bytes);
    void FramePass(links::FrameLink link, std::string_view bytes);

    links::LinkManager& Links() { return *links_; }
    // What the links are opened with; the settings' fields are copied in at every Connect,
    // the others (a device path in place of the COM number) stay as set.
    links::LinkSettings& LinkSettingsInUse() { return linkContext_.settings; }
    const links::LinkSettings& LinkSettingsInUse() const { return linkContext_.settings; }
    logs::Capture& Capture() { return *capture_; }
    logs::Playback& Playback() { return *playback_; }

    core::ReaderThread& ReaderFor(Reader r) { return readers_[static_cast<std::size_t>(r)]; }

    core::Prompt& prompt;
    core::SettingsStore& store;
    core::View& view;
    core::Clock& clock;

    Settings settings;
    // A project named for this run only (the command line): opened in place of the saved
    // "ProjectFilePath", and saved as it only once it has opened.
    std::string projectForThisRun;
    tables::Project project;
    // The project as start-up read it: at exit the file is written only when it changed.
    tables::Project projectAtStart;
    tables::ProjectTables tables;
    decode::ChannelStore channels;
    PageState page;

    std::array<std::uint8_t, 17> flashSelection{};
    // Held while flash programming has the link: the readers skip their passes.
    core::LinkHold linkHold;
    std::uint8_t holdFlag = 0;
    bool destroyed = false;
    display::Display display;
    // m_LabelMode / m_LabelCell: copies of the page table's first two blocks, written back
    // before the page file is saved.
    decode::PageBytes labelModes{};
    decode::PageBytes labelCells{};
    // How long shut-down waits for each reader before reporting it.
    std::chrono::milliseconds readerStopGrace{5000};

private:
    void TakeValuesFromOptions();
    bool WritePages();
    void ApplyDisplayLayout();
    void SyncLinkSettings();

    void ReportUnconfirmedSwitches();
    void WriteWebBitmap();

    bool switchReportOpen_ = false;  // the message runs its own loop, which runs Watch
    std::optional<display::RgbBuffer> webBitmap_;  // the last paint's picture, not yet written
    // The page configuration as the page file holds it (last load or save).
    decode::PageBytes savedModes_{};
    decode::PageBytes savedCells_{};
    StaleWatch stale_;
    bool wasConnected_ = false;
    bool wasPlayingBack_ = false;
    std::string_view shownBanner_;
    std::array<core::ReaderThread, 5> readers_;
    decode::ChannelContext context_;
    std::vector<std::uint8_t> frameWork_;  // binary frames are unstuffed in place here
    links::LinkContext linkContext_;
    std::unique_ptr<links::LinkManager> links_;
    // Destroyed before the readers: playback runs in the playback reader slot.
    std::unique_ptr<logs::Playback> playback_;
    std::unique_ptr<logs::Capture> capture_;
};

}  // namespace pelor::app
