// Flash programming against the unit simulator on a pseudo-terminal: the exact bytes of the
// firmware exchange and of both debuggers, both ways; what the unit holds afterwards; bad files
// that send nothing; faults; and after each of them the link back at its own speed with its
// reader delivering the unit's data again.
#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "core/format.h"
#include "links/fake_ftdi_control.h"
#include "links/link_manager.h"
#include "simulator/simulator.h"
#include "temp_dir.h"
#include "unit/debugger_protocol.h"
#include "unit/flash_file.h"
#include "unit/flash_link.h"
#include "unit/flash_programmer.h"

namespace {

using namespace pelor;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int kLinkBaud = 38400;
constexpr int kUsbBaud = 57800;

class SimThread {
public:
    explicit SimThread(sim::Options o) : sim_(std::move(o)) {
        std::string error;
        opened_ = sim_.Open(error);
        if (opened_) thread_ = std::jthread([this](const std::stop_token& t) { sim_.Run(t); });
    }
    ~SimThread() {
        thread_.request_stop();
        if (thread_.joinable()) thread_.join();
    }
    bool opened_ = false;
    sim::Simulator sim_;
    std::jthread thread_;
};

sim::Options PtyOptions() {
    sim::Options o;
    o.link = sim::LinkKind::Pty;
    o.mode = sim::Mode::Text;
    o.intervalMs = 200;
    o.programmingTimeoutMs = 600;
    return o;
}

// A person takes a moment to answer a question; the scripted answers come after 50 ms, so a
// command written just before is on the line before the next write purges the queues.
class PersonPrompt : public core::ScriptedPrompt {
public:
    // Every message, with or without a detail line, comes through here.
    core::Answer MessageWithDetail(std::string_view text, std::string_view detail,
                                   std::string_view caption,
                                   core::MessageButtons buttons) override {
        if (buttons == core::MessageButtons::YesNo) std::this_thread::sleep_for(50ms);
        return ScriptedPrompt::MessageWithDetail(text, detail, caption, buttons);
    }
};

// A dashboard's link manager on the simulator's terminal, with the link hold keeping its
// reader off the line while programming.
struct FlashRig {
    // `fake`: the USB link (type 2) through the fake converter library serving the terminal.
    explicit FlashRig(sim::Options o, links::testing::FakeFtdi* fake = nullptr)
        : simulator(std::move(o)) {
        context.settings.connectionType = fake != nullptr ? 2 : 0;
        context.settings.baudRate = kLinkBaud;
        context.settings.serialBufferSize = 200;
        context.settings.serialPortName = simulator.sim_.Endpoint();
        context.settings.usbLibraryPath = PELOR_FAKE_FTD2XX;
        context.settings.usbBaudRate = kUsbBaud;
        context.settings.usbBufferSize = 200;
        if (fake != nullptr) {
            fake->SetReadWaitCap(300);
            fake->ServePty(simulator.sim_.Endpoint());
        }
        manager.ToggleConnection();
    }

    unit::FlashOutcome Run(const std::string& path, std::string_view address,
                           unit::FlashProgress* progress = nullptr) {
        simulator.sim_.ClearTranscript();
        unit::LinkManagerFlashLink link(manager, kLinkBaud, 57800);
        unit::FlashProgrammer programmer(
            unit::FlashHooks{prompt, view, link, hold, progress, [] {}, [this] { ++finished; }});
        return programmer.Run(path, address);
    }

    // What went to the unit, once the unit has read it all (the last command is not answered).
    std::string Sent() const {
        std::this_thread::sleep_for(60ms);
        std::string out;
        for (const auto& e : simulator.sim_.Transcript())
            if (e.fromDashboard) out += e.bytes;
        return out;
    }
    std::string Answered() const {
        std::string out;
        for (const auto& e : simulator.sim_.Transcript())
            if (!e.fromDashboard) out += e.bytes;
        return out;
    }

    // The reader hands the unit's data to its pass again.
    bool ValuesFlowAgain(std::chrono::milliseconds limit = 8s) {
        {
            std::lock_guard lock(mutex);
            text.clear();
        }
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, limit,
                                [&] { return text.find("$IIXDR") != std::string::npos; });
    }
    int LineSpeed() {
        core::SerialPort* port = manager.Serial().Port();
        return port != nullptr ? port->BaudRate() : -1;
    }

    SimThread simulator;
    decode::ChannelStore store;
    core::RecordingView view;
    PersonPrompt prompt;
    core::LinkHold hold;
    int finished = 0;
    std::mutex mutex;
    std::condition_variable changed;
    std::string text;
    core::ReaderThread serialSlot, usbSlot, netSlot, adapterSlot;
    links::LinkContext context{{},
                               store,
                               view,
                               prompt,
                               {serialSlot, usbSlot, netSlot, adapterSlot},
                               [this](links::TextLink, std::string_view b) {
                                   std::lock_guard lock(mutex);
                                   text.append(b);
                                   changed.notify_all();
                               },
                               {},
                               {},
                               &hold};
    links::LinkManager manager{context};
};

