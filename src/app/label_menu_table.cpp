#include "app/label_menu_table.h"

namespace pelor::app {

namespace {

// Rows: label 0..15; columns: the items of kLabelMenuItems in order. 0: no item.
constexpr int kIds[kLabelMenuCount][kLabelMenuItemCount] = {
    {32789, 32790, 32791, 32946, 32792, 32896, 32910, 32844, 32845, 32930, 32950, 32819},
    {32788, 32798, 32805, 32947, 32812, 32897, 32911, 32846, 32847, 32931, 32951, 32820},
    {32793, 32799, 32806, 32948, 32813, 32898, 32912, 32849, 32848, 32932, 32952, 32821},
    {32794, 32800, 32807, 32949, 32814, 32899, 32913, 32875, 32850, 32933, 32953, 32822},
    {32795, 32801, 32808, 32966, 32815, 32900, 32914, 32852, 32851, 32934, 32954, 32823},
    {32796, 32802, 32809, 32973, 32816, 32901, 32915, 32854, 32853, 32935, 32955, 32824},
    {32797, 32803, 32810, 32967, 32817, 32902, 32916, 32856, 32855, 32936, 32956, 32825},
    {32843, 32804, 32811, 32968, 32818, 32903, 32917, 32858, 32857, 32937, 32957, 32826},
    {32827, 32926, 32884, 32969, 32889, 32904, 32918, 32860, 32859, 32938, 32958, 32830},
    {32828, 32927, 32885, 32970, 32890, 32905, 32919, 32862, 32861, 32939, 32959, 32831},
    {32829, 32928, 32886, 32971, 32891, 32906, 32920, 32864, 32863, 32940, 32960, 32832},
    {32836, 32929, 32887, 32972, 32892, 32907, 32921, 32866, 32865, 32941, 32961, 32833},
    {32838, 32977, 32888, 0, 32893, 32909, 32922, 32868, 32867, 32942, 32962, 32834},
    {32837, 32976, 32895, 0, 32894, 32908, 32923, 32870, 32869, 32943, 32963, 32835},
    {32839, 32880, 32881, 0, 32882, 32883, 32924, 32872, 32871, 32944, 32964, 32841},
    {32840, 32876, 32877, 0, 32878, 32879, 32925, 32874, 32873, 32945, 32965, 32842},
};

}  // namespace

int LabelMenuCommandId(int label, int item) {
    if (label < 0 || label >= kLabelMenuCount || item < 0 || item >= kLabelMenuItemCount) return 0;
    return kIds[label][item];
}

std::optional<LabelMenuChoice> LabelMenuChoiceFor(int commandId) {
    if (commandId < kLabelMenuFirstId || commandId > kLabelMenuLastId) return std::nullopt;
    for (int label = 0; label < kLabelMenuCount; ++label) {
        for (int item = 0; item < kLabelMenuItemCount; ++item) {
            if (kIds[label][item] == commandId) {
                return LabelMenuChoice{label, kLabelMenuItems[static_cast<std::size_t>(item)].mode};
            }
        }
    }
    return std::nullopt;
}

}  // namespace pelor::app
