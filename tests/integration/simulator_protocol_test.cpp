// The simulator's wire forms and command parsing, checked against the layouts the dashboard's
// decoders read.
#include <gtest/gtest.h>

#include "simulator/command_parser.h"
#include "simulator/faults.h"
#include "simulator/protocol.h"
#include "simulator/scenario.h"
#include "simulator/simulator.h"
#include "simulator/unit.h"

namespace {

using namespace pelor::sim;

int Hex2(const std::string& s, std::size_t at) {
    return std::stoi(s.substr(at, 2), nullptr, 16);
}

TEST(SimulatorProtocol, TransducerSentenceLayout) {
    const std::string s = XdrSentence(10, ValueText("12.3", 0x7F), "DEPTH");
    ASSERT_EQ(s.size(), 33u);
    EXPECT_EQ(s.substr(0, 7), "$IIXDR,");
    EXPECT_EQ(s.substr(9, 8), "12.3##7F");
    EXPECT_EQ(s.substr(20, 9), "DEPTH   A");
    EXPECT_EQ(s[29], '*');
    EXPECT_EQ(s[19], ',');  // the fourth comma lies 10 characters before the star
    EXPECT_EQ(Hex2(s, 30), NmeaChecksum(s.substr(1, 28)));
    EXPECT_EQ(s.back(), '\r');
    EXPECT_EQ(ValueText("5", 300), "5   ##FF");
    EXPECT_EQ(ValueText("-2", -4), "-2  ##00");
}

TEST(SimulatorProtocol, GatewaySentenceLayout) {
    const std::uint8_t payload[] = {0x00, 0x10, 0xAB};
    const std::string s = N2kSentence(127250, 0x01020304, 0x23, payload);
    EXPECT_EQ(s.substr(0, 7), "$PKZLN,");
    EXPECT_EQ(s.substr(7, 6), "01F112");
    EXPECT_EQ(s.substr(14, 8), "01020304");
    EXPECT_EQ(s.substr(23, 2), "23");
    EXPECT_EQ(s.substr(26, 6), "0010AB");
    const std::size_t star = s.find('*');
    EXPECT_EQ(Hex2(s, star + 1), NmeaChecksum(s.substr(1, star - 1)));
}

TEST(SimulatorProtocol, AdapterFrameLayoutStuffingAndChecksum) {
    const std::uint8_t payload[] = {0x10, 0x01};
    const std::string wire = N2kFrame(0x01F210, 0x10, 0x10, payload);
    ASSERT_EQ(wire.substr(0, 2), std::string("\x10\x02", 2));
    ASSERT_EQ(wire.substr(wire.size() - 2), std::string("\x10\x03", 2));
    std::string body;  // without DLE STX / DLE ETX, stuffing removed
    for (std::size_t i = 2; i + 2 < wire.size(); ++i) {
        body += wire[i];
        if (wire[i] == '\x10') {
            ASSERT_EQ(wire[i + 1], '\x10') << "every DLE inside is doubled";
            ++i;
        }
    }
    const auto b = [&](std::size_t k) { return static_cast<std::uint8_t>(body[k]); };
    EXPECT_EQ(b(0), 0x93);
    EXPECT_EQ(b(1), 11 + 2);  // priority .. payload
    EXPECT_EQ(b(3) | (b(4) << 8) | (b(5) << 16), 0x01F210);
    EXPECT_EQ(b(8) | (b(9) << 8), 0x10);  // time stamp
    EXPECT_EQ(b(12), 2);                  // payload length
    EXPECT_EQ(b(13), 0x10);
    unsigned sum = 0;
    for (const char c : body) sum += static_cast<std::uint8_t>(c);
    EXPECT_EQ(sum & 0xFF, 0u);
}

TEST(SimulatorProtocol, ScreenRecordLayout) {
    const std::string r = ScreenRecord(3, 120, 45, 47, "12.5", "RPM");
    ASSERT_GE(r.size(), 36u);
    EXPECT_EQ(r.substr(0, 4), "m003");
    EXPECT_EQ(r[4], ' ');
    EXPECT_EQ(r[5], '"');
    EXPECT_EQ(r.substr(6, 3), "120");
    EXPECT_EQ(r.substr(10, 3), "045");
    EXPECT_EQ(r.substr(15, 2), "47");
    EXPECT_EQ(r[17], ' ');
    std::vector<std::size_t> quotes;
    for (std::size_t i = 0; i < r.size(); ++i)
        if (r[i] == '"') quotes.push_back(i);
    ASSERT_EQ(quotes.size(), 6u);
    EXPECT_EQ(r.substr(quotes[2] + 1, 4), "12.5");
    EXPECT_EQ(r.substr(quotes[4] + 1, 8), "RPM     ");
}

TEST(SimulatorProtocol, StatusSentencesAreLongEnoughToBeUsed) {
    const bool outputs[12] = {true, false, true};
    struct Case {
        std::string sentence;
        std::size_t needAfterDollar;
        std::size_t payloadWidth;
        char cut;
        const char* payload;
    } const cases[] = {
        {VersionSentence("2.14"), 17, 10, ',', "2.14"},
        {StatusDSentence("PAGE 3"), 37, 30, '*', "PAGE 3"},
        {StatusHSentence("BATTERY"), 48, 48, '*', "BATTERY"},
    };
    for (const auto& c : cases) {
        EXPECT_GT(c.sentence.size() - 1, c.needAfterDollar) << c.sentence;
        const std::string window = c.sentence.substr(9, c.payloadWidth);
        const std::size_t cut = window.find(c.cut);
        ASSERT_NE(cut, std::string::npos) << c.sentence;
        EXPECT_EQ(window.substr(0, cut).substr(0, std::string(c.payload).size()), c.payload);
    }
    const std::string s = SwitchSentence(outputs);
    EXPECT_GT(s.size() - 1, 48u);
    EXPECT_EQ(s.substr(9, 12), "101000000000");
    // Serial text turns any lower-case m into a screen-record marker: the unit never sends one
    // outside its screen records.
    for (const auto& m : CycleMessages(Mode::Text, UnitState{}, 12.5, 1))
        EXPECT_EQ(m.find('m'), std::string::npos) << m;
}

TEST(SimulatorProtocol, EveryChannelMoves) {
    for (int c = 0; c < 16; ++c) {
        int low = 255, high = 0;
        for (double t = 0; t < 120; t += 1.0) {
            low = std::min(low, ChannelLevel(c, t));
            high = std::max(high, ChannelLevel(c, t));
            EXPECT_EQ(ChannelDisplay(c, t).size(), 4u);
        }
        EXPECT_GT(high - low, 100) << c;
    }
}

TEST(CommandParser, FindsEveryCommandForm) {
    struct Case {
        std::string bytes;
        CommandKind kind;
        const char* described;
    } const cases[] = {
        {"$PKZLC,N\r", CommandKind::NextPage, "$PKZLC,N"},
        {"\r\ntc\r\n", CommandKind::Hold, "hold"},
        {"$PKZLC,Z\r", CommandKind::PassThrough, "$PKZLC,Z"},
        {"$PKZLC,P\r", CommandKind::Program, "$PKZLC,P"},
        {"$PKZLC,E\r", CommandKind::Erase, "$PKZLC,E"},
        {"  *0203\r", CommandKind::EraseRange, "erase range 02-03"},
        {"  *0203\r\n", CommandKind::EraseRange, "erase range 02-03"},
        {":100100004C41424C4520202020202020202020202F\r\n", CommandKind::Record,
         "record type 00 at 0100"},
        {":100100004C41424C45202020202020202020202000\r\n", CommandKind::Record,
         "record type 00 at 0100 (bad checksum)"},
        {":00000001FF\r", CommandKind::Record, "record type 01 at 0000"},
        {"\r$IIXDR,S, ON ,R,SW10    A,*66\r", CommandKind::Switch, "switch 10 on"},
        {"\r$IIXDR,S,OFF ,R,SW5     5,*66\r", CommandKind::Switch, "switch 5 off"},
        {"$PKZLN,01F20E,00000000,FF,03150000FFFFFFFF*22\r\n", CommandKind::Switch,
         "switch bank 3 111000000000"},
    };
    for (const auto& c : cases) {
        CommandParser parser;
        const auto found = parser.Feed(c.bytes);
        ASSERT_EQ(found.size(), 1u) << c.described;
        EXPECT_EQ(found[0].kind, c.kind) << c.described;
        EXPECT_EQ(Describe(found[0]), c.described);
    }
}

TEST(CommandParser, CommandsCutAcrossReadsAndAmongNoise) {
    CommandParser parser;
    EXPECT_TRUE(parser.Feed("xx$PKZ").empty());
    EXPECT_TRUE(parser.Feed("LC,").empty());
    auto found = parser.Feed("N\rjunk$PKZLC,Q\r\r\nt");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].kind, CommandKind::NextPage);
    found = parser.Feed("c\r\n");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].kind, CommandKind::Hold);
    // A long run of noise does not grow the buffer.
    parser.Feed(std::string(100000, 'z'));
    EXPECT_LE(parser.Pending(), kMaxPending);
}