class TempDir : public pelor::testing::TempDir {
public:
    TempDir() : pelor::testing::TempDir("pelor-flash") {}
    std::string Write(const std::string& name, const std::string& content) const {
        const std::string p = Path(name);
        std::ofstream(p, std::ios::binary) << content;
        return p;
    }
};

std::string TableFile32Bytes() {
    return "[TABLE][6800][8][4]\r\n"
           "db 'ABCDEFGH' ; 0 \r\n"
           "db 'IJKLMNOP' ; 1 \r\n"
           "db 'QRSTUVWX' ; 2 \r\n"
           "db 'YZ012345' ; 3 \r\n";
}

const std::string kEnd(":00000001FF\r\n\0\0", 15);

TEST(FlashFirmware, TableFileExchangeIsByteExactAndTheUnitHoldsTheTable) {
    FlashRig rig(PtyOptions());
    ASSERT_TRUE(rig.simulator.opened_);
    ASSERT_TRUE(rig.manager.Connected());
    ASSERT_TRUE(rig.ValuesFlowAgain());
    TempDir dir;
    rig.prompt.answers = {core::Answer::Yes};
    const std::string labels = dir.Write("labels.txt", TableFile32Bytes());
    ASSERT_EQ(rig.Run(labels, ""), unit::FlashOutcome::Done);

    const std::string r1 =
        unit::TableDataRecord(0x6800, reinterpret_cast<const std::uint8_t*>("ABCDEFGHIJKLMNOP"));
    const std::string r2 =
        unit::TableDataRecord(0x6810, reinterpret_cast<const std::uint8_t*>("QRSTUVWXYZ012345"));
    EXPECT_EQ(r1, ":106800004142434445464748494A4B4C4D4E4F5000\r\n");
    EXPECT_EQ(rig.Sent(), "$PKZLC,P\r$PKZLC,P\r  *3434\r$PKZLC,E\r" + r1 + r2 + kEnd);
    EXPECT_EQ(rig.Answered(),
              "FLASH READY    \rFLASH READY    \rRANGE 34-34    \r"
              "ERASED 34-34   \rWROTE 0x6800 OK\rWROTE 0x6810 OK\r");
    const std::string want = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_EQ(rig.simulator.sim_.UnitFlash(static_cast<std::uint16_t>(0x6800 + i)),
                  static_cast<std::uint8_t>(want[i]));
    EXPECT_EQ(rig.prompt.MessageTexts(),
              (std::vector<std::string>{"Are you sure you want to  Flash Data?",
                                        "Loaded Flash: bytes =32"}));
    // The question names the file and where it goes, on a line under the unit's own text.
    EXPECT_EQ(rig.prompt.shown[0].detail, "File: " + labels + " -> unit FLASH address 6800");
    EXPECT_EQ(rig.view.Caption(), "Flash 6810");
    EXPECT_EQ(rig.finished, 1);
    EXPECT_EQ(rig.hold.Held(), false);
    EXPECT_TRUE(rig.ValuesFlowAgain());
}

TEST(FlashFirmware, IntelHexExchangeIsByteExactWithBothQuestions) {
    FlashRig rig(PtyOptions());
    ASSERT_TRUE(rig.manager.Connected());
    TempDir dir;
    const std::string rec1 = ":10700000000102030405060708090A0B0C0D0E0F08";
    const std::string rec2 = ":04701000DEADBEEF44";
    // The file's own end record ends its data: neither it nor what follows it is sent (the
    // unit would not answer it), and the programmer's own end record closes the exchange.
    const std::string path = dir.Write("image.hex", "[INTELHEX]5657\r\n" + rec1 + "\r\n" + rec2 +
                                                        "\r\n:00000001FF\r\n:0170200099D6\r\n");
    rig.prompt.answers = {core::Answer::Yes, core::Answer::Yes};
    ASSERT_EQ(rig.Run(path, ""), unit::FlashOutcome::Done);
    EXPECT_EQ(rig.Sent(),
              "$PKZLC,P\r$PKZLC,P\r  *3839\r\n$PKZLC,E\r" + rec1 + "\r" + rec2 + "\r" + kEnd);
    EXPECT_EQ(rig.Answered(),
              "FLASH READY    \rFLASH READY    \rRANGE 38-39    \r"
              "ERASED 38-39   \rWROTE 0x7000 OK\rWROTE 0x7010 OK\r");
    EXPECT_EQ(rig.prompt.MessageTexts(),
              (std::vector<std::string>{"Are you sure you want to  Flash Data?",
                                        "Erase and Flash Data? \n\r RANGE 38-39    \r",
                                        "Erased Flash Memory", "Loaded Flash: bytes =20"}));
    EXPECT_EQ(rig.prompt.shown[0].detail, "File: " + path + " -> unit FLASH address 7000");
    EXPECT_EQ(rig.simulator.sim_.UnitFlash(0x700F), 0x0F);
    EXPECT_EQ(rig.simulator.sim_.UnitFlash(0x7013), 0xEF);
    EXPECT_EQ(rig.simulator.sim_.UnitFlash(0x7020), 0xFF);
    EXPECT_TRUE(rig.ValuesFlowAgain());

    // No to "Erase and Flash Data?": nothing more goes to the unit, which leaves programming
    // mode on its own.
    rig.prompt.shown.clear();
    rig.prompt.answers = {core::Answer::Yes, core::Answer::No};
    EXPECT_EQ(rig.Run(path, ""), unit::FlashOutcome::Declined);
    EXPECT_EQ(rig.Sent(), "$PKZLC,P\r$PKZLC,P\r  *3839\r\n");
    EXPECT_EQ(rig.prompt.MessageTexts(),
              (std::vector<std::string>{"Are you sure you want to  Flash Data?",
                                        "Erase and Flash Data? \n\r RANGE 38-39    \r"}));
    EXPECT_EQ(rig.simulator.sim_.UnitFlash(0x700F), 0x0F);
    EXPECT_EQ(rig.hold.Held(), false);
    EXPECT_TRUE(rig.ValuesFlowAgain());
}

