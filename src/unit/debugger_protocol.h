#pragma once
// The on-chip debugger exchanges of the unit's two controllers, over a DebuggerLine:
// set-up (speed, break, automatic baud-rate character, debug mode, flash controller, mass
// erase), image records, the 8-bit controller's CRC and leaving debug mode, and reading the
// program memory back. Each step reports its own message through the prompt.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/prompt.h"
#include "core/serial_port.h"
#include "unit/debugger_line.h"
#include "unit/flash_file.h"

namespace pelor::unit {

inline constexpr int kDebuggerBaud = 57600;
// 8-bit controller: no interval, 1 ms a byte + 100 ms for reads and writes.
inline constexpr core::SerialTimeouts kDebugger8Timeouts{0, 1, 100, 1, 100};
// 16-bit controller: 20 ms interval, 1,000 ms a byte + 200 ms for reads and writes.
inline constexpr core::SerialTimeouts kDebugger16Timeouts{20, 1000, 200, 1000, 200};
// A mass erase that has not ended after this many polls has failed.
inline constexpr int kErasePollLimit = 5000;

enum class SetUpResult { Ok, Declined, Failed };

// The set-ups; the line is left at the debugger's speed (the caller restores it).
SetUpResult SetUpDebugger8(DebuggerLine& line, core::Prompt& prompt, bool massErase);
SetUpResult SetUpDebugger16(DebuggerLine& line, core::Prompt& prompt, bool massErase);

// One data record: 0x0A hi lo 0x00 LL data (8-bit) or 0xB0 0x01 0x00 ext hi lo data (16-bit).
bool WriteImageRecord(DebuggerLine& line, FlashFileKind kind, const FlashRecord& record);

// 8-bit controller after its image: flash control to 0, the CRC ("FLASH CRC: %2d%2d") and
// debug mode left. False after its message.
bool FinishDebugger8(DebuggerLine& line, core::Prompt& prompt);

// Read-back: connects to whichever debugger answers and tells the kind by its version answer.
enum class DebuggerKind { None, Bits8, Bits16 };
struct DebuggerConnection {
    bool ok = false;  // the debugger answered its version
    DebuggerKind kind = DebuggerKind::None;
    std::array<std::uint8_t, 4> version{};
};
DebuggerConnection ConnectDebugger(DebuggerLine& line);
// Reads 16 bytes of program memory at `address` (extension: the upper 64 KB, 16-bit only).
bool ReadMemory16Bytes(DebuggerLine& line, DebuggerKind kind, std::uint8_t extension,
                       std::uint16_t address, std::array<std::uint8_t, 16>& out);
// Leaves debug mode after a read-back (8-bit controller).
void LeaveDebugMode(DebuggerLine& line, DebuggerKind kind);

// ":10AAAA00<32 hex>CC": one read-back line.
std::string ReadBackRecord(std::uint16_t address, const std::array<std::uint8_t, 16>& data);

}  // namespace pelor::unit
