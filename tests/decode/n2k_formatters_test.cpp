#include "decode/n2k_formatters.h"

#include <gtest/gtest.h>

#include <string>

#include "decode/decode_fixture.h"

namespace pelor::decode {
namespace {

using testing::MakeFixture;
using testing::Payload;

struct FormatCase {
    const char* legend;
    std::uint32_t pgn;
    Payload payload;
    int group, instance, field;
    std::string want;  // whole work text; "........" = channel not updated
};

N2KMessage Message(std::uint32_t pgn, const Payload& p) {
    return {pgn, p.bytes};
}

TEST(N2KFormatters, ValueTextsByGroupAndField) {
    const std::string kNone = "........";
    const FormatCase kCases[] = {
        {"apparent wind speed 5 m/s", 130306, Payload(8).U16(1, 500).U8(5, 2), 8, 0, 0, " 9.7##1E"},
        {"apparent wind speed needs reference 2", 130306, Payload(8).U16(1, 500).U8(5, 0), 8, 0, 0,
         kNone},
        {"true wind speed, reference 0", 130306, Payload(8).U16(1, 500).U8(5, 0xF8), 8, 0, 2,
         " 9.7##1E"},
        {"wind angle 180 degrees", 130306, Payload(8).U16(3, 31416).U8(5, 2), 8, 0, 1, " 180##FB"},
        {"wind angle 120 degrees", 130306, Payload(8).U16(3, 20944).U8(5, 2), 8, 0, 1, " 120##D1"},
        {"true wind angle", 130306, Payload(8).U16(3, 20944).U8(5, 0), 8, 0, 3, " 120##D1"},
        {"heading 359", 127250, Payload(8).U16(1, 62831), 9, 0, 0, " 359##83"},
        {"heading 360 is out of range", 127250, Payload(8).U16(1, 62832), 9, 0, 0, "----##00"},
        {"deviation 181 degrees", 127250, Payload(8).U16(3, 31591), 9, 0, 1, " 181##04"},
        {"pitch just below zero", 127257, Payload(8).U16(3, 0xFF9C), 10, 0, 0, "   0##7C"},
        {"negative roll", 127257, Payload(8).U16(5, 0xFC18), 10, 0, 1, "----##80"},
        {"field code not listed", 127257, Payload(8), 10, 0, 5, kNone},
        {"air temperature 298.15 K", 130311, Payload(8).U16(2, 29815), 6, 0, 0, "  76##A5"},
        {"environment instance from byte 1", 130311, Payload(8).U8(1, 0x93).U16(2, 29815), 6, 3, 0,
         "  76##A5"},
        {"environment other instance", 130311, Payload(8).U8(1, 0x04).U16(2, 29815), 6, 3, 0,
         kNone},
        {"pressure 1013 hPa", 130311, Payload(8).U16(6, 1013), 6, 0, 2, "29.9##98"},
        {"engine speed 3000 rpm", 127488, Payload(8).U8(0, 1).U16(1, 12000), 1, 1, 0, "3000##78"},
        {"engine of other instance", 127488, Payload(8).U8(0, 2).U16(1, 12000), 1, 1, 0, kNone},
        {"boost pressure", 127488, Payload(8).U16(3, 2000), 1, 0, 1, "  29##B8"},
        {"tilt/trim", 127488, Payload(8).U8(5, 50), 1, 0, 2, "  50##80"},
        {"engine temperature", 127489, Payload(26).U16(5, 35315), 2, 0, 0, " 175##B4"},
        {"oil temperature in 0.1 K", 127489, Payload(26).U16(3, 3500), 2, 0, 2, " 170##6D"},
        {"alternator 14.2 V", 127489, Payload(26).U16(7, 1420), 2, 0, 3, "14.2##96"},
        {"fuel rate above 3760 reads 3769", 127489, Payload(26).U16(9, 4000), 2, 0, 4, "99.5##FF"},
        {"coolant pressure", 127489, Payload(26).U16(15, 2000), 2, 0, 6, "  29##C8"},
        {"fuel pressure", 127489, Payload(26).U16(17, 1000), 2, 0, 7, " 145##C8"},
        {"low oil pressure set", 127489, Payload(26).U16(20, 0x0004), 2, 0, 10, "  ON##FF"},
        {"check engine clear", 127489, Payload(26).U16(20, 0x0004), 2, 0, 8, " OFF##00"},
        {"battery 12.5 V", 127508, Payload(8).U16(1, 1250), 3, 0, 0, "12.5##84"},
        {"battery current negative", 127508, Payload(8).U16(3, 0xFFFB), 3, 0, 1, "  -5##00"},
        {"battery current double level", 127508, Payload(8).U16(3, 100), 3, 0, 3, " 100##C8"},
        {"battery temperature", 127508, Payload(8).U16(5, 29815), 3, 0, 2, "  76##4F"},
        {"fuel tank 100 percent", 127505, Payload(8).U8(0, 0x12).U16(1, 25000), 4, 2, 1,
         " 100##FA"},
        {"fluid type must match field code", 127505, Payload(8).U8(0, 0x12).U16(1, 25000), 4, 2, 0,
         kNone},
        {"transmission oil pressure", 127493, Payload(8).U16(2, 3000), 5, 0, 0, "  44##1E"},
        {"transmission oil temperature", 127493, Payload(8).U16(4, 3500), 5, 0, 1, " 170##AE"},
        {"station wind speed", 130323, Payload(30).U16(15, 1000), 7, 0, 0, "19.4##3C"},
        {"station wind direction", 130323, Payload(30).U16(17, 20944), 7, 0, 1, " 120##D1"},
        {"station pressure", 130323, Payload(30).U16(22, 1013), 7, 0, 2, "29.9##98"},
        {"station temperature", 130323, Payload(30).U16(24, 29815), 7, 0, 3, "  76##A5"},
        {"rate of turn", 127251, Payload(8).U32(1, 64000000), 11, 0, 9, "   2##01"},
        {"rate of turn negative wraps the level", 127251, Payload(8).U32(1, 0xECED3000), 11, 0, 0,
         " -10##F9"},
        {"sea temperature, source below 0x80", 130312,
         Payload(8).U8(1, 3).U8(2, 0x01).U16(3, 29815), 12, 3, 0x01, "  76##4F"},
        {"temperature source 0x83", 130312, Payload(8).U8(1, 3).U8(2, 0x83).U16(3, 29815), 12, 3,
         0x83, "  76##0C"},
        {"temperature source 0x90", 130312, Payload(8).U8(1, 3).U8(2, 0x90).U16(3, 32315), 12, 3,
         0x90, " 121##0D"},
        {"temperature source byte compared whole", 130312,
         Payload(8).U8(1, 3).U8(2, 0x83).U16(3, 29815), 12, 3, 0x03, kNone},
        {"rudder 9 degrees", 127245, Payload(8).U16(4, 1745), 13, 0, 0, "   9##86"},
        {"rudder order negative", 127245, Payload(8).U16(2, 0xF92F), 13, 0, 1, "  -9##79"},
        {"indicator 2 on", 127501, Payload(8).U8(1, 0x04), 14, 0, 2, "  ON##FF"},
        {"indicator 1 error", 127501, Payload(8).U8(1, 0x02), 14, 0, 1, " ERR##00"},
        {"indicator 8 undefined", 127501, Payload(8).U8(2, 0xC0), 14, 0, 14, "UNDF##00"},
        {"indicator 5 off", 127501, Payload(8).U8(2, 0xFC), 14, 0, 8, " OFF##00"},
        {"indicator past the payload reads off", 127501, Payload(8, 0xFF).U8(0, 0), 14, 0, 120,
         " OFF##00"},
        {"course over ground", 129026, Payload(8).U16(2, 31416), 15, 0, 1, " 180##FB"},
        {"speed over ground", 129026, Payload(8).U16(4, 500), 15, 0, 0, " 9.7##1E"},
        {"course reference must match", 129026, Payload(8).U8(1, 1).U16(4, 500), 15, 0, 0, kNone},
        {"field code 2 shows nothing", 129026, Payload(8).U16(4, 500), 15, 0, 2, kNone},
        {"short payload reads zeros past its end", 130306, Payload(2).U8(1, 0xF4), 8, 0, 2,
         " 4.7##0E"},
    };
    for (const auto& c : kCases) {
        auto f = MakeFixture();
        f->Capture(0);
        f->MapN2K(0, c.group, c.instance, c.field);
        f->MapN2K(1, c.group ^ 1, c.instance, c.field);  // other group: never updated
        f->Capture(1);
        const N2KMessage m = Message(c.pgn, c.payload);
        if (c.pgn == 127501) {
            FormatSwitchBank(f->store, f->context, m);
        } else {
            FormatN2KChannels(f->store, f->context, m);
        }
        EXPECT_EQ(f->Work(0), c.want) << c.legend;
        EXPECT_EQ(f->Work(1), "........") << c.legend;
    }
}

// A payload as a capture listing writes it: "50,ff,7f,be".
Payload FromListing(std::string_view listing) {
    Payload p(0);
    for (std::size_t i = 0; i + 1 < listing.size(); i += 3)
        p.bytes.push_back(
            static_cast<std::uint8_t>(std::stoi(std::string(listing.substr(i, 2)), nullptr, 16)));
    return p;
}

// Messages from real captures (derived/bench-n2k-158k.ngt1, canboat/ydnu-02-raymarine-ev1.dle,
// derived/susteranna-first150.ngt1) whose fields hold "not available": such a field leaves
// its channel as it was, while the readings beside it in the same message are shown.
TEST(N2KFormatters, NoDataFieldsFromRealCapturesLeaveTheChannelAlone) {
    const std::string kNone = "........";
    const char* kEngine =
        "0c,00,00,ff,ff,6a,7b,64,0a,ff,ff,b8,01,28,00,ff,ff,ff,ff,ff,00,00,00,00,ff,ff";
    const FormatCase kCases[] = {
        {"fluid level 0x7FFF (was 131 %)", 127505, FromListing("50,ff,7f,be,11,00,00,ff"), 4, 0, 5,
         kNone},
        {"fuel level 25000 beside it", 127505, FromListing("05,a8,61,78,7b,00,00,ff"), 4, 5, 0,
         " 100##FA"},
        {"rudder position 0x7FFF (was 187 degrees)", 127245, FromListing("00,ff,ff,7f,ff,7f,ff,ff"),
         13, 0, 0, kNone},
        {"rudder order 0x7FFF", 127245, FromListing("00,ff,ff,7f,ff,7f,ff,ff"), 13, 0, 1, kNone},
        {"rudder order 0x0A23 is a reading", 127245, FromListing("00,ff,23,0a,fa,09,ff,ff"), 13, 0,
         1, "  14##89"},
        {"boost 0xFFFF (was 951 psi)", 127488, FromListing("00,76,0c,ff,ff,7f,ff,ff"), 1, 0, 1,
         kNone},
        {"engine speed beside it", 127488, FromListing("00,76,0c,ff,ff,7f,ff,ff"), 1, 0, 0,
         " 797##1F"},
        {"oil temperature 0xFFFF (was 11335##F)", 127489, FromListing(kEngine), 2, 12, 2, kNone},
        {"engine temperature beside it", 127489, FromListing(kEngine), 2, 12, 0, " 107##6E"},
        {"alternator beside it", 127489, FromListing(kEngine), 2, 12, 3, "26.6##FF"},
        {"fuel rate 0xFFFF (was 99.5)", 127489, FromListing(kEngine), 2, 12, 4, kNone},
        {"coolant pressure 0xFFFF", 127489, FromListing(kEngine), 2, 12, 6, kNone},
        {"fuel pressure 0xFFFF", 127489, FromListing(kEngine), 2, 12, 7, kNone},
        {"discrete status is a bit field, shown", 127489, FromListing(kEngine), 2, 12, 8,
         " OFF##00"},
        {"battery temperature 401.15 K is unsigned (was -916)", 127508,
         FromListing("03,64,0a,13,00,b3,9c,ff"), 3, 3, 2, " 262##FF"},
        {"deviation 0x7FFF", 127250, FromListing("ff,30,c2,ff,7f,ff,7f,fd"), 9, 0, 1, kNone},
        {"heading beside it", 127250, FromListing("ff,30,c2,ff,7f,ff,7f,fd"), 9, 0, 0, " 284##4D"},
        {"course over ground 0xFFFF", 129026, FromListing("00,fc,ff,ff,00,00,ff,ff"), 15, 0, 1,
         kNone},
        {"signed 32-bit rate of turn 0x7FFFFFFF", 127251, Payload(8).U32(1, 0x7FFFFFFF), 11, 0, 0,
         kNone},
        {"unsigned 8-bit tilt 0xFD (reserved)", 127488, Payload(8).U8(5, 0xFD), 1, 0, 2, kNone},
        {"unsigned 8-bit tilt 0xFC is a reading", 127488, Payload(8).U8(5, 0xFC), 1, 0, 2,
         " 252##FF"},
        {"wind speed 0xFFFE (error)", 130306, Payload(8).U16(1, 0xFFFE).U8(5, 2), 8, 0, 0, kNone},
        {"wind speed 0xFFFC is a reading", 130306, Payload(8).U16(1, 0xFFFC).U8(5, 2), 8, 0, 0,
         "1274##FF"},
    };
    for (const auto& c : kCases) {
        auto f = MakeFixture();
        f->Capture(0);
        f->MapN2K(0, c.group, c.instance, c.field);
        FormatN2KChannels(f->store, f->context, Message(c.pgn, c.payload));
        EXPECT_EQ(f->Work(0), c.want) << c.legend;
    }
}

// A value wider than its 4 places never pushes the level digits out of the value text.
TEST(N2KFormatters, WideValuesKeepTheLevelDigits) {
    const FormatCase kCases[] = {
        {"engine speed 16383 rpm", 127488, Payload(8).U16(1, 65532), 1, 0, 0, "----##FF"},
        {"oil temperature 6553 K", 127489, Payload(26).U16(3, 65532), 2, 0, 2, "----##FF"},
        {"battery 123.4 V drops its decimal", 127508, Payload(8).U16(1, 12340), 3, 0, 0,
         " 123##FF"},
        {"battery -123.4 V", 127508, Payload(8).U16(1, 0xCFCC), 3, 0, 0, "-123##00"},
        {"battery current -1000 A", 127508, Payload(8).U16(3, 0xFC18), 3, 0, 1, "----##00"},
    };
    for (const auto& c : kCases) {
        auto f = MakeFixture();
        f->Capture(0);
        f->MapN2K(0, c.group, c.instance, c.field);
        FormatN2KChannels(f->store, f->context, Message(c.pgn, c.payload));
        EXPECT_EQ(f->Work(0), c.want) << c.legend;
    }
}

TEST(N2KFormatters, EveryMappedChannelOfTheGroupIsUpdated) {
    auto f = MakeFixture();
    for (int c = 0; c < 16; ++c) {
        f->Capture(c);
        f->MapN2K(c, 9, 0, c % 2);
    }
    FormatN2KChannels(f->store, f->context,
                      Message(127250, Payload(8).U16(1, 20944).U16(3, 31416)));
    for (int c = 0; c < 16; ++c) EXPECT_EQ(f->Work(c), c % 2 ? " 180##FB" : " 120##D1") << c;
}

TEST(N2KFormatters, FormatterChecksThePgn) {
    auto f = MakeFixture();
    f->Capture(0);
    f->MapN2K(0, 9, 0, 0);
    FormatN2KChannels(f->store, f->context, Message(127251, Payload(8).U16(1, 20944)));
    EXPECT_EQ(f->Work(0), "........");
}

TEST(N2KFormatters, OwnSwitchBankSetsSwitchStatesOnly) {
    auto f = MakeFixture();
    f->context.switchBankInstance = 3;
    f->Capture(0);
    f->MapN2K(0, 14, 3, 0);
    // Indicators 1 on, 2 off, 3 error, 4 on | 5..8 on | 9 on, 10..12 off.
    FormatSwitchBank(f->store, f->context,
                     Message(127501, Payload(8).U8(0, 3).U8(1, 0x61).U8(2, 0x55).U8(3, 0x01)));
    const std::array<std::uint8_t, 12> want{1, 0, 0, 1, 1, 1, 1, 1, 1, 0, 0, 0};
    EXPECT_EQ(f->store.SwitchState, want);
    EXPECT_EQ(f->view.ButtonPicture(1534), "SWON32");
    EXPECT_EQ(f->view.ButtonPicture(1535), "");
    EXPECT_EQ(f->Work(0), "........");
}

TEST(N2KFormatters, SystemTimeFromTheChosenSource) {
    struct Case {
        const char* legend;
        int timeSource;
        int sourceByte;
        unsigned days;
        std::uint32_t tenthsOfMs;
        std::string want;
    };
    const Case kCases[] = {
        {"source 0 ignored", 0, 0, 19000, 0, ""},
        {"source 2 accepts 1", 2, 0x31, 19000, 45296u * 10000u, "  System Time 01/08/22  12:34:56"},
        {"other source", 2, 0x32, 19000, 0, ""},
        {"days unknown is 1970", 1, 0x00, 0xFFFF, 0, "  System Time 01/01/70  00:00:00"},
    };
    for (const auto& c : kCases) {
        auto f = MakeFixture();
        f->context.n2kTimeSource = c.timeSource;
        FormatSystemTime(f->store, f->context,
                         Message(126992, Payload(8)
                                             .U8(1, static_cast<unsigned>(c.sourceByte))
                                             .U16(2, c.days)
                                             .U32(4, c.tenthsOfMs)));
        EXPECT_EQ(f->store.SystemTimeText, c.want) << c.legend;
    }
}

Payload ScreenRecord(const std::string& ascii) {
    Payload p(ascii.size());
    for (std::size_t i = 0; i < ascii.size(); ++i) p.U8(i, static_cast<unsigned char>(ascii[i]));
    return p;
}

// Payload with the record's fields at their byte positions.
std::string Record(const std::string& type, const std::string& x, const std::string& y,
                   const std::string& frame, const std::string& value, const std::string& label) {
    std::string r = "xxxm    \"        \"    \"  \"        ";
    r.replace(4, 3, type);
    r.replace(9, 3, x);
    r.replace(13, 3, y);
    r.replace(18, 2, frame);
    r.replace(22, 4, value);
    r.replace(29, 8, label);
    return r;
}

TEST(N2KFormatters, ScreenRecordMessageFillsSlotZero) {
    const std::string rec = Record("003", "100", "050", "47", "12.5", "BOATSPD ");
    struct Case {
        const char* legend;
        int displayType;
        int dialOffset;
        int x, y, mode, frame;
    };
    const Case kCases[] = {
        {"T100L scales 2.4, 1.99", 9, 255, 240, 99, 6, 19},
        {"T100P scales 2.3, 2.4 (exact thousandths)", 10, 255, 230, 120, 6, 19},
        {"T400L scales 1.7, 1.5", 14, 255, 170, 75, 6, 19},
        {"theme frame offset", 9, 7, 240, 99, 6, 40},
        {"type 0 keeps geometry", 0, 255, 0, 0, 0, 0},
    };
    for (const auto& c : kCases) {
        auto f = MakeFixture();
        f->context.displayType = c.displayType;
        f->context.frameOffsets[1] = c.dialOffset;
        ApplyScreenRecordMessage(f->store, f->context, Message(130960, ScreenRecord(rec)));
        EXPECT_EQ(f->labelStrings[0], "BOATSPD ") << c.legend;
        EXPECT_EQ(f->Shown(0).substr(0, 4), "12.5") << c.legend;
        EXPECT_EQ(f->store.m_PosX[0], c.x) << c.legend;
        EXPECT_EQ(f->store.m_PosY[0], c.y) << c.legend;
        EXPECT_EQ(f->store.m_PosMode[0], c.mode) << c.legend;
        EXPECT_EQ(f->store.m_PosFrame[0], c.frame) << c.legend;
    }
}

TEST(N2KFormatters, ScreenRecordFrameCorrections) {
    struct Case {
        const char* legend;
        std::string type, frame;
        int mode, want;
    };
    const Case kCases[] = {
        {"dial frame 29 is 0", "003", "29", 6, 0},
        {"dial frame 73 maps 47 to 29", "003", "73", 6, 29},
        {"dial frame 74 maps 48 to 30", "003", "74", 6, 30},
        {"large ramp", "002", "20", 9, 9},
        {"other codes kept as mode and frame", "079", "12", 79, 12},
        {"missing digits read 0", "  3", "  ", 6, -31},
    };
    for (const auto& c : kCases) {
        auto f = MakeFixture();
        f->context.displayType = 6;
        const std::string rec =
            "xxxm" + c.type + " \"100 050  " + c.frame + "\" \"12.5\"  \"BOATSPD \"";
        ApplyScreenRecordMessage(f->store, f->context, Message(130960, ScreenRecord(rec)));
        EXPECT_EQ(f->store.m_PosMode[0], c.mode) << c.legend;
        EXPECT_EQ(f->store.m_PosFrame[0], c.want) << c.legend;
    }
}

TEST(N2KFormatters, ScreenRecordMessageShortPayload) {
    auto f = MakeFixture();
    f->context.displayType = 6;
    f->labelStrings[0] = "OLD";
    ApplyScreenRecordMessage(f->store, f->context, Message(130960, ScreenRecord("xxxm003")));
    EXPECT_EQ(f->labelStrings[0], "");
    EXPECT_EQ(f->store.m_PosMode[0], 6);
    EXPECT_EQ(f->Shown(0).substr(0, 4), std::string(4, '\0'));
}

// One route table serves both forms: what each form decodes and where it is handed.
TEST(N2KFormatters, RouteTable) {
    EXPECT_EQ(FindTextRoute(129025)->text.decodeAs, 129026u);
    EXPECT_EQ(FindTextRoute(127489)->text.bytes, 26);
    EXPECT_EQ(FindTextRoute(130323)->text.bytes, 30);
    EXPECT_EQ(FindTextRoute(65281)->formatter, nullptr);
    EXPECT_EQ(FindTextRoute(130960), nullptr);    // binary form only
    EXPECT_EQ(FindBinaryRoute(129026), nullptr);  // text form only
    EXPECT_EQ(FindBinaryRoute(130960)->formatter, ApplyScreenRecordMessage);
    EXPECT_EQ(FindBinaryRoute(127501)->formatter, FormatSwitchBank);
    EXPECT_EQ(FindBinaryRoute(59904), nullptr);
    EXPECT_EQ(FindN2KRoute(59904), nullptr);
    // Both forms of a PGN find the same row; 129025 sentences feed the channels of 129026.
    EXPECT_EQ(FindTextRoute(130306), FindBinaryRoute(130306));
    EXPECT_EQ(FindN2KRoute(FindTextRoute(129025)->text.decodeAs)->group, 0xF);
}

}  // namespace
}  // namespace pelor::decode