// A unit that holds its tables, programmed table by table as the file list does it: each
// table erases only the pages it writes, so none damages its neighbour (a calibration table's
// header count reaches one page into the next table, the last one into the display labels),
// and the options and page files, longer than their header counts, are written whole.
TEST(FlashFirmware, NeighbouringTablesEachReadBackAsWritten) {
    FlashRig rig(PtyOptions());
    ASSERT_TRUE(rig.manager.Connected());
    TempDir dir;
    struct Table {
        const char* name;
        const char* address;  // the file list's address text
        std::uint16_t at;
        std::string content;
        std::string bytes;  // what the unit must hold from `at` on
    };
    const auto calibration = [](const char* header, int table) {
        Table t{"", "", 0, std::string(header) + "\r\n", ""};
        for (int r = 0; r < 256; ++r) {
            const std::string entry = core::Format("%6d%02X", table * 1000 + r, r);
            t.content += "db '" + entry + "' reading\r\n";
            t.bytes += entry;
        }
        return t;
    };
    const auto bytes = [](const char* header, int lines, int step) {
        Table t{"", "", 0, std::string(header) + "\r\n", ""};
        for (int i = 0; i < lines; ++i) {
            const auto b = static_cast<std::uint8_t>(i * step + 1);
            t.content += core::Format("db %%%02X; entry %04d \r\n", b, i);
            t.bytes += static_cast<char>(b);
        }
        return t;
    };
    std::vector<Table> tables;
    Table labels{"labels.txt", "6800", 0x6800, "[TABLE][6800][8][128]\r\n", ""};
    for (int i = 0; i < 88; ++i) {
        const std::string label = core::Format("LABEL%03d", i);
        labels.content += "db '" + label + "' ; " + std::to_string(i) + " \r\n";
        labels.bytes += label;
    }
    tables.push_back(labels);
    // Table 11 right below the labels, then table 1 before its lower neighbour table 0.
    for (const auto& [name, address, at, number] :
         {std::tuple{"cal11.txt", "6000", 0x6000, 11}, std::tuple{"cal1.txt", "1000", 0x1000, 1},
          std::tuple{"cal0.txt", "0800", 0x0800, 0}}) {
        Table t = calibration("[TABLE][D800][8][256]", number);
        t.name = name;
        t.address = address;
        t.at = static_cast<std::uint16_t>(at);
        tables.push_back(t);
    }
    Table options = bytes("[TABLE][7800][1][512]", 1536, 7);
    options.name = "options.txt";
    options.at = 0x7800;
    tables.push_back(options);
    Table pages = bytes("[TABLE][7000][1][512]", 1616, 13);
    pages.name = "pages.txt";
    pages.at = 0x7000;
    tables.push_back(pages);

    for (const Table& t : tables) {
        rig.prompt.shown.clear();
        rig.prompt.answers = {core::Answer::Yes};
        EXPECT_EQ(rig.Run(dir.Write(t.name, t.content), t.address), unit::FlashOutcome::Done)
            << t.name << ": " << ::testing::PrintToString(rig.prompt.MessageTexts());
        EXPECT_EQ(rig.prompt.MessageTexts().back(),
                  core::Format("Loaded Flash: bytes =%zu", t.bytes.size()))
            << t.name;
    }
    for (const Table& t : tables) {
        std::string held;
        for (std::size_t i = 0; i < t.bytes.size(); ++i)
            held += static_cast<char>(
                rig.simulator.sim_.UnitFlash(static_cast<std::uint16_t>(t.at + i)));
        EXPECT_EQ(held, t.bytes) << t.name;
    }
    EXPECT_EQ(rig.simulator.sim_.RefusedWrites(), 0);
    EXPECT_TRUE(rig.ValuesFlowAgain());
}

