#pragma once
// What the simulated unit says, cycle after cycle: every channel's value moves along its own
// slow wave so that every gauge of a sixteen-channel page moves.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pelor::sim {

enum class Mode {
    Text,     // unit status sentences and $IIXDR per channel
    Gateway,  // a network gateway's $PKZLN sentences, one NMEA 2000 message each
    Frames,  // binary NMEA 2000 frames as an adapter delivers them
    Screen,  // the unit's screen records (it lays out the page itself)
};

// The unit's state that the scenario reports.
struct UnitState {
    bool outputs[12] = {};
    int page = 0;
    bool hold = false;
    bool passThrough = false;
    int bankInstance = 0;
};

// One channel's place in the scenario.
struct ChannelPlan {
    const char* label;  // 8 characters
    double low;
    double high;
    double periodSeconds;
    int decimals;
};

const std::array<ChannelPlan, 16>& ChannelPlans();

// The level 0..255 and display text of channel `channel` at `seconds`.
int ChannelLevel(int channel, double seconds);
std::string ChannelDisplay(int channel, double seconds);

// The messages of one cycle at `seconds` after the start, each a whole sentence or frame;
// `cycle` counts cycles (some sentences come every other cycle).
std::vector<std::string> CycleMessages(Mode mode, const UnitState& state, double seconds,
                                       std::uint64_t cycle);

// The NMEA 2000 messages of one cycle: (pgn, payload) pairs in the binary frames and in the
// text gateway sentences alike.
struct N2kMessage {
    std::uint32_t pgn;
    std::vector<std::uint8_t> payload;
};
std::vector<N2kMessage> N2kMessages(const UnitState& state, double seconds);

}  // namespace pelor::sim
