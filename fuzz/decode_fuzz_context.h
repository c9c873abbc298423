#pragma once
// A channel store with every table a decoder reads, for the decode fuzz targets. The first
// 32 input bytes (when present) become the sixteen channels' NMEA 2000 sources so the fuzzer
// can reach every formatter; pages, grid and alarms are set so every update path runs.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "decode/owned_context.h"

namespace pelor::fuzz {

struct DecodeFuzzContext : decode::OwnedChannelContext {
    DecodeFuzzContext() {
        for (std::size_t c = 0; c < 16; ++c) {
            labelMode[0][c] = static_cast<std::uint8_t>(c);  // every mode 0..15
            labelCell[0][c] = static_cast<std::uint8_t>(c * 3);
            options[48 + c] = c % 3 == 0 ? 0x80 : 0;  // some channels calibrated
            options[64 + 2 * c] = 20;
            options[65 + 2 * c] = 200;
            options[128 + 2 * c] = c % 2;
            options[160 + c] = static_cast<std::uint8_t>(c % 3);
            options[256 + 2 * c] = static_cast<std::uint8_t>(((c % 15) + 1) << 4);
            options[257 + 2 * c] = static_cast<std::uint8_t>(c % 4);
            labelStrings[c] = "LABEL";
        }
        options[24] = 0x80;
        for (std::size_t t = 0; t < calibration.size(); ++t) calibration[t].fill('7');
        labelTable.fill('#');
        for (int i = 0; i < decode::kGridSize; ++i) {
            gridX[static_cast<std::size_t>(i)] = i;
            gridY[static_cast<std::size_t>(i)] = i;
        }
        context.displayType = 9;
        context.switchBankInstance = 1;
        context.n2kTimeSource = 1;
    }

    // Takes the NMEA 2000 sources from the input when it is long enough; returns the rest.
    std::size_t TakeSources(const std::uint8_t* data, std::size_t size) {
        if (size < 32) return 0;
        std::memcpy(options.data() + 256, data, 32);
        return 32;
    }
};

}  // namespace pelor::fuzz