// Every bad file is refused with its message before a byte goes to the unit.
TEST(FlashFirmware, BadFilesSendNothing) {
    FlashRig rig(PtyOptions());
    ASSERT_TRUE(rig.manager.Connected());
    TempDir dir;
    struct Case {
        std::string content;
        std::string message;
        const char* legend;
    };
    const Case cases[] = {
        {"[SOMETHING]\r\ndb %01;\r\n", "Invalid File Type", "unknown first line"},
        {"", "Error Reading from file", "empty file"},
        {"[INTELHEX]0101\r\n:0400000001020304F1\r\n",
         "Error in file format : checksum error in line 2", "bad checksum"},
        {"[INTELHEX]0101\r\n:020000040001F9\r\n",
         "Error in file format : record type 04 in line 2 can not be flashed", "record type"},
        {"[INTELHEX]0101\r\n:10FFF800000102030405060708090A0B0C0D0E0F81\r\n",
         "Error in file format : file too large for FLASH memory", "past the end of the flash"},
        {"[TABLE][FFF0][1][32]\r\n" + std::string(32 * 0 + 0, ' ') +
             [] {
                 std::string s;
                 for (int i = 0; i < 32; ++i) s += "db %01; x\r\n";
                 return s;
             }(),
         "Error in file format : file too large for FLASH memory", "table past the end"},
        {"[TABLE][6800][8][2]\r\ndb 'ABCDEFGH' ; 0 \r\nrubbish\r\n",
         "Error in file format : line must start with db ' or db %", "bad table line"},
        {[] {
             // A calibration table saved with letters in one entry's value and index.
             std::string s = "[TABLE][0800][8][256]\r\n";
             for (int r = 0; r < 256; ++r)
                 s += r == 200 ? "db '   abcZZ' Engine temp\r\n" : "db '  12.5 0' Engine temp\r\n";
             return s;
         }(),
         "Error in file format : the value '   abc' in line 202 is not a number",
         "calibration value not a number"},
        {"[TABLE][7800][1][512]\r\ndb %0G; NumOfPages\r\n",
         "Error in file format : 'db %0G; NumOfPages' in line 2 does not give a byte as two "
         "hexadecimal digits (0-9, A-F)",
         "byte not hexadecimal"},
        {"[INTELHEX]5656\r\n:0471FE000102030483\r\n",
         "Error in file format : line 2 writes outside the pages 56 to 56 that the file erases",
         "record outside the erased pages"},
    };
    for (const Case& c : cases) {
        rig.prompt.shown.clear();
        rig.prompt.answers = {core::Answer::Yes, core::Answer::Yes};
        EXPECT_EQ(rig.Run(dir.Write("bad.txt", c.content), ""), unit::FlashOutcome::Failed)
            << c.legend;
        EXPECT_EQ(rig.prompt.MessageTexts(), std::vector<std::string>{c.message}) << c.legend;
        std::this_thread::sleep_for(30ms);
        EXPECT_EQ(rig.Sent(), "") << c.legend;
    }
    rig.prompt.shown.clear();
    EXPECT_EQ(rig.Run(dir.Path("missing.txt"), ""), unit::FlashOutcome::Failed);
    EXPECT_EQ(rig.prompt.MessageTexts(), std::vector<std::string>{"Could not Open Flash File"});
    rig.prompt.shown.clear();
    EXPECT_EQ(rig.Run("", "0800"), unit::FlashOutcome::Failed);
    EXPECT_EQ(rig.prompt.MessageTexts(), std::vector<std::string>{"No Flash file path specified"});
}

struct FirmwareFault {
    sim::FlashFault fault;
    std::vector<core::Answer> answers;
    std::string message;  // the last message shown
    std::string sent;     // what went to the unit, when it is checked
    const char* legend;
};

class FlashFirmwareFaults : public ::testing::TestWithParam<FirmwareFault> {};

