#include "prefs/channels_page.h"

#include "core/format.h"
#include "tables/options_file.h"
#include "tables/table_file.h"

namespace pelor::prefs {

// The page model works on the options table's bytes and file.
using namespace tables;

namespace {
constexpr std::size_t kRows = kDisplayCount;
}  // namespace

ChannelsPage ChannelsFromBytes(std::span<const std::uint8_t, 32> bytes) {
    ChannelsPage page;
    for (std::size_t d = 0; d < kRows; ++d) {
        const std::uint8_t in = bytes[d];
        const std::uint8_t out = bytes[kRows + d];
        auto& input = page.inputs[d];
        input.number = in & 0x0F;
        input.nmea = (in & 0x80) != 0;
        auto& output = page.outputs[d];
        output.number = out & 0x0F;
        output.mode = (out & 0x80) != 0   ? ChannelOutputMode::Disabled
                      : (out & 0x40) != 0 ? ChannelOutputMode::Index
                                          : ChannelOutputMode::Enabled;
    }
    return page;
}

ChannelBytes BytesFromChannels(const ChannelsPage& page) {
    ChannelBytes bytes{};
    for (std::size_t d = 0; d < kRows; ++d) {
        const auto& input = page.inputs[d];
        const auto& output = page.outputs[d];
        int in = input.number & 0xFF;
        if (input.nmea) in |= 0x80;
        int out = output.number & 0xFF;
        if (output.mode == ChannelOutputMode::Disabled) out |= 0x80;
        if (output.mode == ChannelOutputMode::Index) out |= 0x40;
        bytes[d] = static_cast<std::uint8_t>(in);
        bytes[kRows + d] = static_cast<std::uint8_t>(out);
    }
    return bytes;
}

std::string CheckChannelsPage(const ChannelsPage& page) {
    // A number above 15 would run into the flag bits of its byte.
    for (int d = 0; d < kDisplayCount; ++d) {
        const int in = page.inputs[static_cast<std::size_t>(d)].number;
        if (in < 0 || in > kChannelNumberMax) {
            return core::Format("INPUT Display %d: the channel number must be 0 to 15", d);
        }
        const int out = page.outputs[static_cast<std::size_t>(d)].number;
        if (out < 0 || out > kChannelNumberMax) {
            return core::Format("OUTPUT Display %d: the channel number must be 0 to 15", d);
        }
    }
    return {};
}

bool OpenChannelsPage(core::Prompt& prompt, const std::string& directory,
                      const std::string& optionsFile, ChannelsPage& page) {
    ChannelBytes bytes{};
    if (!ReadByteEntries(prompt, directory + optionsFile, static_cast<int>(kChannelSection),
                         static_cast<int>(bytes.size()), bytes)) {
        prompt.Message("Error loading Channels file", "Error");
        return false;
    }
    page = ChannelsFromBytes(bytes);
    return true;
}

bool SaveChannelsPage(core::Prompt& prompt, const std::string& directory,
                      const std::string& optionsFile, const ChannelsPage& page) {
    if (const std::string bad = CheckChannelsPage(page); !bad.empty()) {
        prompt.Message(bad, "Error");
        return false;
    }
    OptionsTable table{};
    const ChannelBytes bytes = BytesFromChannels(page);
    std::copy(bytes.begin(), bytes.end(), table.begin() + kChannelSection);
    return UpdateOptionsSection(prompt, directory, optionsFile, table, kChannelSection,
                                bytes.size());
}

}  // namespace pelor::prefs
