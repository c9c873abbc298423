#include <gtest/gtest.h>

#include <dirent.h>

#include "link_fixture.h"
#include "links/serial_device.h"
#include "links/serial_link.h"

namespace {

using namespace pelor;
using namespace pelor::links;
using namespace pelor::links::testing;
using namespace std::chrono_literals;

int ThreadCount() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/task")) {
        while (dirent* e = readdir(dir))
            if (e->d_name[0] != '.') ++count;
        closedir(dir);
    }
    return count;
}

std::span<const std::uint8_t> Bytes(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

struct SerialFixture : ::testing::Test {
    SinkFixture sink;
    PtyPair pty;
    core::ReaderThread slot;
    SerialLink link{sink.prompt, sink.sinks, nullptr};
};

TEST(PortNames, ComNumbersAndPaths) {
    struct Case {
        const char* name;
        int number;  // 0: not a COM name
    } const cases[] = {{"\\\\.\\COM1", 1},  {"COM12", 12}, {"com3", 3}, {"COM255", 255},
                       {"COM0", 0},         {"COM256", 0}, {"COM", 0},  {"COMX", 0},
                       {"/dev/ttyUSB0", 0}, {"", 0},       {"COM1x", 0}};
    for (const auto& c : cases) EXPECT_EQ(ComPortNumber(c.name).value_or(0), c.number) << c.name;
}

// A COM number names one device node, whatever else is present: plugging in a converter (or
// ttyS10 sorting before ttyS2) must not change which device COM2 opens.
TEST(PortNames, ComNumbersNameFixedDevices) {
    struct Case {
        const char* name;
        const char* device;  // "": no device
    } const cases[] = {
        {"\\\\.\\COM1", "/dev/ttyS0"},
        {"\\\\.\\COM2", "/dev/ttyS1"},
        {"COM11", "/dev/ttyS10"},
        {"COM32", "/dev/ttyS31"},
        {"COM33", "/dev/ttyUSB0"},
        {"com34", "/dev/ttyUSB1"},
        {"COM64", "/dev/ttyUSB31"},
        {"COM65", "/dev/ttyACM0"},
        {"COM96", "/dev/ttyACM31"},
        {"COM97", ""},
        {"COM200", ""},
        {"COM0", ""},
        {"", ""},
        {"COM256", ""},
        {"ttyS0", ""},
        {"/dev/pts/7", "/dev/pts/7"},
        {"/dev/ttyUSB3", "/dev/ttyUSB3"},
    };
    for (const auto& c : cases) EXPECT_EQ(ResolvePortName(c.name).value_or(""), c.device) << c.name;

    // Every number of a block maps back to itself; other paths have no number.
    for (int n = 1; n <= 255; ++n) {
        const auto device = ComPortDevice(n);
        if (!device) continue;
        EXPECT_EQ(ComPortNumberOfDevice(*device).value_or(0), n) << *device;
    }
    for (const char* path : {"/dev/ttyS", "/dev/ttyS32", "/dev/ttyUSB01", "/dev/ttyS1x",
                             "/dev/pts/3", "/dev/ttyUSB100", "ttyS1"}) {
        EXPECT_FALSE(ComPortNumberOfDevice(path).has_value()) << path;
    }
}

TEST_F(SerialFixture, ReadsWholeBlocksOfTheBufferSizeOnly) {
    ASSERT_TRUE(link.OpenSerialPort(pty.SlavePath(), kTextReader, 4800, 6, &slot));
    pty.Write("$PKZLS");  // exactly one block
    ASSERT_TRUE(sink.collected.WaitFor([](auto& t, auto&) { return t.size() == 6; }, 2s));
    pty.Write("abcdefghijk");  // one block of 6 and 5 left waiting
    ASSERT_TRUE(sink.collected.WaitFor([](auto& t, auto&) { return t.size() == 12; }, 2s));
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(sink.collected.Text(), "$PKZLSabcdef");
    for (const auto size : sink.collected.PassSizes()) EXPECT_EQ(size, 6u);
    EXPECT_EQ(sink.view.RepaintCount(), 0);  // the text pass sets the caption and repaints
    EXPECT_TRUE(sink.prompt.MessageTexts().empty());
}

TEST_F(SerialFixture, BufferSizeOfFiveOrLessDropsEverything) {
    ASSERT_TRUE(link.OpenSerialPort(pty.SlavePath(), kTextReader, 4800, 5, &slot));
    pty.Write("0123456789");
    std::this_thread::sleep_for(700ms);
    EXPECT_EQ(sink.collected.Passes(), 0);
}

TEST_F(SerialFixture, RateOutsideTheStandardTableIsReallySet) {
    ASSERT_TRUE(link.OpenSerialPort(pty.SlavePath(), kTextReader, 210400, 700, &slot));
    ASSERT_NE(link.Port(), nullptr);
    EXPECT_EQ(link.Port()->BaudRate(), 210400);
}

TEST_F(SerialFixture, CommandReplyFillsUnitReply) {
    ASSERT_TRUE(link.OpenSerialPort(pty.SlavePath(), kTextReader, 4800, 700, &slot));
    std::thread unit([&] {
        const std::string command = pty.Read(9, 2s);
        pty.Write(command == "$PKZLC,P\r" ? "FLASH READY 1234EXTRA" : "?");
    });
    EXPECT_EQ(link.SerialWrite(Bytes("$PKZLC,P\r"), true), 0);
    unit.join();
    EXPECT_EQ(std::string(link.UnitReply().data()), "FLASH READY 1234");

    // A short reply leaves the rest zero.
    std::thread shortUnit([&] {
        pty.Read(9, 2s);
        pty.Write("ERASED");
    });
    EXPECT_EQ(link.SerialWrite(Bytes("$PKZLC,E\r"), true), 0);
    shortUnit.join();
    EXPECT_EQ(std::string(link.UnitReply().data()), "ERASED");
    for (std::size_t i = 6; i < 17; ++i) EXPECT_EQ(link.UnitReply()[i], '\0') << i;
}

TEST_F(SerialFixture, WriteDiscardsPendingInput) {
    ASSERT_TRUE(link.OpenSerialPort(pty.SlavePath(), kTextReader, 4800, 700, &slot));
    pty.Write("stale bytes");
    std::this_thread::sleep_for(50ms);
    std::thread unit([&] {
        pty.Read(9, 2s);
        pty.Write("fresh");
    });
    EXPECT_EQ(link.SerialWrite(Bytes("$PKZLC,N\r"), true), 0);
    unit.join();
    EXPECT_EQ(std::string(link.UnitReply().data()), "fresh");
}

// A command without a reply (PAGE, STOP, a switch) must not throw away what the unit sent and
// the reader has not taken yet: half a block waits before the command, the rest comes after,
// and the reader reads the whole block.
TEST_F(SerialFixture, CommandWithoutReplyKeepsReceivedBytes) {
    ASSERT_TRUE(link.OpenSerialPort(pty.SlavePath(), kTextReader, 4800, 20, &slot));
    pty.Write("$PKZLS,S,");
    std::this_thread::sleep_for(50ms);
    for (const std::string_view command : {"$PKZLC,N\r", "\r\ntc\r\n"})
        EXPECT_EQ(link.SerialWrite(Bytes(command), false), 0) << command;
    EXPECT_EQ(pty.Read(15, 2s), "$PKZLC,N\r\r\ntc\r\n");
    pty.Write("010000000000");
    ASSERT_TRUE(sink.collected.WaitFor([](auto& t, auto&) { return t.size() >= 20; }, 2s))
        << "received: '" << sink.collected.Text() << "'";
    EXPECT_EQ(sink.collected.Text().substr(0, 20), "$PKZLS,S,01000000000");
}

TEST_F(SerialFixture, PurgeRequestClearsTheDeviceAndResetsPositions) {
    ASSERT_TRUE(link.OpenSerialPort(pty.SlavePath(), kTextReader, 4800, 8, &slot));
    {
        std::lock_guard lock(sink.store.mutex);
        sink.store.PurgeRequest = 1;
    }
    std::this_thread::sleep_for(450ms);
    EXPECT_EQ(sink.resets.load(), 1);
    EXPECT_EQ(sink.store.PurgeRequest, 0);
}

TEST_F(SerialFixture, ReconnectLeavesOneReader) {
    // One round first: a sanitizer may start a helper thread with the first thread.
    ASSERT_TRUE(link.OpenSerialPort(pty.SlavePath(), kTextReader, 4800, 6, &slot));
    link.CloseSerialPort();
    const int before = ThreadCount();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(link.OpenSerialPort(pty.SlavePath(), kTextReader, 4800, 6, &slot));
        EXPECT_EQ(ThreadCount(), before + 1);
        EXPECT_TRUE(link.CloseSerialPort());
        EXPECT_EQ(ThreadCount(), before);
    }
    EXPECT_FALSE(link.CloseSerialPort());
    ASSERT_TRUE(link.OpenSerialPort(pty.SlavePath(), kTextReader, 4800, 6, &slot));
    pty.Write("ABCDEF");
    ASSERT_TRUE(sink.collected.WaitFor([](auto& t, auto&) { return t == "ABCDEF"; }, 2s));
    std::this_thread::sleep_for(400ms);
    EXPECT_EQ(sink.collected.Text(), "ABCDEF");  // one reader, one delivery
}

