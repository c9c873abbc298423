#pragma once
// The controllers' on-chip debuggers as the simulated unit plays them on its line: a single
// wire, so every byte received is echoed before the answer. The 8-bit debugger reads and writes
// registers and program memory (64 KB) with a flash controller that needs its two unlock values
// before a mass erase or writes; the 16-bit debugger reads and writes 128 KB in two banks.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelor::sim {

enum class DebuggerFault {
    None,
    Silent,      // stops answering (no echo either) after the first few commands
    Wrong,       // answers the status and version wrongly
    Close,       // closes the line in the middle of the image
    EraseStuck,  // the mass erase never ends; after some polls the debugger stops answering
    NoDebug,     // 8-bit: never enters debug mode (its debug control register keeps 0), so its
                 // program memory takes no writes
};

class Debugger {
public:
    Debugger(int bits, DebuggerFault fault);

    // The bytes received; returns what goes back (echoes and answers).
    std::string Feed(std::string_view in);
    // The line went quiet: ends a 16-bit memory write, whose data runs until the pause.
    std::string Quiet();
    // Begins a session at the automatic baud-rate character; ends it.
    void Reset();
    bool LeftDebugMode() const { return leftDebugMode_; }
    bool WantsClose() const { return wantsClose_; }
    int Bits() const { return bits_; }
    std::uint8_t Memory(std::uint32_t address) const;
    int ImageRecords() const { return imageRecords_; }

private:
    // Bytes the command at the start of `cmd_` needs, or 0 while open-ended.
    std::size_t Needed() const;
    std::string Execute();
    std::string Execute8();
    std::string Execute16();

    int bits_;
    DebuggerFault fault_;
    std::vector<std::uint8_t> memory_;
    std::vector<std::uint8_t> cmd_;
    std::uint8_t control_ = 0;
    bool unlocked_ = false;
    std::uint8_t lastFlashControl_ = 0;
    int erasePolls_ = 0;
    int commands_ = 0;
    int imageRecords_ = 0;
    bool leftDebugMode_ = false;
    bool wantsClose_ = false;
    bool hung_ = false;
};

}  // namespace pelor::sim
