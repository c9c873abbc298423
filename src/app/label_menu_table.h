#pragma once
// The label menus: one popup per label 0..15 with its display-mode items in order, and the
// command id of every (label, mode) pair. Labels 12..15 have no INDICATOR item.
#include <array>
#include <optional>

namespace pelor::app {

inline constexpr int kLabelMenuCount = 16;
inline constexpr int kLabelMenuItemCount = 12;
inline constexpr int kLabelMenuFirstId = 32788;
inline constexpr int kLabelMenuLastId = 32977;

struct LabelMenuItem {
    const char* text;  // the gauge style name the menu shows
    int mode;          // display mode code it selects
};

// Item order of every label popup (the INDICATOR item is left out for labels 12..15).
inline constexpr std::array<LabelMenuItem, kLabelMenuItemCount> kLabelMenuItems = {{
    {"TEXT", 1},
    {"--------", 2},
    {"HBars", 4},
    {"Indicator", 5},
    {"SmallDial", 6},
    {"HalfDial", 8},
    {"LargeDial", 9},
    {"SmallText", 12},
    {"LargeText", 10},
    {"VBars", 11},
    {"HugeText", 13},
    {"NONE", 0},
}};

// The command id of item `item` (index into kLabelMenuItems) of label `label`'s popup, or 0
// where there is none (INDICATOR of labels 12..15, anything out of range).
int LabelMenuCommandId(int label, int item);

struct LabelMenuChoice {
    int label;
    int mode;
};

// The label and mode a command id selects; nothing for ids outside the label menus.
std::optional<LabelMenuChoice> LabelMenuChoiceFor(int commandId);

}  // namespace pelor::app
