#pragma once
// The rows of the flash file list: the project's fifteen table files with their captions and
// the addresses they go to for the unit's model, and what each button gives back.
#include <array>
#include <cstdint>
#include <string>

namespace pelor::unit {

inline constexpr int kFlashRowCount = 15;

struct FlashListRow {
    std::string label;    // "Display Labels File", "Cal Table 3  - name ", ...
    std::string path;     // the table file's path
    std::string caption;  // "FLASH0".."FLASH14", one per row: the button's picture pair
    std::string address;  // where the table goes for this model ("" when unknown)
};

// Rows for unit model `modelCode` (0..14 known; any other leaves every address empty except
// the last row's "D800").
std::array<FlashListRow, kFlashRowCount> FlashListRows(
    int modelCode, const std::array<std::string, kFlashRowCount>& paths,
    const std::array<std::string, 12>& calibrationNames);

// The choice the list closes with.
struct FlashChoice {
    std::string path;
    std::string address;  // "FFFF": read back into path
};

inline constexpr const char* kBackupDefaultName = "Morbel_Backup.hex";
inline constexpr const char* kLoadFilter = "Text Files (*.txt)|*.txt|HEX Files (*.hex)|*.hex||";
inline constexpr const char* kBackupFilter = "HEX Files (*.hex)|*.hex||";

}  // namespace pelor::unit
