#include "display/screen_records.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/format.h"
#include "decode/channel_context.h"
#include "decode/n2k_formatters.h"
#include "decode/n2k_message.h"

namespace pelor::display {
namespace {

// m<code> "xxx,yyy, ff" "vvvv" "llllllll" (36 characters with the separating spaces).
std::string Record(int code, int x, int y, int frame, const char* value, const char* label) {
    return core::Format("m%03d \"%03d,%03d, %02d \" \"%-4.4s\" \"%-8.8s\" ", code, x, y, frame,
                        value, label);
}

ScreenRecordRules Rules(int type) {
    return MakeScreenRecordRules(type, DefaultGaugeStyles());
}

std::string Value(const decode::ChannelStore& s, int slot) {
    return std::string(s.m_PosValueText[slot].data(), 4);
}

TEST(ScreenRecords, TwoRecordsFillSlotsOneAndTwo) {
    decode::ChannelStore store;
    const std::string text =
        Record(79, 100, 50, 0, "12.5", "DEPTH") + Record(3, 20, 30, 47, " 850", "RPM");
    ParseScreenRecords(text, store, Rules(9));
    EXPECT_EQ(store.m_PosMode[1], kModeData);
    EXPECT_EQ(store.m_PosFrame[1], 0);
    EXPECT_EQ(store.m_PosX[1], 200);  // x 2
    EXPECT_EQ(store.m_PosY[1], 105);  // y 2.1
    EXPECT_EQ(Value(store, 1), "12.5");
    EXPECT_EQ(store.m_PosLabel[1], "DEPTH   ");
    EXPECT_EQ(store.m_PosMode[2], kModeDial);
    EXPECT_EQ(store.m_PosFrame[2], 0);  // frame 47 is the dial's first frame
    EXPECT_EQ(store.m_PosLabel[2], "RPM     ");
    EXPECT_EQ(store.m_PosMode[0], 0);
}

TEST(ScreenRecords, SixteenRecordsWrapToSlotZero) {
    decode::ChannelStore store;
    std::string text;
    for (int i = 0; i < 16; ++i)
        text += Record(79, i, 0, 0, "0000", core::Format("L%d", i).c_str());
    ParseScreenRecords(text, store, Rules(9));
    EXPECT_EQ(store.m_PosLabel[1], "L0      ");
    EXPECT_EQ(store.m_PosLabel[15], "L14     ");
    EXPECT_EQ(store.m_PosLabel[0], "L15     ");
    EXPECT_EQ(store.m_PosX[0], 30);
}

TEST(ScreenRecords, ModesFramesAndScales) {
    struct Case {
        int type;
        int code;
        int frame;
        int wantMode;
        int wantFrame;
        int wantX;  // from x = 100
        int wantY;  // from y = 100
        const char* legend;
    };
    const Case kCases[] = {
        {9, 79, 33, kModeData, 0, 200, 210, "code 079: DATA, frame 0"},
        {9, 3, 47, kModeDial, 0, 200, 210, "code 003 frame 47"},
        {9, 103, 48, kModeDial, 1, 200, 210, "frame 48 becomes 1"},
        {9, 3, 42, kModeDial, 13, 200, 210, "dial: frame - 29"},
        {9, 5, 20, kModeNone, 0, 200, 210, "code 5: nothing drawn"},
        {9, 4, 20, kModeLargeDial, 9, 200, 210, "large dial (20-2) x 0.5555"},
        {9, 2, 14, kModeLargeRamp, 9, 200, 210, "large ramp (14-2) x 0.833333 truncates"},
        {9, 6, 49, kModeBargraph, 0, 200, 210, "bargraph 49 -> 55"},
        {9, 106, 75, kModeBargraph, 10, 200, 210, "bargraph (75-55) x 0.52381"},
        {9, 7, 54, kModeBarText, 1, 200, 210, "bar text 54 -> 78"},
        {9, 8, 12, kModeHugeText, 12, 200, 210, "huge text unchanged"},
        {9, 110, 1, kModeIndicator, 0, 200, 210, "indicator frame 0"},
        {9, 70, 5, kModeLargeText, 0, 200, 210, "large text"},
        {10, 79, 0, kModeData, 0, 230, 240, "T100P: 2.3, 2.4"},
        {13, 79, 0, kModeData, 0, 170, 150, "T300L: 1.7, 1.5"},
        {14, 79, 0, kModeData, 0, 136, 120, "T400L: 1.36, 1.2"},
    };
    for (const auto& c : kCases) {
        decode::ChannelStore store;
        ParseScreenRecords(Record(c.code, 100, 100, c.frame, "1234", "LABEL"), store,
                           Rules(c.type));
        EXPECT_EQ(store.m_PosMode[1], c.wantMode) << c.legend;
        EXPECT_EQ(store.m_PosFrame[1], c.wantFrame) << c.legend;
        EXPECT_EQ(store.m_PosX[1], c.wantX) << c.legend;
        EXPECT_EQ(store.m_PosY[1], c.wantY) << c.legend;
    }
}

TEST(ScreenRecords, ThemeFrameOffsetIsSubtracted) {
    GaugeStyles styles = DefaultGaugeStyles();
    styles[kStyleDial].frameOffset = 30;
    decode::ChannelStore store;
    ParseScreenRecords(Record(3, 0, 0, 40, "0000", "X"), store, MakeScreenRecordRules(9, styles));
    EXPECT_EQ(store.m_PosFrame[1], 10);
}

TEST(ScreenRecords, TypesWithoutRecordScaleKeepGeometryButTakeTexts) {
    decode::ChannelStore store;
    store.m_PosMode[1] = kModeBargraph;
    store.m_PosX[1] = 77;
    ParseScreenRecords(Record(3, 100, 100, 47, "4321", "ENGINE"), store, Rules(1));
    EXPECT_EQ(store.m_PosMode[1], kModeBargraph);
    EXPECT_EQ(store.m_PosX[1], 77);
    EXPECT_EQ(Value(store, 1), "4321");
    EXPECT_EQ(store.m_PosLabel[1], "ENGINE  ");
}

TEST(ScreenRecords, TailKeepsWhatIsNotYetParsed) {
    struct Case {
        std::string text;
        std::string wantTail;
        int wantFilledSlots;
        const char* legend;
    };
    const std::string r = Record(79, 1, 2, 0, "0001", "A");
    const Case kCases[] = {
        {"m079 \"001", "m079 \"001", 0, "32 characters or fewer wait whole"},
        {"$IIXDR,G, 0000000,G,NOTUSED 0*00\r", "$IIXDR,G, 0000000,G,NOTUSED 0*00\r", 0,
         "no record: the text stays for the other readers"},
        {r, " ", 1, "a complete record leaves what follows it"},
        {r + "$IIXDR,G,", " $IIXDR,G,", 1, "a sentence that started after the record"},
        {r + "m079 \"001,002, 00 \" \"00", "m079 \"001,002, 00 \" \"00", 1,
         "an incomplete record waits for the rest"},
        {r + "m079 \"001,002, 00 \" \"0002\" \"B       ",
         "m079 \"001,002, 00 \" \"0002\" \"B       ", 1, "a record without its sixth quote waits"},
        {"m0X9x\"001,002, 00 \" \"0002\" \"B       \" " + r, " ", 1,
         "a malformed record is skipped"},
    };
    for (const auto& c : kCases) {
        decode::ChannelStore store;
        const std::size_t n = ParseScreenRecords(c.text, store, Rules(9));
        EXPECT_EQ(store.ReceiveText, c.wantTail) << c.legend;
        EXPECT_EQ(n, c.wantTail.size()) << c.legend;
        int filled = 0;
        for (const auto& label : store.m_PosLabel) filled += label.empty() ? 0 : 1;
        EXPECT_EQ(filled, c.wantFilledSlots) << c.legend;
    }
}

TEST(ScreenRecords, ParsingTheReceiveTextInPlaceIsSafe) {
    decode::ChannelStore store;
    store.ReceiveText = Record(79, 1, 2, 0, "0001", "A") + "m07";
    ParseScreenRecords(store.ReceiveText, store, Rules(9));
    EXPECT_EQ(store.ReceiveText, "m07");
}

}  // namespace
}  // namespace pelor::display

