#include "tables/adapter_pgn_list.h"

#include <span>

#include "tables/options_file.h"
#include "tables/table_file.h"

namespace pelor::tables {
namespace {

std::size_t RowByte(int row) {
    return kAdapterPgnFirst + static_cast<std::size_t>(row);
}

bool RowInRange(int row) {
    return row >= 0 && row < kAdapterPgnRowCount;
}

}  // namespace

const std::array<const char*, kAdapterPgnRowCount>& AdapterPgnRowCaptions() {
    static constexpr std::array<const char*, kAdapterPgnRowCount> captions = {
        "127488 Engine Params Rapid",
        "127489 Engine Params Dynamic",
        "127508 Battery Status",
        "127505 Fluid Levels",
        "127493 Transmission Params",
        "130311 Environmental Params",
        "130323 Meteorological Data",
        "130306 Wind Data",
        "127250 Vessel Heading",
        "127257 Attitude",
        "127251 Rate Of Turn",
        "130312 Temperatures",
        "127501 Switch Status",
        "129026 COG & SOG Rapid",
        "129029 GNSS Data",
        "129025 Position Rapid",
        "129284 Nav Data",
        "128259 Water Speed",
        "128267 Water Depth",
        "128275 Distance",
        "130310 Environ Param"};
    return captions;
}

bool AdapterRxEnabled(const OptionsTable& o, int row) {
    return RowInRange(row) && (o[RowByte(row)] & 0x0F) == 0;
}

bool AdapterTxEnabled(const OptionsTable& o, int row) {
    return RowInRange(row) && (o[RowByte(row)] & 0xF0) == 0;
}

bool AdapterInitEnabled(const OptionsTable& o) {
    return o[kAdapterFlagByte] == 0xFF;
}

void SetAdapterRx(OptionsTable& o, int row, bool enabled) {
    if (!RowInRange(row) || AdapterRxEnabled(o, row) == enabled) return;
    std::uint8_t& b = o[RowByte(row)];
    b = static_cast<std::uint8_t>((b & 0xF0) | (enabled ? 0x00 : 0x0F));
}

void SetAdapterTx(OptionsTable& o, int row, bool enabled) {
    if (!RowInRange(row) || AdapterTxEnabled(o, row) == enabled) return;
    std::uint8_t& b = o[RowByte(row)];
    b = static_cast<std::uint8_t>((b & 0x0F) | (enabled ? 0x00 : 0xF0));
}

void SetAdapterInit(OptionsTable& o, bool enabled) {
    if (AdapterInitEnabled(o) == enabled) return;
    o[kAdapterFlagByte] = enabled ? 0xFF : 0x00;
}

bool SaveAdapterPgnList(core::Prompt& prompt, const std::string& directory,
                        const std::string& optionsFile, const OptionsTable& options) {
    OptionsTable file{};
    const std::span<std::uint8_t> section(file.data() + kAdapterPgnFirst, kAdapterPgnSectionCount);
    if (!ReadByteEntries(prompt, directory + optionsFile, static_cast<int>(kAdapterPgnFirst),
                         static_cast<int>(kAdapterPgnSectionCount), section)) {
        prompt.Message("Error loading Options file", "Error");
        return false;
    }
    for (int row = 0; row < kAdapterPgnRowCount; ++row) file[RowByte(row)] = options[RowByte(row)];
    file[kAdapterFlagByte] = options[kAdapterFlagByte];
    return UpdateOptionsSection(prompt, directory, optionsFile, file, kAdapterPgnFirst,
                                kAdapterPgnSectionCount);
}

}  // namespace pelor::tables
