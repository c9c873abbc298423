// A log file played back: the first byte picks ".ebl" (bit 0), CSV rows (bit 1) or text
// playback, the rest is the file.
// The reader jumps to spread-out positions, steps forward and back, and re-sends the complete
// sentences of each chunk to a link that is always connected.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/prompt.h"
#include "core/reader_thread.h"
#include "decode_fuzz_context.h"
#include "logs/playback.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pelor;
    static auto* fuzz = new fuzz::DecodeFuzzContext();
    const bool binary = size > 0 && (data[0] & 1) != 0;
    const bool rows = size > 0 && !binary && (data[0] & 2) != 0;
    if (size > 0) {
        ++data;
        --size;
    }
    // The log is read from memory through the same stream calls as a file.
    static char empty = 0;
    std::FILE* file = ::fmemopen(
        size > 0 ? const_cast<uint8_t*>(data) : reinterpret_cast<uint8_t*>(&empty), size, "rb");
    if (file == nullptr) return 0;

    core::ScriptedPrompt prompt;
    core::ReaderThread thread;
    std::size_t sentBytes = 0;
    logs::Playback playback(logs::PlaybackContext{
        fuzz->store, fuzz->context, fuzz->view, prompt, fuzz->clock, thread, [] { return true; },
        [&](std::string_view s) {
            // Every re-sent sentence starts with '$' and ends with "\r\n".
            if (s.size() < 4 || s.front() != '$' || s.substr(s.size() - 2) != "\r\n")
                __builtin_trap();
            sentBytes += s.size();
        }});
    const logs::LogKind kind = binary
                                   ? logs::LogKind::Ebl
                                   : (rows ? logs::LogKind::CsvHeaderPending : logs::LogKind::Text);
    if (!playback.Prepare(file, kind, 0)) return 0;
    logs::PlaybackModes& modes = playback.Modes();
    for (int p : {1, 999, 1000, 500, 3, 0, 250}) {
        modes.SetSliderPosition(p);
        playback.Step();
    }
    modes.Press(logs::PlaybackButton::FastForward);
    for (int i = 0; i < 4; ++i) playback.Step();
    modes.Press(logs::PlaybackButton::FastReverse);
    for (int i = 0; i < 4; ++i) playback.Step();
    playback.Refresh();
    playback.Step();
    if (fuzz->store.ReceiveText.size() > 4000 + 1000) __builtin_trap();
    playback.Stop();
    return 0;
}