TEST_P(FlashFirmwareFaults, EndWithTheMessageAndTheReaderDeliversAgain) {
    const FirmwareFault& c = GetParam();
    sim::Options o = PtyOptions();
    o.flashFault = c.fault;
    FlashRig rig(o);
    ASSERT_TRUE(rig.manager.Connected());
    TempDir dir;
    rig.prompt.answers = {c.answers.begin(), c.answers.end()};
    const std::string path = dir.Write("labels.txt", TableFile32Bytes());
    const unit::FlashOutcome outcome = rig.Run(path, "");
    EXPECT_NE(outcome, unit::FlashOutcome::Done) << c.legend;
    const auto texts = rig.prompt.MessageTexts();
    ASSERT_FALSE(texts.empty()) << c.legend;
    EXPECT_EQ(texts.back(), c.message) << c.legend;
    if (!c.sent.empty()) {
        EXPECT_EQ(rig.Sent(), c.sent) << c.legend;
    }
    EXPECT_EQ(rig.hold.Held(), false) << c.legend;
    EXPECT_EQ(rig.finished, 0) << c.legend;
    EXPECT_TRUE(rig.manager.Connected()) << c.legend;
    if (c.fault != sim::FlashFault::Close) {
        EXPECT_EQ(rig.LineSpeed(), kLinkBaud) << c.legend;
        EXPECT_TRUE(rig.ValuesFlowAgain()) << c.legend;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FlashFirmwareFaults,
                         ::testing::Values(FirmwareFault{sim::FlashFault::None,
                                                         {core::Answer::No},
                                                         "Are you sure you want to  Flash Data?",
                                                         "$PKZLC,P\r",
                                                         "No to the first question"},
                                           FirmwareFault{sim::FlashFault::Sync,
                                                         {core::Answer::Yes},
                                                         "Error sync with device",
                                                         "",
                                                         "reply without FLASH"},
                                           FirmwareFault{sim::FlashFault::Erase,
                                                         {core::Answer::Yes},
                                                         "Error in Erase operation",
                                                         "",
                                                         "erase refused"},
                                           FirmwareFault{
                                               sim::FlashFault::Address,
                                               {core::Answer::Yes},
                                               "Error Writing to device \n\r WRITE FAILED   \r",
                                               "",
                                               "record answered without its address"},
                                           FirmwareFault{sim::FlashFault::Close,
                                                         {core::Answer::Yes},
                                                         // '5' (0x35) ends the second record.
                                                         "Error Writing db 35X to device",
                                                         "",
                                                         "line closed mid-transfer"}));

// A progress that cancels after `after` steps.
class CancelAfter : public unit::FlashProgress {
public:
    explicit CancelAfter(int after) : after_(after) {}
    void Begin(int total) override { total_ = total; }
    bool Step(int done, std::string_view) override { return done < after_; }
    void End() override { ended_ = true; }
    int total_ = 0;
    bool ended_ = false;

private:
    int after_;
};

TEST(FlashFirmware, CancelEndsProgrammingModeAndTheReaderDeliversAgain) {
    FlashRig rig(PtyOptions());
    ASSERT_TRUE(rig.manager.Connected());
    TempDir dir;
    rig.prompt.answers = {core::Answer::Yes};
    CancelAfter cancel(1);
    EXPECT_EQ(rig.Run(dir.Write("labels.txt", TableFile32Bytes()), "", &cancel),
              unit::FlashOutcome::Cancelled);
    EXPECT_EQ(cancel.total_, 2);
    EXPECT_TRUE(cancel.ended_);
    const std::string sent = rig.Sent();
    EXPECT_EQ(sent.substr(sent.size() - kEnd.size()), kEnd);
    EXPECT_EQ(rig.hold.Held(), false);
    EXPECT_TRUE(rig.ValuesFlowAgain(3s));
}

// ---- the on-chip debuggers ----

sim::Options DebuggerOptions(int bits, sim::DebuggerFault fault = sim::DebuggerFault::None) {
    sim::Options o = PtyOptions();
    o.debuggerBits = bits;
    o.debuggerFault = fault;
    return o;
}

std::string ImageRecord(std::uint16_t address, const std::vector<std::uint8_t>& data,
                        int type = 0) {
    std::vector<std::uint8_t> bytes = {
        static_cast<std::uint8_t>(data.size()), static_cast<std::uint8_t>(address >> 8),
        static_cast<std::uint8_t>(address & 0xFF), static_cast<std::uint8_t>(type)};
    bytes.insert(bytes.end(), data.begin(), data.end());
    std::string line = ":";
    char hex[4];
    for (const auto b : bytes) {
        std::snprintf(hex, sizeof hex, "%02X", b);
        line += hex;
    }
    std::snprintf(hex, sizeof hex, "%02X", unit::IntelHexChecksum(bytes.data(), bytes.size()));
    return line + hex + "\r\n";
}

TEST(FlashDebugger, Image8IsWrittenByteExactThenReadBackEqual) {
    FlashRig rig(DebuggerOptions(8));
    ASSERT_TRUE(rig.manager.Connected());
    ASSERT_TRUE(rig.ValuesFlowAgain());
    TempDir dir;
    const std::vector<std::uint8_t> a = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    const std::vector<std::uint8_t> b = {0xAA, 0x55};
    const std::string path =
        dir.Write("image.txt", "[KZLFLASH]\r\n" + ImageRecord(0x0100, a) + ":020000040000FA\r\n" +
                                   ImageRecord(0x0110, b) + kEnd.substr(0, 13));
    rig.prompt.answers = {core::Answer::Yes};
    ASSERT_EQ(rig.Run(path, ""), unit::FlashOutcome::Done)
        << ::testing::PrintToString(rig.prompt.MessageTexts());

    using Bytes = std::string;
    const Bytes setup1 = Bytes("\x80\x05\x05\x04\x80\x05\x04\x81\x05\x00", 10);
    const Bytes unlock = Bytes(
        "\x08\x0F\xF8\x04\x00\x00\x48\x00"
        "\x08\x0F\xF8\x01\x00\x08\x0F\xF8\x01\x73\x08\x0F\xF8\x01\x8C",
        23);
    const Bytes erase = Bytes("\x08\x0F\xF8\x01\x63", 5);
    const Bytes poll = Bytes("\x09\x0F\xF8\x01", 4);
    Bytes writeA = Bytes("\x0A\x01\x00\x00\x10", 5) + Bytes(a.begin(), a.end());
    Bytes writeB = Bytes("\x0A\x01\x10\x00\x02", 5) + Bytes(b.begin(), b.end());
    const Bytes finish = Bytes("\x08\x0F\xF8\x01\x00\x0E\x04\x00", 8);
    const Bytes sent = rig.Sent();
    // Four polls answer "busy", the fifth "done".
    EXPECT_EQ(sent, setup1 + unlock + erase + poll + poll + poll + poll + poll + unlock + writeA +
                        writeB + finish);
    // Every byte comes back as its echo, followed by the debugger's answers.
    const Bytes answered = rig.Answered();
    const Bytes busy = poll + "\x63";
    const Bytes done = poll + Bytes(1, '\0');
    EXPECT_EQ(answered.substr(0, 18),
              Bytes("\x80\x80\x05\x00\x05\x00\x04\x80\x05\x80\x04\x81\x05\x81\x00\x01\x22", 17) +
                  Bytes(1, '\x08'));
    EXPECT_NE(answered.find(busy + busy + busy + busy + done), Bytes::npos);
    // Beyond the echoes: auto-baud 1, four control reads 4, revision 2, five polls 5, CRC 2.
    EXPECT_EQ(answered.size(), sent.size() + 14);
    for (std::size_t i = 0; i < a.size(); ++i)
        EXPECT_EQ(rig.simulator.sim_.DebuggerMemory(0x0100 + static_cast<std::uint32_t>(i)), a[i]);
    EXPECT_EQ(rig.simulator.sim_.DebuggerMemory(0x0111), 0x55);
    const auto texts = rig.prompt.MessageTexts();
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0], "Erase and Flash Data?");
    EXPECT_EQ(texts[1], "OCD VERSION: 1.34");
    EXPECT_EQ(texts[2], "Flash Memory Erased");
    EXPECT_EQ(texts[3].rfind("FLASH CRC: ", 0), 0u);
    EXPECT_EQ(texts[4], "Loaded Flash: bytes =18");
    EXPECT_EQ(rig.LineSpeed(), kLinkBaud);
    EXPECT_TRUE(rig.ValuesFlowAgain());

    // Read back into a file: every record as it is now in the flash.
    rig.prompt.shown.clear();
    rig.prompt.answers = {core::Answer::Yes};
    const std::string backup = dir.Path("backup.hex");
    ASSERT_EQ(rig.Run(backup, "FFFF"), unit::FlashOutcome::Done);
    std::ifstream in(backup, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), {});
    std::array<std::uint8_t, 16> at100{};
    std::copy(a.begin(), a.end(), at100.begin());
    EXPECT_EQ(content.rfind("[KZLFLASH]\r\n:100000", 0), 0u);
    EXPECT_NE(content.find(unit::ReadBackRecord(0x0100, at100) + "\r\n"), std::string::npos);
    EXPECT_EQ(content.substr(content.size() - 13), ":00000001FF\r\n");
    EXPECT_EQ(std::count(content.begin(), content.end(), '\n'), 4096 + 2);
    EXPECT_EQ(rig.prompt.MessageTexts(),
              (std::vector<std::string>{"Save Flash Data?", "Connected: OCD VERSION: 1.34",
                                        "FLASH Completed: "}));
    EXPECT_EQ(rig.LineSpeed(), kLinkBaud);
    EXPECT_TRUE(rig.ValuesFlowAgain());

    // The backup programs back as an image.
    rig.prompt.shown.clear();
    rig.prompt.answers = {core::Answer::Yes};
    EXPECT_EQ(rig.Run(backup, ""), unit::FlashOutcome::Done);
    EXPECT_EQ(rig.prompt.MessageTexts().back(), "Loaded Flash: bytes =65536");
    EXPECT_EQ(rig.simulator.sim_.DebuggerMemory(0x0105), 6);
}

