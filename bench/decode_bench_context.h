#pragma once
// Channel store and tables for the decode benchmarks: all sixteen channels shown on page 0
// and mapped to NMEA 2000 sources that the benchmark streams carry.
#include <cstddef>
#include <cstdint>
#include <string>

#include "decode/owned_context.h"

namespace pelor::bench {

struct DecodeBenchContext : decode::OwnedChannelContext {
    DecodeBenchContext() {
        // group << 4 | instance, field code: wind, heading, attitude, rudder, engine,
        // temperature, battery, fluid, environment, rate of turn, COG/SOG and switches.
        const std::uint8_t kSources[16][2] = {
            {0x80, 0}, {0x80, 1}, {0x80, 2}, {0x80, 3}, {0x90, 0}, {0x90, 1}, {0xA0, 0}, {0xA0, 1},
            {0xD0, 0}, {0x10, 0}, {0xC0, 0}, {0x30, 0}, {0x40, 0}, {0x60, 0}, {0xB0, 0}, {0xF0, 1}};
        for (std::size_t c = 0; c < 16; ++c) {
            labelMode[0][c] = static_cast<std::uint8_t>(c % 2 ? 6 : 2);
            labelCell[0][c] = static_cast<std::uint8_t>(c);
            options[256 + 2 * c] = kSources[c][0];
            options[257 + 2 * c] = kSources[c][1];
            options[64 + 2 * c] = 10;
            options[65 + 2 * c] = 250;
            options[160 + c] = 1;
            labelStrings[c] = "LABEL" + std::to_string(c);
        }
        options[24] = 0x80;
        labelTable.fill('A');
    }
};

}  // namespace pelor::bench