TEST(CommandParser, AdapterSwitchFrameWithDoubledCheckByte) {
    // 0x94 0x0E 0x07 0x0E 0xF2 0x01 0xFF 0x08 bank W0 W1 W2 FF FF FF FF check
    std::vector<std::uint8_t> body = {0x94, 0x0E, 0x07, 0x0E, 0xF2, 0x01, 0xFF, 0x08,
                                      0x00, 0x15, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};
    unsigned sum = 0;
    for (auto b : body) sum += b;
    // Choose the bank so that the check byte is 0x10, which goes out doubled.
    body[8] = static_cast<std::uint8_t>((0x100 - ((sum + 0x10) & 0xFF)) & 0xFF);
    body.push_back(0x10);
    std::string wire = "\x10\x02";
    for (auto b : body) {
        wire += static_cast<char>(b);
        if (b == 0x10) wire += static_cast<char>(b);
    }
    wire += "\x10\x03";
    CommandParser parser;
    const auto found = parser.Feed(wire);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].bank, body[8]);
    EXPECT_EQ(found[0].outputs[0], 1);
    EXPECT_EQ(found[0].outputs[1], 1);
    EXPECT_EQ(found[0].outputs[2], 1);
    EXPECT_EQ(found[0].outputs[3], 0);
}

TEST(SimulatedUnit, AnswersSixteenBytesWithTheAddressWhereTheProgrammerLooks) {
    Unit unit;
    CommandParser parser;
    const auto reply = [&](const std::string& bytes) {
        const auto found = parser.Feed(bytes);
        return found.empty() ? std::string("?") : unit.Handle(found[0]);
    };
    EXPECT_EQ(reply(":100100004C41424C4520202020202020202020202F\r\n"), "");  // not programming
    const std::string ready = reply("$PKZLC,P\r");
    EXPECT_EQ(ready.size(), 16u);
    EXPECT_NE(ready.find("FLASH "), std::string::npos);
    EXPECT_TRUE(unit.Programming());
    EXPECT_EQ(reply("  *0001\r").size(), 16u);
    const std::string erased = reply("$PKZLC,E\r");
    EXPECT_EQ(erased.size(), 16u);
    EXPECT_NE(erased.find("ERASED "), std::string::npos);
    const std::string wrote = reply(":100100004C41424C4520202020202020202020202F\r\n");
    EXPECT_EQ(wrote.size(), 16u);
    EXPECT_EQ(wrote.substr(8, 4), "0100");
    EXPECT_EQ(unit.Flash(0x100), 'L');
    EXPECT_EQ(reply(":00000001FF\r\n"), "");
    EXPECT_FALSE(unit.Programming());
}

