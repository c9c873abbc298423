#include "app/settings.h"

#include <gtest/gtest.h>

#include "prefs/connection_page.h"
#include "links/link_manager.h"

#include <string>
#include <vector>

namespace {

using pelor::app::DeriveSettings;
using pelor::app::LoadSettings;
using pelor::app::SaveSettings;
using pelor::app::Settings;
using pelor::core::MemorySettingsStore;

std::uint32_t Dword(const MemorySettingsStore& store, const std::string& name) {
    return std::get<std::uint32_t>(store.values.at(name));
}

TEST(Settings, FirstRunUsesPresetsAndWritesAllFifteenValuesInOrderThenTheStaleTime) {
    MemorySettingsStore store;
    Settings s;
    LoadSettings(store, s);
    DeriveSettings(s);
    EXPECT_EQ(s.baudIndex, 4);
    EXPECT_EQ(s.baudRate, 38400);
    EXPECT_EQ(s.comPort, 1);
    EXPECT_EQ(s.captureIntervalSeconds, 1);
    EXPECT_EQ(s.displayScale, 100);
    EXPECT_EQ(s.tcpPort, 10001);
    EXPECT_EQ(s.tcpBufferSize, 500);
    EXPECT_EQ(s.serialBufferSize, 700);
    EXPECT_EQ(s.usbBufferSize, 600);
    EXPECT_EQ(s.usbBaudIndex, 5);
    EXPECT_EQ(s.usbBaudRate, 57800);
    EXPECT_EQ(s.ipAddress, "192.168.0.100");
    EXPECT_FALSE(s.projectFilePath.has_value());
    EXPECT_FALSE(s.autoConnect);
    EXPECT_FALSE(s.touchMode);

    SaveSettings(store, s, "/boat/project/Demo.cdp");
    const std::vector<std::string> order = {
        "BaudRate",         "ComPort",          "CaptureInterval",  "DisplayType",
        "DisplayScale",     "SerialBufferSize", "TCPPort",          "ConnectionType",
        "TCPBufferSize",    "USBDeviceNumber",  "USBBufferSize",    "USBBaudRate",
        "ShowCOMStatus",    "IPAddress",        "ProjectFilePath",  "GaugeStaleSeconds",
        "SerialDevicePath", "DisplayPalette",   "DisplayBrightness"};
    EXPECT_EQ(store.writeOrder, order);
    EXPECT_EQ(std::get<std::string>(store.values.at("ProjectFilePath")), "/boat/project/Demo.cdp");
    EXPECT_EQ(Dword(store, "USBBaudRate"), 5u);
    EXPECT_EQ(Dword(store, "GaugeStaleSeconds"), 10u);
    EXPECT_EQ(Dword(store, "DisplayPalette"), 0u);  // day
    EXPECT_EQ(Dword(store, "DisplayBrightness"), 10u);
    EXPECT_EQ(std::get<std::string>(store.values.at("SerialDevicePath")), "");
}

// A device path set by the user survives a restart; the COM number is kept beside it.
TEST(Settings, SerialDevicePathIsKeptBesideTheComNumber) {
    MemorySettingsStore store;
    store.values["ComPort"] = std::uint32_t{1};
    store.values["SerialDevicePath"] = std::string("/dev/serial/by-id/usb-FTDI_FT232R-if00-port0");
    Settings s;
    LoadSettings(store, s);
    EXPECT_EQ(s.serialDevicePath, "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0");
    EXPECT_EQ(s.comPort, 1);
    MemorySettingsStore saved;
    SaveSettings(saved, s, "/boat/Demo.cdp");
    EXPECT_EQ(std::get<std::string>(saved.values.at("SerialDevicePath")),
              "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0");
    EXPECT_EQ(Dword(saved, "ComPort"), 1u);
}

TEST(Settings, StoredValuesAreCorrectedAndSavedBackAsTheyShould) {
    struct Case {
        const char* name;
        std::uint32_t stored;
        const char* legend;
        std::uint32_t savedBack;
    };
    const Case cases[] = {
        {"DisplayScale", 0, "scale 0 becomes 100", 100},
        {"DisplayScale", 0xFFFFFFF6u, "negative scale becomes 100", 100},
        {"DisplayScale", 150, "scale 150 becomes 100", 100},
        {"DisplayScale", 55, "scale 55 is kept", 55},
        {"ShowCOMStatus", 0x81, "status on + touch mode", 0x81},
        {"ConnectionType", 0x82, "USB text + auto-connect", 0x82},
        {"CaptureInterval", 9, "index 9 kept (1 second used)", 9},
        {"USBBaudRate", 13, "index 13 kept (rate of index 5)", 13},
        {"BaudRate", 0xFFFFFFFFu, "negative baud index becomes 0", 0},
        {"USBBaudRate", 0xFFFFFFFFu, "negative USB baud index becomes 2", 2},
        {"GaugeStaleSeconds", 0, "stale time 0 (never by time) is kept", 0},
        {"GaugeStaleSeconds", 30, "stale time 30 is kept", 30},
        {"GaugeStaleSeconds", 0xFFFFFFFFu, "negative stale time becomes 10", 10},
        {"GaugeStaleSeconds", 100000, "stale time past an hour becomes 10", 10},
        {"DisplayPalette", 2, "night is kept", 2},
        {"DisplayPalette", 3, "an unknown palette becomes day", 0},
        {"DisplayPalette", 0xFFFFFFFFu, "a negative palette becomes day", 0},
        {"DisplayBrightness", 1, "the dimmest step is kept", 1},
        {"DisplayBrightness", 0, "brightness 0 (a black window) becomes full", 10},
        {"DisplayBrightness", 11, "brightness past the steps becomes full", 10},
    };
    for (const auto& c : cases) {
        MemorySettingsStore store;
        store.values[c.name] = c.stored;
        Settings s;
        LoadSettings(store, s);
        DeriveSettings(s);
        SaveSettings(store, s, "");
        EXPECT_EQ(Dword(store, c.name), c.savedBack) << c.legend;
    }
}

TEST(Settings, DerivedValuesFollowTheTables) {
    MemorySettingsStore store;
    store.values["ShowCOMStatus"] = 0x81u;
    store.values["ConnectionType"] = 0x82u;
    store.values["CaptureInterval"] = 9u;
    store.values["USBBaudRate"] = 13u;
    store.values["BaudRate"] = 7u;
    store.values["IPAddress"] = std::string("127.0.0.1");
    Settings s;
    LoadSettings(store, s);
    DeriveSettings(s);
    EXPECT_EQ(s.showComStatus, 1);
    EXPECT_TRUE(s.touchMode);
    EXPECT_EQ(s.connectionType, 2);
    EXPECT_TRUE(s.autoConnect);
    EXPECT_EQ(s.captureIntervalSeconds, 1);
    EXPECT_EQ(s.usbBaudRate, 57800);
    EXPECT_EQ(s.baudRate, 210400);
    EXPECT_EQ(s.ipAddress, "127.0.0.1");

    for (std::uint32_t index = 0; index <= 8; ++index) {
        store.values["CaptureInterval"] = index;
        LoadSettings(store, s);
        DeriveSettings(s);
        EXPECT_EQ(s.captureIntervalSeconds, pelor::app::kCaptureIntervalSeconds[index]);
    }
}

// The USB rate field holds 57600 until the rate is looked up from the index; what a link opens
// at is the looked-up rate (57800 for the default index 5), the same rate a link set up from
// the links' own defaults uses, and the CONNECT page starts from the same values.
TEST(Settings, LinksPageAndSettingsStartFromTheSameDefaults) {
    Settings s;
    EXPECT_EQ(s.usbBaudRate, 57600);
    MemorySettingsStore store;
    LoadSettings(store, s);
    EXPECT_EQ(s.usbBaudRate, 57600) << "nothing stored: still the preset";
    DeriveSettings(s);
    EXPECT_EQ(s.usbBaudRate, 57800);

    const pelor::links::LinkSettings link;
    const pelor::prefs::ConnectionPage page;
    EXPECT_EQ(link.ipAddress, s.ipAddress);
    EXPECT_EQ(page.ipAddress, s.ipAddress);
    // Each value as the settings, a link's own defaults and a fresh page hold it (-1: not held).
    const struct {
        const char* name;
        int settings;
        int link;
        int page;
    } kValues[] = {
        {"COM port number", s.comPort + 1, link.comPortIndex + 1, page.comPortNumber},
        {"baud index", s.baudIndex, -1, page.baudIndex},
        {"baud rate", s.baudRate, link.baudRate, -1},
        {"serial buffer", s.serialBufferSize, link.serialBufferSize, page.serialBufferSize},
        {"TCP port", s.tcpPort, link.tcpPort, page.tcpPort},
        {"TCP buffer", s.tcpBufferSize, link.tcpBufferSize, page.tcpBufferSize},
        {"USB device", s.usbDeviceNumber, link.usbDeviceNumber, page.usbDeviceNumber},
        {"USB buffer", s.usbBufferSize, link.usbBufferSize, page.usbBufferSize},
        {"USB baud index", s.usbBaudIndex, -1, page.usbBaudIndex},
        {"USB baud rate", s.usbBaudRate, link.usbBaudRate, -1},
    };
    for (const auto& v : kValues) {
        if (v.link >= 0) {
            EXPECT_EQ(v.link, v.settings) << v.name;
        }
        if (v.page >= 0) {
            EXPECT_EQ(v.page, v.settings) << v.name;
        }
    }
}

TEST(Settings, AKeyThatCannotBeOpenedKeepsPresetsAndSavesNothing) {
    MemorySettingsStore store;
    store.values["TCPPort"] = 2000u;
    store.failOpen = true;
    Settings s;
    LoadSettings(store, s);
    EXPECT_EQ(s.tcpPort, 10001);
    SaveSettings(store, s, "/x/y.cdp");
    EXPECT_TRUE(store.writeOrder.empty());
}

}  // namespace
