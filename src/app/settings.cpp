#include "app/settings.h"

namespace pelor::app {

namespace {

void ReadInt(core::SettingsStore& store, const char* name, std::int32_t& field) {
    if (auto v = store.ReadDword(name)) field = static_cast<std::int32_t>(*v);
}

std::string CutToLimit(std::string text) {
    if (text.size() > kSettingTextLimit) text.resize(kSettingTextLimit);
    return text;
}

}  // namespace

void LoadSettings(core::SettingsStore& store, Settings& s) {
    s = Settings{};
    if (!store.OpenKey()) return;
    ReadInt(store, "BaudRate", s.baudIndex);
    ReadInt(store, "ComPort", s.comPort);
    ReadInt(store, "CaptureInterval", s.captureIntervalIndex);
    ReadInt(store, "DisplayType", s.displayType);
    ReadInt(store, "DisplayScale", s.displayScale);
    ReadInt(store, "ShowCOMStatus", s.showComStatus);
    ReadInt(store, "TCPPort", s.tcpPort);
    ReadInt(store, "ConnectionType", s.connectionType);
    ReadInt(store, "TCPBufferSize", s.tcpBufferSize);
    ReadInt(store, "SerialBufferSize", s.serialBufferSize);
    ReadInt(store, "USBDeviceNumber", s.usbDeviceNumber);
    ReadInt(store, "USBBufferSize", s.usbBufferSize);
    ReadInt(store, "USBBaudRate", s.usbBaudIndex);

    if (s.displayScale <= 0 || s.displayScale > 100) s.displayScale = 100;
    s.touchMode = (s.showComStatus & 0x80) != 0;
    s.showComStatus &= 0x7F;
    s.autoConnect = (s.connectionType & 0x80) != 0;
    s.connectionType &= 0x7F;

    if (auto ip = store.ReadString("IPAddress")) s.ipAddress = CutToLimit(*ip);
    if (auto path = store.ReadString("ProjectFilePath")) s.projectFilePath = CutToLimit(*path);
    ReadInt(store, kStaleSecondsName, s.staleSeconds);
    if (s.staleSeconds < 0 || s.staleSeconds > kStaleSecondsLimit) s.staleSeconds = 10;
    if (auto device = store.ReadString(kSerialDevicePathName)) {
        s.serialDevicePath = CutToLimit(*device);
    }
    ReadInt(store, kPaletteName, s.palette);
    if (s.palette < 0 || s.palette > 2) s.palette = 0;
    ReadInt(store, kBrightnessName, s.brightness);
    if (s.brightness < 1 || s.brightness > 10) s.brightness = 10;
    store.CloseKey();
}

void DeriveSettings(Settings& s) {
    if (s.captureIntervalIndex < 0) s.captureIntervalIndex = 0;
    s.captureIntervalSeconds =
        s.captureIntervalIndex <= 8 ? kCaptureIntervalSeconds[s.captureIntervalIndex] : 1;
    if (s.baudIndex < 0) s.baudIndex = 0;
    // An index above the table keeps the rate in force (the preset 38400 at start).
    if (s.baudIndex <= 7)
        s.baudRate = links::kSerialBaudRates[static_cast<std::size_t>(s.baudIndex)];
    if (s.usbBaudIndex < 0) s.usbBaudIndex = 2;
    s.usbBaudRate = links::kUsbBaudRates[static_cast<std::size_t>(s.usbBaudIndex & 7)];
}

void SaveSettings(core::SettingsStore& store, const Settings& s,
                  const std::string& projectFilePath) {
    const auto showStatus =
        static_cast<std::uint32_t>((s.showComStatus & 0x7F) | (s.touchMode ? 0x80 : 0));
    const auto connection =
        static_cast<std::uint32_t>((s.connectionType & 0x7F) | (s.autoConnect ? 0x80 : 0));
    if (!store.OpenKey()) return;
    auto dword = [&](const char* name, std::int32_t v) {
        store.WriteDword(name, static_cast<std::uint32_t>(v));
    };
    dword("BaudRate", s.baudIndex);
    dword("ComPort", s.comPort);
    dword("CaptureInterval", s.captureIntervalIndex);
    dword("DisplayType", s.displayType);
    dword("DisplayScale", s.displayScale);
    dword("SerialBufferSize", s.serialBufferSize);
    dword("TCPPort", s.tcpPort);
    store.WriteDword("ConnectionType", connection);
    dword("TCPBufferSize", s.tcpBufferSize);
    dword("USBDeviceNumber", s.usbDeviceNumber);
    dword("USBBufferSize", s.usbBufferSize);
    dword("USBBaudRate", s.usbBaudIndex);
    store.WriteDword("ShowCOMStatus", showStatus);
    store.WriteString("IPAddress", CutToLimit(s.ipAddress));
    store.WriteString("ProjectFilePath", CutToLimit(projectFilePath));
    dword(kStaleSecondsName, s.staleSeconds);
    store.WriteString(kSerialDevicePathName, CutToLimit(s.serialDevicePath));
    dword(kPaletteName, s.palette);
    dword(kBrightnessName, s.brightness);
    store.CloseKey();
}

}  // namespace pelor::app
