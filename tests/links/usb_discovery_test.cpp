// "Discover USB Devices" through the fake USB library: its lines and every failure message.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "core/prompt.h"
#include "fake_ftdi_control.h"
#include "links/usb_discovery.h"

namespace pelor::links {
namespace {

using testing::FakeFtdi;

void SetDevices(const char* descriptions) {
    void* lib = dlopen(PELOR_FAKE_FTD2XX, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr);
    reinterpret_cast<void (*)(const char*)>(dlsym(lib, "FakeFtdiSetDevices"))(descriptions);
    dlclose(lib);
}

TEST(UsbDiscovery, ListsEveryDeviceWithItsIndexAndDescription) {
    FakeFtdi fake{PELOR_FAKE_FTD2XX};
    SetDevices("FT232R USB UART\nUS232R");
    core::ScriptedPrompt prompt;
    EXPECT_EQ(DiscoverUsbDevices(prompt, PELOR_FAKE_FTD2XX),
              (std::vector<std::string>{"00  | FT232R USB UART", "01  | US232R"}));
    EXPECT_TRUE(prompt.shown.empty());

    SetDevices("");
    EXPECT_TRUE(DiscoverUsbDevices(prompt, PELOR_FAKE_FTD2XX).empty());
    EXPECT_TRUE(prompt.shown.empty());

    EXPECT_EQ(UsbDeviceNumberOfLine("01  | US232R"), 1);
    EXPECT_EQ(UsbDeviceNumberOfLine("12  | x"), 12);
    EXPECT_EQ(UsbDeviceNumberOfLine("x"), -1);
}

TEST(UsbDiscovery, SaysWhatIsMissingOrFailing) {
    {
        core::ScriptedPrompt prompt;
        EXPECT_TRUE(DiscoverUsbDevices(prompt, PELOR_FAKE_FTD2XX_NOLIST).empty());
        EXPECT_EQ(prompt.MessageTexts(),
                  (std::vector<std::string>{"Error: Can't Find FT_ListDevices",
                                            "FT_ListDevices is not valid!"}));
        EXPECT_EQ(prompt.shown.back().caption, "Error");
    }
    {
        core::ScriptedPrompt prompt;
        EXPECT_TRUE(DiscoverUsbDevices(prompt, "/nonexistent/libftd2xx.so").empty());
        EXPECT_EQ(prompt.MessageTexts(),
                  (std::vector<std::string>{"Error: Can't Load libftd2xx.so",
                                            "FT_ListDevices is not valid!"}));
    }
    {
        FakeFtdi fake{PELOR_FAKE_FTD2XX};
        SetDevices("A\nB");
        fake.FailCall("FT_ListDevices");
        core::ScriptedPrompt prompt;
        EXPECT_TRUE(DiscoverUsbDevices(prompt, PELOR_FAKE_FTD2XX).empty());
        EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"FT_ListDevices failed"});
    }
    {
        // Status 4 counts as success.
        FakeFtdi fake{PELOR_FAKE_FTD2XX};
        SetDevices("A");
        fake.SetSuccessStatus(4);
        core::ScriptedPrompt prompt;
        EXPECT_EQ(DiscoverUsbDevices(prompt, PELOR_FAKE_FTD2XX),
                  std::vector<std::string>{"00  | A"});
    }
}

}  // namespace
}  // namespace pelor::links