namespace pelor::display {
namespace {

// The screen record message (PGN 130960) scales positions by the same rule as the screen
// records: exact thousandths, so x = 100 at 2.3 is 230 on both paths (doubles gave 229).
TEST(ScreenRecords, RecordMessageScalesPositionsAsRecordsDo) {
    for (const int type : {10, 12, 13}) {
        decode::ChannelContext context;
        context.displayType = type;
        for (int x = 0; x < 1000; x += 7) {
            const int y = 999 - x;
            decode::ChannelStore viaRecord;
            ParseScreenRecords(Record(79, x, y, 0, "1234", "LABEL"), viaRecord, Rules(type));

            const std::string ascii = core::Format("xxxm079  %03d %03d  00  1234   LABEL   ", x, y);
            const std::vector<std::uint8_t> payload(ascii.begin(), ascii.end());
            decode::ChannelStore viaMessage;
            decode::ApplyScreenRecordMessage(viaMessage, context,
                                             decode::N2KMessage{130960, payload});
            ASSERT_EQ(viaMessage.m_PosX[0], viaRecord.m_PosX[1]) << type << " x " << x;
            ASSERT_EQ(viaMessage.m_PosY[0], viaRecord.m_PosY[1]) << type << " y " << y;
        }
        decode::ChannelStore store;
        const std::string ascii = "xxxm079  100 100  00  1234   LABEL   ";
        decode::ApplyScreenRecordMessage(
            store, context,
            decode::N2KMessage{130960, std::vector<std::uint8_t>(ascii.begin(), ascii.end())});
        EXPECT_EQ(store.m_PosX[0], type == 13 ? 170 : 230) << type;
    }
}

}  // namespace
}  // namespace pelor::display
