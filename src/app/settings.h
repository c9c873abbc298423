#pragma once
// The user's communication and display choices, kept between runs in the per-user settings
// store: read once while the main window starts, written once when it closes.
#include <cstdint>
#include <optional>
#include <string>

#include "core/settings_store.h"
#include "links/connection_kind.h"
#include "links/discovery_reply.h"

namespace pelor::app {

// The discovery target of this run, set once from the command line before the window starts.
void SetDiscoveryTargetInUse(const links::DiscoveryTarget& target);
links::DiscoveryTarget DiscoveryTargetInUse();

struct Settings {
    // Persisted as read (the indices) ...
    std::int32_t baudIndex = links::kDefaultBaudIndex;
    // 0-based: the port opened is number comPort + 1.
    std::int32_t comPort = links::kDefaultComPortIndex;
    std::int32_t captureIntervalIndex = 1;
    std::int32_t displayType = 0;
    std::int32_t displayScale = 100;  // percent, 1..100
    std::int32_t showComStatus = 0;   // bits 0..6; 1 shows the status window
    bool touchMode = false;           // bit 7 of "ShowCOMStatus"
    std::int32_t tcpPort = links::kDefaultTcpPort;
    std::int32_t connectionType = 0;  // bits 0..6 of "ConnectionType"
    bool autoConnect = false;         // bit 7 of "ConnectionType"
    std::int32_t tcpBufferSize = links::kDefaultTcpBufferSize;
    std::int32_t serialBufferSize = links::kDefaultSerialBufferSize;
    std::int32_t usbDeviceNumber = links::kDefaultUsbDeviceNumber;
    std::int32_t usbBufferSize = links::kDefaultUsbBufferSize;
    std::int32_t usbBaudIndex = links::kDefaultUsbBaudIndex;
    std::string ipAddress = std::string(links::kDefaultIpAddress);
    std::optional<std::string> projectFilePath;  // nothing when the value is missing
    // After the fifteen values above: seconds without a new value after which a gauge is
    // drawn as stale (0: only a lost or closed link makes values stale).
    std::int32_t staleSeconds = 10;
    // After the stale time: a serial device path (e.g. a /dev/serial/by-id name) opened in
    // place of the COM number when set, so that another converter plugged in cannot change
    // which device the link opens. The COM number stays for files and peers that use it.
    std::string serialDevicePath;
    // Then the window's look: palette (0 day, 1 dusk, 2 night) and brightness 1..10.
    std::int32_t palette = 0;
    std::int32_t brightness = 10;

    // ... and the values derived from them, which the links and the capture writer use.
    std::int32_t baudRate = links::kDefaultBaudRate;
    std::int32_t captureIntervalSeconds = 1;
    // The USB rate field before the stored values are read: not the rate of the default index.
    // DeriveSettings looks the rate up before any link uses it.
    std::int32_t usbBaudRate = links::kUsbRateBeforeSettings;

    // Not kept between runs: the unit's port pass-through after a serial connect (the CONNECT
    // page's "Port Pass Through"), off at every start.
    bool portPassThrough = false;
    // Not kept between runs: where the gateway scan sends its request (the command line's
    // --discovery-target, or the default broadcast).
    links::DiscoveryTarget discoveryTarget = DiscoveryTargetInUse();
};

inline constexpr std::int32_t kCaptureIntervalSeconds[9] = {0, 1, 2, 5, 10, 30, 60, 300, 600};
inline constexpr std::size_t kSettingTextLimit = 259;
inline constexpr const char* kStaleSecondsName = "GaugeStaleSeconds";
inline constexpr const char* kSerialDevicePathName = "SerialDevicePath";
inline constexpr const char* kPaletteName = "DisplayPalette";
inline constexpr const char* kBrightnessName = "DisplayBrightness";
inline constexpr std::int32_t kStaleSecondsLimit = 3600;  // texts are kept in 260-byte buffers

// Fills `settings` from the store in the fixed order, with the corrections for out-of-range
// scale and the split of the touch-mode and auto-connect bits. Missing values keep presets.
void LoadSettings(core::SettingsStore& store, Settings& settings);

// Computes the derived values (rates, interval seconds) and corrects negative indices; runs
// after the tables are loaded.
void DeriveSettings(Settings& settings);

// Writes all fifteen values in the fixed order, then the gauge stale time, the
// palette and the brightness. `projectFilePath` is the
// project directory followed by the project file name.
void SaveSettings(core::SettingsStore& store, const Settings& settings,
                  const std::string& projectFilePath);

}  // namespace pelor::app
