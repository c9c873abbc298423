// The OPTIONS page's byte map: every field, at each value the page lets through, is written by
// PREFSAVE into the bytes its row names and read back by OPEN as the same value, and setting one
// field changes no other field's bytes.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "prefs/options_page.h"

namespace pelor::prefs {
namespace {

using F = OptionsField;

// The values the page can give a field: each choice or button, a number's ends and middle.
std::vector<int> LegalValues(const OptionsFieldRow& row) {
    switch (row.kind) {
        case FieldKind::Radio:
            return row.values;
        case FieldKind::Check:
        case FieldKind::Choice: {
            std::vector<int> all;
            for (int v = row.min; v <= row.max; ++v) all.push_back(v);
            return all;
        }
        case FieldKind::Number:
            break;
    }
    const std::set<int> some = {row.min, row.min + 1, (row.min + row.max) / 2, row.max - 1,
                                row.max};
    return {some.begin(), some.end()};
}

// Bytes PREFSAVE derives from several fields (the serial input byte, timer 2 and the base
// timer byte) besides the field's own.
bool IsDerived(std::size_t byte) {
    return byte == 16 || byte == 216 || byte == 217 || byte == 220;
}

TEST(OptionsByteMap, EveryFieldRoundTripsThroughItsOwnBytes) {
    // A page that reads back as itself: zeros written once and read again.
    const OptionsPage start = OptionsPageFromTable(
        BuildOptionsTable(OptionsPageFromTable(OptionsTable{}, 100, ""), OptionsTable{}), 100, "");
    const OptionsTable startBytes = BuildOptionsTable(start, OptionsTable{});
    ASSERT_EQ(OptionsPageFromTable(startBytes, 100, "").fields, start.fields);

    int checked = 0;
    for (const auto& row : OptionsFieldRows()) {
        if (row.bits.byte < 0) continue;  // the display scale is kept by the application
        const auto own = static_cast<std::size_t>(row.bits.byte);
        for (const int v : LegalValues(row)) {
            const std::string legend = std::string(row.caption) + " = " + std::to_string(v);
            OptionsPage page = start;
            page[row.id] = v;
            const OptionsTable bytes = BuildOptionsTable(page, OptionsTable{});
            for (std::size_t b = 0; b < bytes.size(); ++b) {
                const bool ownByte = b == own || (row.bits.width == 16 && b == own + 1);
                if (!ownByte && !IsDerived(b)) {
                    EXPECT_EQ(bytes[b], startBytes[b]) << legend << ": byte " << b << " changed";
                }
            }
            OptionsPage back = OptionsPageFromTable(bytes, 100, "");
            OptionsPage want = page;
            // Both serial inputs clear are written as USB on.
            if (row.id == F::SerialInUsb && v == 0 && page[F::SerialInSerial] == 0) {
                want[F::SerialInUsb] = 1;
            }
            // A pulse input's time base replaces timer 2 (checked byte by byte elsewhere).
            back[F::Timer2] = want[F::Timer2];
            EXPECT_EQ(back.fields, want.fields) << legend;
            ++checked;
        }
    }
    EXPECT_GT(checked, 0);
}

// The rows' columns stay inside the table and every field but the display scale is in it.
TEST(OptionsByteMap, ColumnsNameBytesOfTheOptionsTable) {
    for (const auto& row : OptionsFieldRows()) {
        const OptionsBits& at = row.bits;
        if (row.id == F::DisplayScale) {
            EXPECT_EQ(at.byte, -1);
            continue;
        }
        EXPECT_GE(at.byte, 0) << row.caption;
        EXPECT_LT(at.byte + (at.width == 16 ? 1 : 0), 256) << row.caption;
        if (at.width != 16) {
            EXPECT_LE(at.bit + at.width, 8) << row.caption;
        }
        if (at.rule == BitRule::Flag || at.rule == BitRule::Cleared) {
            EXPECT_TRUE(at.width == 1 || (at.bit == 0 && at.width == 8)) << row.caption;
        }
    }
}

}  // namespace
}  // namespace pelor::prefs
