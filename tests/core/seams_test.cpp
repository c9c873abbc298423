#include <gtest/gtest.h>

#include "core/clock.h"
#include "core/format.h"
#include "core/hex.h"
#include "core/prompt.h"

namespace {

using namespace pelor::core;

TEST(Hex, StrictAndAnyCaseDigits) {
    struct Case {
        char c;
        int strict;
        int anyCase;
    };
    const Case cases[] = {{'0', 0, 0},  {'9', 9, 9}, {'A', 10, 10}, {'F', 15, 15}, {'a', 0, 10},
                          {'f', 0, 15}, {'G', 0, 0}, {'g', 0, 0},   {' ', 0, 0},   {'\0', 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(HexDigitValue(c.c), c.strict) << c.c;
        EXPECT_EQ(HexDigitValueAnyCase(c.c), c.anyCase) << c.c;
    }
}

TEST(Hex, NumbersAndFixedWidthFields) {
    struct Case {
        const char* field;
        std::int64_t number;  // ReadHexNumber
        unsigned fixed;       // FixedHexValue, 4 digits
    };
    const Case cases[] = {
        {"01F1", 0x01F1, 0x01F1},
        {"1f", 0x1F, 0x1000},   // lower case: a digit only for the number
        {"1G23", 1, 0x1023},    // the number stops; the fixed field reads G as 0
        {"  -A", -10, 0x000A},  // blanks and sign before the number
        {"+7", 7, 0x0700},      // short field: missing places read as 0
        {"", 0, 0},
        {"FFFFFFFF", 0x7FFFFFFF, 0xFFFF},  // clamped to the signed 32-bit range
        {"-FFFFFFFF", -0x80000000LL, 0x0FFF},
        {"123456789ABCDEF0123", 0x7FFFFFFF, 0x1234},  // long digit runs do not overflow
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadHexNumber(c.field), c.number) << c.field;
        EXPECT_EQ(FixedHexValue(c.field, 4), c.fixed) << c.field;
    }
    EXPECT_EQ(HexPairValue('7', 'F'), 0x7F);
    EXPECT_EQ(HexPairValue('f', 'F'), 0x0F) << "lower case reads as 0";
}

TEST(Hex, XorChecksumMatchesWrittenSentences) {
    // The checksums as the unit writes them.
    EXPECT_EQ(XorChecksum("IIXDR,C,12.3##7F,C,BOOMVANGA"), 0x71);
    EXPECT_EQ(XorChecksum("PKZLN,00EA00,00000009,01,000000"), 0x4F);
    EXPECT_EQ(XorChecksum(""), 0);
    EXPECT_EQ(XorChecksum("\xFF\x0F"), 0xF0);
}

TEST(Format, LongResultsAreNotCut) {
    const std::string big(1000, 'z');
    EXPECT_EQ(Format("<%s>", big.c_str()), "<" + big + ">");
    std::string out = "db %";
    AppendFormat(out, "%02X;", 0x1f);
    EXPECT_EQ(out, "db %1F;");
}

TEST(ScriptedPrompt, AnswersFromItsScriptAndRecordsEverything) {
    ScriptedPrompt p;
    p.answers = {Answer::Yes};
    p.files = {std::string("/tmp/a.cdp")};
    EXPECT_EQ(p.Message("q?", "Status", MessageButtons::YesNo), Answer::Yes);
    EXPECT_EQ(p.Message("q?", "Status", MessageButtons::YesNo), Answer::No) << "empty script";
    EXPECT_EQ(p.Message("info", "Error"), Answer::Ok);
    EXPECT_EQ(p.ChooseFile({}), std::optional<std::string>("/tmp/a.cdp"));
    EXPECT_EQ(p.ChooseFile({}), std::nullopt) << "empty script cancels";
    EXPECT_EQ(p.MessageTexts(), (std::vector<std::string>{"q?", "q?", "info"}));
    EXPECT_EQ(p.FileDialogCount(), 2u);
}

TEST(ManualClock, MillisecondsCarryIntoSeconds) {
    ManualClock c(100);
    c.AdvanceMs(999);
    EXPECT_EQ(c.Now(), 100);
    c.AdvanceMs(1);
    EXPECT_EQ(c.Now(), 101);
    c.SleepMs(2500);
    EXPECT_EQ(c.Now(), 103);
    EXPECT_EQ(c.MonotonicMs(), 3500);
}

}  // namespace

#include <atomic>

#include "core/reader_thread.h"

namespace {

TEST(ReaderThread, StopsCooperativelyAndReportsASlowReader) {
    pelor::core::ReaderThread reader;
    std::atomic<int> passes{0};
    ASSERT_TRUE(reader.Start([&](std::stop_token token) {
        while (!token.stop_requested()) {
            ++passes;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }));
    EXPECT_FALSE(reader.Start([](std::stop_token) {})) << "only one reader at a time";
    while (passes.load() < 3) std::this_thread::yield();
    EXPECT_TRUE(reader.Stop());
    EXPECT_FALSE(reader.Running());

    // A body that ignores its token past the grace time is reported, then still joined.
    ASSERT_TRUE(reader.Start(
        [](std::stop_token) { std::this_thread::sleep_for(std::chrono::milliseconds(50)); }));
    EXPECT_FALSE(reader.Stop(std::chrono::milliseconds(1)));
    EXPECT_FALSE(reader.Running());
}

}  // namespace
