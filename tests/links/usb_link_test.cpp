#include <gtest/gtest.h>

#include "fake_ftdi_control.h"
#include "link_fixture.h"
#include "links/ftd2xx_library.h"
#include "links/usb_link.h"

namespace {

using namespace pelor;
using namespace pelor::links;
using namespace pelor::links::testing;
using namespace std::chrono_literals;

std::span<const std::uint8_t> Bytes(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

struct UsbFixture : ::testing::Test {
    SinkFixture sink;
    FakeFtdi fake{PELOR_FAKE_FTD2XX};
    core::ReaderThread slot;
    std::string libraryPath = PELOR_FAKE_FTD2XX;
    UsbLink link{sink.prompt, sink.sinks, [this] {
                     auto library = std::make_unique<Ftd2xxLibrary>(sink.prompt, libraryPath);
                     library->LoadUsbLibrary();
                     return library;
                 }};
    void SetUp() override {
        ASSERT_TRUE(fake.Loaded());
        fake.SetReadWaitCap(50);  // the drain reads do not wait out two seconds here
    }
};

TEST(UsbReadSize, LargeSettingsReadSevenHundredNinety) {
    struct Case {
        int setting, size;
    } const cases[] = {{10, 10}, {600, 600}, {700, 700}, {799, 799}, {800, 790}, {900, 790}};
    for (const auto& c : cases) EXPECT_EQ(UsbReadSize(c.setting), c.size) << c.setting;
}

TEST_F(UsbFixture, OpensInOrderAndReadsBlocks) {
    fake.AddScript(std::string(250, 'x'));  // drained at open
    ASSERT_EQ(link.OpenUsbLink(2, 0, 57800, 10, &slot), 0);
    EXPECT_EQ(fake.BaudRate(), 57800u);
    EXPECT_EQ(fake.Calls(),
              "FT_Open,FT_ResetDevice,FT_SetDataCharacteristics,FT_SetBaudRate,"
              "FT_SetFlowControl,FT_SetRts,FT_SetTimeouts,FT_Purge,FT_GetQueueStatus,FT_Read,"
              "FT_Read,FT_SetTimeouts,");
    fake.AddScript("$PKZLS,V,1.0,abcdefghijklmnop");  // 29 bytes: two blocks of 10
    ASSERT_TRUE(sink.collected.WaitFor([](auto& t, auto&) { return t.size() == 20; }, 3s));
    std::this_thread::sleep_for(600ms);
    EXPECT_EQ(sink.collected.Text(), "$PKZLS,V,1.0,abcdefg");
    EXPECT_TRUE(sink.prompt.MessageTexts().empty());
    link.CloseUsbLink();
    EXPECT_NE(fake.Calls().find("FT_Close,"), std::string::npos);
}

TEST_F(UsbFixture, StatusFourCountsAsSuccessAndFramesGoToTheFramePass) {
    fake.SetSuccessStatus(4);
    ASSERT_EQ(link.OpenUsbLink(5, 0, 115200, 12, &slot), 0);
    fake.AddScript(std::string("\x10\x02\x93\x13\x02\x12\xF1\x01\xFF\x03\x00\x00", 12));
    ASSERT_TRUE(sink.collected.WaitFor([](auto&, auto& f) { return f.size() == 12; }, 3s));
    EXPECT_EQ(sink.collected.Text(), "");
    EXPECT_TRUE(sink.prompt.MessageTexts().empty());
}

TEST_F(UsbFixture, EachOpenFailureHasItsMessage) {
    struct Case {
        const char* failing;
        const char* message;
    } const cases[] = {
        {"FT_Open", "Unable to Open USB Device"},
        {"FT_SetDataCharacteristics", "Unable to set USB Data Characteristics"},
        {"FT_SetBaudRate", "Unable to set USB Baud Rate"},
        {"FT_GetQueueStatus", "Unable to get USB Que Status"},
        {"FT_Read", "Unable to Read from USB Device"},
    };
    for (const auto& c : cases) {
        fake.FailCall(c.failing);
        sink.prompt.shown.clear();
        EXPECT_EQ(link.OpenUsbLink(2, 0, 9600, 600, &slot), -1) << c.failing;
        EXPECT_EQ(sink.prompt.MessageTexts(), std::vector<std::string>{c.message}) << c.failing;
        EXPECT_FALSE(slot.Running());
        EXPECT_FALSE(link.Running());
    }
    // Nothing stays open after a failure: the next open finds the device free.
    fake.FailCall("");
    EXPECT_EQ(link.OpenUsbLink(2, 0, 9600, 600, &slot), 0);
}

TEST_F(UsbFixture, MissingLibraryAndMissingFunctionsAreNamed) {
    libraryPath = "/nonexistent/libftd2xx.so";
    EXPECT_EQ(link.OpenUsbLink(2, 0, 9600, 600, &slot), -1);
    EXPECT_EQ(sink.prompt.MessageTexts(),
              (std::vector<std::string>{"Error: Can't Load libftd2xx.so", "FT_Open is not valid!",
                                        "Unable to Open USB Device"}));

    sink.prompt.shown.clear();
    FakeFtdi partial(PELOR_FAKE_FTD2XX_PARTIAL);
    partial.SetReadWaitCap(50);
    libraryPath = PELOR_FAKE_FTD2XX_PARTIAL;
    EXPECT_EQ(link.OpenUsbLink(2, 0, 9600, 600, &slot), -1);
    EXPECT_EQ(sink.prompt.MessageTexts(),
              (std::vector<std::string>{"Error: Can't Find FT_Read", "Error: Can't Find FT_SetRts",
                                        "FT_SetRts is not valid!", "FT_Read is not valid!",
                                        "Unable to Read from USB Device"}));
    EXPECT_EQ(sink.prompt.shown.at(0).caption, "");
    EXPECT_EQ(sink.prompt.shown.at(2).caption, "Error");
}

TEST_F(UsbFixture, CommandWriteReadsTheReplyWithinItsBound) {
    ASSERT_EQ(link.OpenUsbLink(2, 0, 9600, 700, &slot), 0);
    std::thread unit([&] {
        std::this_thread::sleep_for(100ms);
        fake.AddScript("FLASH READY    \r");
    });
    EXPECT_EQ(link.UsbWrite(Bytes("$PKZLC,P\r"), true), 0u);
    unit.join();
    EXPECT_EQ(std::string(link.UnitReply().data()), "FLASH READY    \r");
    EXPECT_EQ(fake.Written(), "$PKZLC,P\r");

    const auto start = std::chrono::steady_clock::now();
    EXPECT_NE(link.UsbWrite(Bytes("$PKZLC,E\r"), true), 0u);  // nobody answers
    EXPECT_LT(std::chrono::steady_clock::now() - start, 4s);
    EXPECT_EQ(link.UnitReply()[0], '\0');
}

TEST_F(UsbFixture, UnplugEndsTheReaderAndReconnectOpensAfresh) {
    ASSERT_EQ(link.OpenUsbLink(2, 0, 9600, 600, &slot), 0);
    fake.Unplug();
    std::this_thread::sleep_for(700ms);
    EXPECT_FALSE(link.Running());
    EXPECT_TRUE(slot.Stop(0ms));
    link.CloseUsbLink();
    fake.FailCall("");
    FakeFtdi again(PELOR_FAKE_FTD2XX);  // a fresh device
    again.SetReadWaitCap(50);
    EXPECT_EQ(link.OpenUsbLink(2, 0, 9600, 600, &slot), 0);
    EXPECT_TRUE(link.Running());
}

}  // namespace
