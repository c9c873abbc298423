// Screen records from the unit: any text must parse without reading outside it, keep a tail
// that is a suffix of the text, and leave only known modes in the channel records.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "decode/channel_store.h"
#include "display/display_modes.h"
#include "display/gauge_style.h"
#include "display/screen_records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pelor;
    if (size == 0) return 0;
    // First byte: display type and whether the styles use theme frame offsets.
    const int type = data[0] % 15;
    display::GaugeStyles styles = display::DefaultGaugeStyles();
    if ((data[0] & 0x80) != 0) {
        for (auto& s : styles) s.frameOffset = data[0] & 0x3F;
    }
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    decode::ChannelStore store;
    const std::size_t tail =
        display::ParseScreenRecords(text, store, display::MakeScreenRecordRules(type, styles));
    if (tail != store.ReceiveText.size()) std::abort();
    if (tail > text.size() || text.substr(text.size() - tail) != store.ReceiveText) std::abort();
    for (int mode : store.m_PosMode) {
        if (mode != 0 && display::StyleIndexForMode(mode) < 0) std::abort();
    }
    // Parsing the kept tail again in place must be safe too.
    display::ParseScreenRecords(store.ReceiveText, store,
                                display::MakeScreenRecordRules(type, styles));
    return 0;
}