// The unit's flash takes a write only where it was erased since it was last written: the
// same record again, or a record into a page outside the erased range (the unit starts with
// every byte written), is refused and changes nothing; a new erase makes it writable again.
TEST(SimulatedUnit, FlashRefusesWritesWhereItWasNotErased) {
    Unit unit;
    CommandParser parser;
    const auto reply = [&](const std::string& bytes) {
        const auto found = parser.Feed(bytes);
        return found.empty() ? std::string("?") : unit.Handle(found[0]);
    };
    const std::string at100 = ":100100004C41424C4520202020202020202020202F\r\n";
    const std::string at400 = ":100400004C41424C4520202020202020202020202C\r\n";
    reply("$PKZLC,P\r");
    EXPECT_EQ(reply(at100), "WRITE REFUSED  \r");  // not erased yet
    reply("  *0001\r");
    reply("$PKZLC,E\r");
    EXPECT_EQ(unit.Flash(0x100), 0xFF);
    EXPECT_EQ(reply(at100), "WROTE 0x0100 OK\r");
    const std::string again = reply(at100);
    EXPECT_EQ(again, "WRITE REFUSED  \r");
    EXPECT_EQ(again.size(), 16u);
    EXPECT_EQ(reply(at400), "WRITE REFUSED  \r");  // page 2: not in the range 0-1
    EXPECT_EQ(unit.Flash(0x400), 0xFF);
    EXPECT_EQ(unit.RefusedWrites(), 3);
    EXPECT_EQ(unit.RecordsWritten(), 1);
    reply("  *0202\r");
    reply("$PKZLC,E\r");
    EXPECT_EQ(reply(at400), "WROTE 0x0400 OK\r");
    EXPECT_EQ(unit.Flash(0x100), 'L');  // page 0 was not erased again
    EXPECT_EQ(unit.Flash(0x400), 'L');
}

