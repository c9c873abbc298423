#pragma once
// The NMEA 2000 adapter's receive and transmit list, options bytes 336..367: one byte per PGN
// row (low nibble 0 = receive enabled, high nibble 0 = transmit enabled) and byte 367, which
// asks for the adapter to be initialised when it holds 0xFF. The CONNECT page edits the first
// 21 rows and the flag; bytes 357..366 are not the page's and stay as they are.
#include <array>
#include <cstddef>
#include <string>

#include "core/prompt.h"
#include "tables/table_types.h"

namespace pelor::tables {

inline constexpr int kAdapterPgnRowCount = 21;
inline constexpr std::size_t kAdapterPgnFirst = 336;
inline constexpr std::size_t kAdapterPgnSectionCount = 32;  // 336..367, flag included
inline constexpr std::size_t kAdapterFlagByte = 367;

// "127488 Engine Params Rapid" ... "130310 Environ Param".
const std::array<const char*, kAdapterPgnRowCount>& AdapterPgnRowCaptions();

bool AdapterRxEnabled(const OptionsTable& options, int row);
bool AdapterTxEnabled(const OptionsTable& options, int row);
bool AdapterInitEnabled(const OptionsTable& options);
// A box that is set as the byte already says leaves the byte as it is (a nibble of 5 stays
// 5); a changed box writes 0 (enabled) or F (disabled) into its nibble.
void SetAdapterRx(OptionsTable& options, int row, bool enabled);
void SetAdapterTx(OptionsTable& options, int row, bool enabled);
// 0xFF when enabled, 0 otherwise (a byte that already says so is kept).
void SetAdapterInit(OptionsTable& options, bool enabled);

// PREFSAVE of the CONNECT page: reads bytes 336..367 of directory + optionsFile, puts in the
// 21 rows and the flag from `options`, and rewrites those 32 lines in place ("File Saved").
// Every other line of the file is left as it is. A file that cannot be read is reported
// ("Error loading Options file") and not written.
bool SaveAdapterPgnList(core::Prompt& prompt, const std::string& directory,
                        const std::string& optionsFile, const OptionsTable& options);

}  // namespace pelor::tables
