#include "prefs/channels_page.h"

#include "core/format.h"
#include "tables/options_file.h"

namespace pelor::prefs {
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

const OptionsSectionRow<ChannelsPage> kChannelsSection =
    ByteArraySection<ChannelsPage, kChannelSection, 32, ChannelsFromBytes, BytesFromChannels>(
        "Error loading Channels file", CheckChannelsPage);

bool OpenChannelsPage(core::Prompt& prompt, const std::string& directory,
                      const std::string& optionsFile, ChannelsPage& page) {
    return OpenOptionsSection(prompt, directory, optionsFile, kChannelsSection, page);
}

bool SaveChannelsPage(core::Prompt& prompt, const std::string& directory,
                      const std::string& optionsFile, const ChannelsPage& page) {
    return SaveOptionsSection(prompt, directory, optionsFile, kChannelsSection, page);
}

}  // namespace pelor::prefs
