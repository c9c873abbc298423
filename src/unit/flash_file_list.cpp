#include "unit/flash_file_list.h"

#include "core/format.h"

namespace pelor::unit {

namespace {

struct FlashRowText {
    const char* label;  // the calibration rows take the table's name
    const char* caption;
    const char* address;
};

constexpr FlashRowText kRows[kFlashRowCount] = {
    {"Display Labels File", "FLASH0", "6800"},  {"Page File Name", "FLASH1", "7000"},
    {"Options File Name", "FLASH2", "7800"},    {"Cal Table 0  - %s ", "FLASH3", "0800"},
    {"Cal Table 1  - %s ", "FLASH4", "1000"},   {"Cal Table 2  - %s ", "FLASH5", "1800"},
    {"Cal Table 3  - %s ", "FLASH6", "2000"},   {"Cal Table 4  - %s ", "FLASH7", "2800"},
    {"Cal Table 5  - %s ", "FLASH8", "3000"},   {"Cal Table 6  - %s ", "FLASH9", "3800"},
    {"Cal Table 7  - %s ", "FLASH10", "4000"},  {"Cal Table 8  - %s ", "FLASH11", "4800"},
    {"Cal Table 9  - %s ", "FLASH12", "5000"},  {"Cal Table 10  - %s ", "FLASH13", "5800"},
    {"Cal Table 11  - %s ", "FLASH14", "6000"},
};

}  // namespace

std::array<FlashListRow, kFlashRowCount> FlashListRows(
    int modelCode, const std::array<std::string, kFlashRowCount>& paths,
    const std::array<std::string, 12>& calibrationNames) {
    const bool known = modelCode >= 0 && modelCode <= 14;
    std::array<FlashListRow, kFlashRowCount> rows;
    for (int r = 0; r < kFlashRowCount; ++r) {
        auto& row = rows[static_cast<std::size_t>(r)];
        const FlashRowText& option = kRows[r];
        row.label = r >= 3 ? core::Format(option.label,
                                          calibrationNames[static_cast<std::size_t>(r - 3)].c_str())
                           : option.label;
        row.path = paths[static_cast<std::size_t>(r)];
        row.caption = option.caption;
        row.address = known ? option.address : (r == kFlashRowCount - 1 ? "D800" : "");
    }
    return rows;
}

}  // namespace pelor::unit
