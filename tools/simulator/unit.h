#pragma once
// The simulated unit's behaviour: what each command does to its state and what it answers.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "simulator/command_parser.h"
#include "simulator/scenario.h"

namespace pelor::sim {

// Faults of the unit's firmware exchange: the program command answered without "FLASH ",
// the erase refused, records answered with another address, the line closed after a few
// records.
enum class FlashFault { None, Sync, Erase, Address, Close };

class Unit {
public:
    explicit Unit(int bankInstance = 0, FlashFault flashFault = FlashFault::None);

    // Applies one command; returns the unit's answer (empty when it answers nothing). Answers
    // are 16 bytes, as the dashboard reads them.
    std::string Handle(const Command& command);

    const UnitState& State() const { return state_; }
    // While programming the unit sends no data, so that its answers arrive alone.
    bool Programming() const { return programming_; }
    int RecordsWritten() const { return recordsWritten_; }
    std::uint8_t Flash(std::uint16_t address) const { return flash_[address]; }
    // Records refused because they would write flash not erased since it was last written.
    int RefusedWrites() const { return refusedWrites_; }
    // Programming mode ends without an end record (the unit's own time-out).
    void LeaveProgramming() { programming_ = false; }
    // The close fault: the line is to close now.
    bool WantsClose() const { return wantsClose_; }

private:
    UnitState state_;
    bool programming_ = false;
    int firstPage_ = 0;
    int lastPage_ = 0;
    int recordsWritten_ = 0;
    // Flash as flash behaves: an erase sets a 512-byte page to 0xFF, and a byte takes one
    // write after that; a record that would write a byte again before its page is erased is
    // refused. The unit comes holding data everywhere, so nothing is writable before an erase.
    std::vector<std::uint8_t> flash_;
    std::vector<bool> written_;
    int refusedWrites_ = 0;
    FlashFault flashFault_;
    bool wantsClose_ = false;
};

// A short name for a command, for the simulator's log ("$PKZLC,N", "hold", "switch 5 on").
std::string Describe(const Command& command);

}  // namespace pelor::sim
