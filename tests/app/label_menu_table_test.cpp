#include "app/label_menu_table.h"

#include <gtest/gtest.h>

#include <set>

namespace pelor::app {
namespace {

TEST(LabelMenuTable, EveryIdMapsToItsLabelAndMode) {
    // Ids as listed per label, columns in menu item order; 0 where the item is missing.
    struct Row {
        int label;
        int ids[12];
    };
    const Row kRows[] = {
        {0, {32789, 32790, 32791, 32946, 32792, 32896, 32910, 32844, 32845, 32930, 32950, 32819}},
        {7, {32843, 32804, 32811, 32968, 32818, 32903, 32917, 32858, 32857, 32937, 32957, 32826}},
        {12, {32838, 32977, 32888, 0, 32893, 32909, 32922, 32868, 32867, 32942, 32962, 32834}},
        {15, {32840, 32876, 32877, 0, 32878, 32879, 32925, 32874, 32873, 32945, 32965, 32842}},
    };
    const int kModes[12] = {1, 2, 4, 5, 6, 8, 9, 12, 10, 11, 13, 0};
    for (const auto& row : kRows) {
        for (int item = 0; item < 12; ++item) {
            EXPECT_EQ(LabelMenuCommandId(row.label, item), row.ids[item])
                << "label " << row.label << " item " << item;
            if (row.ids[item] == 0) continue;
            const auto choice = LabelMenuChoiceFor(row.ids[item]);
            ASSERT_TRUE(choice.has_value()) << row.ids[item];
            EXPECT_EQ(choice->label, row.label) << row.ids[item];
            EXPECT_EQ(choice->mode, kModes[item]) << row.ids[item];
        }
    }
}

TEST(LabelMenuTable, The188IdsAreDistinctAndRoundTrip) {
    std::set<int> ids;
    for (int label = 0; label < kLabelMenuCount; ++label) {
        for (int item = 0; item < kLabelMenuItemCount; ++item) {
            const int id = LabelMenuCommandId(label, item);
            const bool indicator = kLabelMenuItems[static_cast<std::size_t>(item)].mode == 5;
            if (indicator && label >= 12) {
                EXPECT_EQ(id, 0) << "labels 12..15 have no INDICATOR";
                continue;
            }
            ASSERT_GE(id, kLabelMenuFirstId);
            ASSERT_LE(id, kLabelMenuLastId);
            ids.insert(id);
            const auto choice = LabelMenuChoiceFor(id);
            ASSERT_TRUE(choice.has_value());
            EXPECT_EQ(choice->label, label);
            EXPECT_EQ(choice->mode, kLabelMenuItems[static_cast<std::size_t>(item)].mode);
        }
    }
    EXPECT_EQ(ids.size(), 188u);
    // The two unused ids of the range and ids outside it select nothing.
    int unused = 0;
    for (int id = kLabelMenuFirstId; id <= kLabelMenuLastId; ++id)
        if (ids.count(id) == 0) {
            EXPECT_FALSE(LabelMenuChoiceFor(id).has_value()) << id;
            ++unused;
        }
    EXPECT_EQ(unused, 2);
    EXPECT_FALSE(LabelMenuChoiceFor(1181).has_value());
    EXPECT_FALSE(LabelMenuChoiceFor(32978).has_value());
    EXPECT_EQ(LabelMenuCommandId(16, 0), 0);
    EXPECT_EQ(LabelMenuCommandId(0, 12), 0);
}

}  // namespace
}  // namespace pelor::app