TEST(SimulatedUnit, SwitchCommandsChangeOnlyTheirOutputsAndBank) {
    Unit unit(3);
    CommandParser parser;
    for (const auto& c : parser.Feed("\r$IIXDR,S, ON ,R,SW5     5,*66\r")) unit.Handle(c);
    EXPECT_TRUE(unit.State().outputs[5]);
    for (const auto& c : parser.Feed("$PKZLN,01F20E,00000000,FF,02150000FFFFFFFF*22\r\n"))
        unit.Handle(c);  // another bank
    EXPECT_FALSE(unit.State().outputs[0]);
    for (const auto& c : parser.Feed("$PKZLN,01F20E,00000000,FF,03150000FFFFFFFF*22\r\n"))
        unit.Handle(c);
    EXPECT_TRUE(unit.State().outputs[0]);
    EXPECT_TRUE(unit.State().outputs[2]);
    EXPECT_FALSE(unit.State().outputs[5]);
}

TEST(SimulatorOptions, FaultsAndCommandLine) {
    struct FaultCase {
        const char* text;
        bool ok;
    } const faults[] = {{"drop=0.1,corrupt=0.05", true},
                        {"split", true},
                        {"close=5", true},
                        {"drop=2", false},
                        {"wobble", false},
                        {"close=-1", false},
                        {"drop=x", false},
                        {"", true}};
    for (const auto& c : faults) {
        FaultPlan plan;
        std::string error;
        EXPECT_EQ(ParseFaults(c.text, plan, error), c.ok) << c.text << ": " << error;
    }
    struct OptionCase {
        std::vector<std::string> args;
        bool ok;
    } const options[] = {
        {{"--pty"}, true},
        {{"--tcp", "10001", "--mode", "frames"}, true},
        {{"--udp", "10001", "--duration", "5", "--faults", "split"}, true},
        {{"--udp", "0"}, false},
        {{"--tcp"}, false},
        {{"--mode", "text"}, false},
        {{"--pty", "--mode", "binary"}, false},
        {{"--tcp", "0", "--mode", "gateway"}, true},
        {{"--pty", "--interval", "5"}, false},
        {{"--pty", "--bogus"}, false},
    };
    for (const auto& c : options) {
        Options o;
        std::string error;
        EXPECT_EQ(ParseOptions(c.args, o, error), c.ok) << c.args.size() << " " << error;
    }
}

TEST(SimulatorFaults, DamageIsRepeatableAndSplitKeepsEveryByte) {
    FaultPlan plan;
    plan.drop = 0.1;
    plan.corrupt = 0.1;
    plan.split = true;
    FaultInjector a(plan), b(plan);
    const std::string data(1000, 'A');
    const std::string damaged = a.Damage(data);
    EXPECT_EQ(damaged, b.Damage(data));
    EXPECT_LT(damaged.size(), data.size());
    EXPECT_NE(damaged.find_first_not_of('A'), std::string::npos);
    std::string joined;
    for (const auto& piece : a.Pieces(data)) {
        EXPECT_LE(piece.size(), 24u);
        joined += piece;
    }
    EXPECT_EQ(joined, data);
}

}  // namespace
