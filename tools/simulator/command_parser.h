#pragma once
// Finds the dashboard's commands in the bytes the simulated unit receives: unit commands,
// the hold command, flash programming records and the three forms of switch command.
// Bounded: a buffer never grows past kMaxPending bytes, and no input makes it read outside.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelor::sim {

enum class CommandKind {
    NextPage,     // $PKZLC,N\r
    Hold,         // \r\ntc\r\n
    PassThrough,  // $PKZLC,Z\r
    Program,      // $PKZLC,P\r
    Erase,        // $PKZLC,E\r
    EraseRange,   // "  *" first page, last page (two hex digits each) \r
    Record,       // :LLAAAATT<data>CC\r (Intel HEX layout; a table record ends in \r\n)
    Switch,       // a switch command in any of its forms
};

struct Command {
    CommandKind kind = CommandKind::NextPage;
    // EraseRange
    int firstPage = 0;
    int lastPage = 0;
    // Record
    int recordType = 0;
    std::uint16_t address = 0;
    std::string addressText;  // the four address characters as sent
    std::vector<std::uint8_t> data;
    bool checksumOk = false;
    // Switch: per output -1 no change, 0 off, 1 on; the bank for the NMEA 2000 forms (-1 for
    // the transducer form).
    std::array<int, 12> outputs{};
    int bank = -1;
};

inline constexpr std::size_t kMaxPending = 4096;

class CommandParser {
public:
    // Adds received bytes and returns the commands completed by them, in order.
    std::vector<Command> Feed(std::string_view bytes);
    std::size_t Pending() const { return pending_.size(); }

private:
    std::string pending_;
};

}  // namespace pelor::sim