TEST(FlashDebugger, Image16WritesBothBanksThenReadsBackEqual) {
    // Programmed at once after connecting: the reader, started while the programmer holds
    // the port, must still deliver afterwards.
    FlashRig rig(DebuggerOptions(16));
    ASSERT_TRUE(rig.manager.Connected());
    TempDir dir;
    const std::vector<std::uint8_t> a = {0x11, 0x22, 0x33, 0x44};
    const std::string path =
        dir.Write("image16.txt", "[KZLZ16FLASH]\r\n" + ImageRecord(0x2000, a) +
                                     ":020000040001F9\r\n" + ImageRecord(0x0010, a));
    rig.prompt.answers = {core::Answer::Yes};
    ASSERT_EQ(rig.Run(path, ""), unit::FlashOutcome::Done);
    using Bytes = std::string;
    const Bytes sent = rig.Sent();
    const Bytes setup = Bytes("\x80\x00\x00\x00\x03\xE0\x01\x02\x00", 9) +
                        Bytes("\xB2\x00\x00\xFF\xE0\x66\x48\x00", 8) +
                        Bytes("\xB1\x00\x00\xFF\xE0\x60\x63", 7);
    const Bytes poll("\xA1\x00\x00\xFF\xE0\x60", 6);
    const Bytes w0 = Bytes("\xB0\x01\x00\x00\x20\x00", 6) + Bytes(a.begin(), a.end());
    const Bytes w1 = Bytes("\xB0\x01\x00\x01\x00\x10", 6) + Bytes(a.begin(), a.end());
    EXPECT_EQ(sent, setup + poll + poll + poll + poll + poll + w0 + w1);
    EXPECT_EQ(rig.simulator.sim_.DebuggerMemory(0x2003), 0x44);
    EXPECT_EQ(rig.simulator.sim_.DebuggerMemory(0x10010), 0x11);
    EXPECT_EQ(rig.view.Caption(), "Flash - 10010");
    const auto texts = rig.prompt.MessageTexts();
    EXPECT_EQ(texts, (std::vector<std::string>{"Erase and Flash Data?", "OCD VERSION: 8.0",
                                               "Flash Memory Erased", "Loaded Flash: bytes =8"}));
    EXPECT_EQ(rig.LineSpeed(), kLinkBaud);
    EXPECT_TRUE(rig.ValuesFlowAgain());

    rig.prompt.shown.clear();
    rig.prompt.answers = {core::Answer::Yes};
    const std::string backup = dir.Path("backup16.hex");
    ASSERT_EQ(rig.Run(backup, "FFFF"), unit::FlashOutcome::Done);
    std::ifstream in(backup, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(content.rfind("[KZLZ16FLASH]\r\n", 0), 0u);
    EXPECT_NE(content.find("\r\n:020000040001F9\r\n:10000000"), std::string::npos);
    EXPECT_NE(content.find(":1000100011223344FFFFFFFFFFFFFFFFFFFFFFFF"), std::string::npos);
    EXPECT_EQ(std::count(content.begin(), content.end(), '\n'), 8192 + 3);
    EXPECT_EQ(rig.LineSpeed(), kLinkBaud);
}

struct DebuggerFaultCase {
    int bits;
    sim::DebuggerFault fault;
    std::vector<std::string> lastMessages;
    const char* legend;
};

class FlashDebuggerFaults : public ::testing::TestWithParam<DebuggerFaultCase> {};

TEST_P(FlashDebuggerFaults, EndWithTheMessageAtTheLinksSpeed) {
    const DebuggerFaultCase& c = GetParam();
    FlashRig rig(DebuggerOptions(c.bits, c.fault));
    ASSERT_TRUE(rig.manager.Connected());
    TempDir dir;
    std::string image = c.bits == 8 ? "[KZLFLASH]\r\n" : "[KZLZ16FLASH]\r\n";
    for (int i = 0; i < 8; ++i)
        image += ImageRecord(static_cast<std::uint16_t>(i * 16), std::vector<std::uint8_t>(16, 7));
    rig.prompt.answers = {core::Answer::Yes};
    EXPECT_EQ(rig.Run(dir.Write("image.txt", image), ""), unit::FlashOutcome::Failed) << c.legend;
    const auto texts = rig.prompt.MessageTexts();
    ASSERT_GE(texts.size(), c.lastMessages.size()) << c.legend;
    EXPECT_EQ(std::vector<std::string>(
                  texts.end() - static_cast<std::ptrdiff_t>(c.lastMessages.size()), texts.end()),
              c.lastMessages)
        << c.legend;
    EXPECT_EQ(rig.hold.Held(), false) << c.legend;
    EXPECT_TRUE(rig.manager.Connected()) << c.legend;
    if (c.fault != sim::DebuggerFault::Close) {
        EXPECT_EQ(rig.LineSpeed(), kLinkBaud) << c.legend;
        EXPECT_TRUE(rig.ValuesFlowAgain()) << c.legend;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FlashDebuggerFaults,
    ::testing::Values(
        DebuggerFaultCase{8,
                          sim::DebuggerFault::Silent,
                          {"Error Reading data - check FLASH cable", "Error in FLASH init"},
                          "8-bit debugger stops answering"},
        DebuggerFaultCase{8,
                          sim::DebuggerFault::Wrong,
                          {"Error Reading OCD Status - check FLASH cable", "Error in FLASH init"},
                          "8-bit debugger answers wrongly"},
        DebuggerFaultCase{
            8,
            sim::DebuggerFault::EraseStuck,
            {"Error waiting for FLASH Erase - check FLASH cable", "Error in FLASH init"},
            "8-bit mass erase never ends"},
        // The status read echoes 0x05 but the controller is not in debug mode: it would take
        // none of the image.
        DebuggerFaultCase{8,
                          sim::DebuggerFault::NoDebug,
                          {"Error Reading OCD Status - check FLASH cable", "Error in FLASH init"},
                          "8-bit controller never enters debug mode"},
        DebuggerFaultCase{8,
                          sim::DebuggerFault::Close,
                          {"Error writing data - check FLASH cable"},
                          "8-bit line closed mid-transfer"},
        DebuggerFaultCase{16,
                          sim::DebuggerFault::Wrong,
                          {"Error getting Version - check FLASH cable", "Error in FLASH init"},
                          "16-bit debugger answers wrongly"},
        DebuggerFaultCase{
            16,
            sim::DebuggerFault::EraseStuck,
            {"Error writing FLASH Controller - check FLASH cable", "Error in FLASH init"},
            "16-bit mass erase never ends"}));

// The same image and table through the USB converter's library: the converter goes to the
// debugger's speed and back to the link's own.
TEST(FlashDebugger, UsbLinkProgramsAnImageAndATable) {
    links::testing::FakeFtdi fake(PELOR_FAKE_FTD2XX);
    ASSERT_TRUE(fake.Loaded());
    FlashRig rig(DebuggerOptions(8), &fake);
    ASSERT_TRUE(rig.manager.Connected()) << ::testing::PrintToString(rig.prompt.MessageTexts());
    ASSERT_TRUE(rig.ValuesFlowAgain());
    TempDir dir;
    const std::vector<std::uint8_t> a = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 5, 6};
    rig.prompt.answers = {core::Answer::Yes};
    ASSERT_EQ(rig.Run(dir.Write("image.txt", "[KZLFLASH]\r\n" + ImageRecord(0x4000, a)), ""),
              unit::FlashOutcome::Done)
        << ::testing::PrintToString(rig.prompt.MessageTexts());
    EXPECT_EQ(rig.simulator.sim_.DebuggerMemory(0x4000), 9);
    EXPECT_EQ(rig.simulator.sim_.DebuggerMemory(0x400F), 6);
    EXPECT_EQ(rig.prompt.MessageTexts().back(), "Loaded Flash: bytes =16");
    EXPECT_EQ(fake.BaudRate(), static_cast<unsigned long>(kUsbBaud));
    EXPECT_NE(fake.Calls().find("FT_SetBaudRate,FT_SetTimeouts,"), std::string::npos);
    EXPECT_EQ(rig.hold.Held(), false);
    EXPECT_TRUE(rig.ValuesFlowAgain());

    rig.prompt.shown.clear();
    rig.prompt.answers = {core::Answer::Yes};
    ASSERT_EQ(rig.Run(dir.Write("labels.txt", TableFile32Bytes()), ""), unit::FlashOutcome::Done)
        << ::testing::PrintToString(rig.prompt.MessageTexts());
    EXPECT_EQ(rig.simulator.sim_.UnitFlash(0x6800), 'A');
    EXPECT_TRUE(rig.ValuesFlowAgain());
}

TEST(FlashDebugger, NetworkLinksCarryNoDebugger) {
    sim::Options o;
    o.link = sim::LinkKind::Tcp;
    SimThread simulator(o);
    ASSERT_TRUE(simulator.opened_);
    decode::ChannelStore store;
    core::RecordingView view;
    core::ScriptedPrompt prompt;
    core::ReaderThread s1, s2, s3, s4;
    links::LinkContext context{{}, store, view, prompt, {s1, s2, s3, s4}, {}, {}, {}, {}};
    context.settings.connectionType = 1;
    context.settings.ipAddress = "127.0.0.1";
    context.settings.tcpPort = simulator.sim_.Port();
    links::LinkManager manager(context);
    manager.ToggleConnection();
    ASSERT_TRUE(manager.Connected());
    TempDir dir;
    core::LinkHold hold;
    unit::LinkManagerFlashLink link(manager, kLinkBaud, 57800);
    unit::FlashProgrammer programmer(unit::FlashHooks{prompt, view, link, hold, nullptr, {}, {}});
    EXPECT_EQ(programmer.Run(dir.Write("i.txt", "[KZLFLASH]\r\n" + ImageRecord(0, {1})), ""),
              unit::FlashOutcome::Failed);
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Error in FLASH init"});
}

}  // namespace