TEST_F(SerialFixture, VanishingTerminalEndsTheReader) {
    ASSERT_TRUE(link.OpenSerialPort(pty.SlavePath(), kTextReader, 4800, 6, &slot));
    pty.CloseMaster();
    std::this_thread::sleep_for(600ms);
    EXPECT_TRUE(slot.Stop(0ms)) << "the reader should have ended on its own";
    link.CloseSerialPort();
}

TEST_F(SerialFixture, AdapterReaderHandsFramesOn) {
    ASSERT_TRUE(link.OpenSerialPort(pty.SlavePath(), kAdapterReader, 115200, 20, &slot));
    const std::string frame(
        "\x10\x02\x93\x13\x02\x12\xF1\x01\xFF\x03\x10\x10\x00\x00\x00\x08"
        "\x01\x02\x03\x04\x05\x06\x07\x08\x55\x10\x03",
        27);
    pty.Write(frame);
    ASSERT_TRUE(sink.collected.WaitFor([](auto&, auto& f) { return f.size() == 20; }, 2s));
    EXPECT_EQ(sink.collected.Frames(), frame.substr(0, 20));
    EXPECT_TRUE(sink.collected.Text().empty());
    // After a frame pass the reader sets the caption from the store and repaints.
    for (int i = 0; i < 100 && sink.view.RepaintCount() == 0; ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(sink.view.Caption(), "::disconnected");
    EXPECT_GE(sink.view.RepaintCount(), 1);
    std::lock_guard lock(sink.store.mutex);
    EXPECT_EQ(sink.store.m_bRedrawAll, 0);
}

TEST_F(SerialFixture, OpenFailuresShowTheirMessage) {
    EXPECT_FALSE(link.OpenSerialPort("/dev/pelor-no-such-port", kTextReader, 4800, 700, &slot));
    EXPECT_FALSE(link.OpenSerialPort("COM250", kTextReader, 4800, 700, &slot));
    EXPECT_EQ(sink.prompt.MessageTexts(),
              (std::vector<std::string>{"Unable to open the port", "Unable to open the port"}));
    EXPECT_EQ(sink.prompt.shown.at(0).caption, "Error");
    EXPECT_FALSE(slot.Running());
}

TEST_F(SerialFixture, SecondReaderOnABusySlotIsRefused) {
    ASSERT_TRUE(slot.Start([](const std::stop_token& t) {
        while (!t.stop_requested()) std::this_thread::sleep_for(5ms);
    }));
    EXPECT_FALSE(link.OpenSerialPort(pty.SlavePath(), kTextReader, 4800, 700, &slot));
    EXPECT_EQ(sink.prompt.MessageTexts(),
              std::vector<std::string>{"Unable to create the read thread"});
    slot.Stop();
}

TEST_F(SerialFixture, NoReaderKindOpensWithoutThread) {
    ASSERT_TRUE(link.OpenSerialPort(pty.SlavePath(), 9, 4800, 700, &slot));
    EXPECT_FALSE(slot.Running());
    EXPECT_TRUE(link.PortValid());
}

}  // namespace
