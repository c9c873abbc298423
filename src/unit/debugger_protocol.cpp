#include "unit/debugger_protocol.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "core/format.h"

namespace pelor::unit {

namespace {

constexpr const char* kReadingData = "Error Reading data - check FLASH cable";
constexpr const char* kController = "Error writing FLASH Controller - check FLASH cable";
constexpr const char* kEraseWait = "Error waiting for FLASH Erase - check FLASH cable";

// One transfer of `out`, reading `count` bytes back into `in`.
bool Xfer(DebuggerLine& line, std::initializer_list<std::uint8_t> out, std::size_t count,
          std::array<std::uint8_t, 32>& in) {
    in.fill(0);
    const std::vector<std::uint8_t> bytes(out);
    return line.Transfer(bytes, std::span(in.data(), count));
}

// Speed, time-outs, the queues emptied, then the question asked with the line in the break
// state.
SetUpResult Prepare(DebuggerLine& line, core::Prompt& prompt, const core::SerialTimeouts& t) {
    if (!line.SetSpeed(kDebuggerBaud)) {
        prompt.Message("Unable to configure the serial port", "Error");
        return SetUpResult::Failed;
    }
    if (!line.SetTimeouts(t)) {
        prompt.Message("Unable to set the time-out parameters", "Error");
        return SetUpResult::Failed;
    }
    line.Drain();
    line.SetBreak(true);
    const core::Answer a =
        prompt.Message("Erase and Flash Data?", "Status", core::MessageButtons::YesNo);
    line.SetBreak(false);
    return a == core::Answer::Yes ? SetUpResult::Ok : SetUpResult::Declined;
}

// Flash controller at 0xFF8: control 0, page 0, frequency 0x4800; then the two unlock values.
bool UnlockFlash8(DebuggerLine& line, std::array<std::uint8_t, 32>& in) {
    return Xfer(line, {0x08, 0x0F, 0xF8, 0x04, 0x00, 0x00, 0x48, 0x00}, 8, in) &&
           Xfer(line, {0x08, 0x0F, 0xF8, 0x01, 0x00}, 5, in) &&
           Xfer(line, {0x08, 0x0F, 0xF8, 0x01, 0x73}, 5, in) &&
           Xfer(line, {0x08, 0x0F, 0xF8, 0x01, 0x8C}, 5, in);
}

}  // namespace

SetUpResult SetUpDebugger8(DebuggerLine& line, core::Prompt& prompt, bool massErase) {
    if (const SetUpResult r = Prepare(line, prompt, kDebugger8Timeouts); r != SetUpResult::Ok)
        return r;
    std::array<std::uint8_t, 32> in{};
    const auto fail = [&](const char* text) {
        prompt.Message(text, "Error");
        return SetUpResult::Failed;
    };
    // Automatic baud-rate character; the debug control register read twice; debug mode on.
    if (!Xfer(line, {0x80}, 2, in) || !Xfer(line, {0x05}, 2, in) || !Xfer(line, {0x05}, 2, in) ||
        !Xfer(line, {0x04, 0x80}, 2, in) || !Xfer(line, {0x05}, 2, in))
        return fail(kReadingData);
    // The status read must come back as its own echo followed by the debug control register
    // with its debug-mode bit set: a controller that did not enter debug mode (held in reset,
    // read-protected) would take none of the writes that follow.
    if (in[0] != 0x05 || (in[1] & 0x80) == 0)
        return fail("Error Reading OCD Status - check FLASH cable");
    if (!Xfer(line, {0x04, 0x81}, 2, in) || !Xfer(line, {0x05}, 2, in) ||
        !Xfer(line, {0x00}, 3, in))
        return fail(kReadingData);
    prompt.Message(core::Format("OCD VERSION: %d.%d", in[1], in[2]), "Status");

    if (!UnlockFlash8(line, in)) return fail(kController);
    if (!massErase) return SetUpResult::Ok;
    if (!Xfer(line, {0x08, 0x0F, 0xF8, 0x01, 0x63}, 5, in)) return fail(kController);
    for (int poll = 0;; ++poll) {
        if (poll >= kErasePollLimit || !Xfer(line, {0x09, 0x0F, 0xF8, 0x01}, 5, in))
            return fail(kEraseWait);
        if (in[4] == 0) break;
    }
    prompt.Message("Flash Memory Erased", "Status");
    if (!UnlockFlash8(line, in)) return fail(kController);
    return SetUpResult::Ok;
}

SetUpResult SetUpDebugger16(DebuggerLine& line, core::Prompt& prompt, bool massErase) {
    if (const SetUpResult r = Prepare(line, prompt, kDebugger16Timeouts); r != SetUpResult::Ok)
        return r;
    std::array<std::uint8_t, 32> in{};
    const auto fail = [&](const char* text) {
        prompt.Message(text, "Error");
        return SetUpResult::Failed;
    };
    // The first two answers only synchronise the line; their results are not looked at.
    Xfer(line, {0x80}, 8, in);
    Xfer(line, {0x00}, 8, in);
    if (!Xfer(line, {0x00}, 4, in) || !Xfer(line, {0x00}, 4, in)) return fail(kReadingData);
    if (in[3] != 0xC1) return fail("Error getting Version - check FLASH cable");
    if (!Xfer(line, {0x03, 0xE0}, 3, in) || !Xfer(line, {0x01}, 3, in) ||
        !Xfer(line, {0x02}, 3, in) || !Xfer(line, {0x00}, 4, in))
        return fail(kReadingData);
    prompt.Message(core::Format("OCD VERSION: %d.%d", in[1], in[2]), "Status");
    if (!Xfer(line, {0xB2, 0x00, 0x00, 0xFF, 0xE0, 0x66, 0x48, 0x00}, 9, in) || in[8] != 0x85)
        return fail("Error writing FLASH FREQ - check FLASH cable");
    if (!massErase) return SetUpResult::Ok;
    if (!Xfer(line, {0xB1, 0x00, 0x00, 0xFF, 0xE0, 0x60, 0x63}, 8, in) || in[7] != 0x29)
        return fail("Error writing FLASH ERASE - check FLASH cable");
    for (int poll = 0;; ++poll) {
        if (poll >= kErasePollLimit || !Xfer(line, {0xA1, 0x00, 0x00, 0xFF, 0xE0, 0x60}, 8, in))
            return fail(kController);
        if (in[6] == 0) break;
    }
    prompt.Message("Flash Memory Erased", "Status");
    return SetUpResult::Ok;
}

bool WriteImageRecord(DebuggerLine& line, FlashFileKind kind, const FlashRecord& record) {
    std::vector<std::uint8_t> out;
    const auto count = record.data.size();
    const auto hi = static_cast<std::uint8_t>(record.address >> 8);
    const auto lo = static_cast<std::uint8_t>(record.address & 0xFF);
    if (kind == FlashFileKind::Image8)
        out = {0x0A, hi, lo, 0x00, static_cast<std::uint8_t>(count)};
    else
        out = {0xB0, 0x01, 0x00, record.extension, hi, lo};
    out.insert(out.end(), record.data.begin(), record.data.end());
    std::vector<std::uint8_t> in(out.size() + (kind == FlashFileKind::Image8 ? 0 : 1));
    return line.Transfer(out, in);
}

bool FinishDebugger8(DebuggerLine& line, core::Prompt& prompt) {
    std::array<std::uint8_t, 32> in{};
    if (!Xfer(line, {0x08, 0x0F, 0xF8, 0x01, 0x00}, 5, in)) {
        prompt.Message("Error writing data - check FLASH cable", "Error");
        return false;
    }
    if (!Xfer(line, {0x0E}, 3, in)) {
        prompt.Message("Error getting CRC - check FLASH cable", "Error");
        return false;
    }
    prompt.Message(core::Format("FLASH CRC: %2d%2d", static_cast<std::int8_t>(in[1]),
                                static_cast<std::int8_t>(in[2])),
                   "Status");
    Xfer(line, {0x04, 0x00}, 2, in);  // leave debug mode
    return true;
}

DebuggerConnection ConnectDebugger(DebuggerLine& line) {
    DebuggerConnection c;
    if (!line.SetSpeed(kDebuggerBaud) || !line.SetTimeouts(kDebugger16Timeouts)) return c;
    line.Drain();
    line.SetBreak(true);
    line.SetBreak(false);
    std::array<std::uint8_t, 32> in{};
    Xfer(line, {0x80}, 8, in);  // synchronises; the answer is not looked at
    const std::array<std::uint8_t, 1> version{0x00};
    in.fill(0);
    const int got = line.Exchange(version, std::span(in.data(), 4));
    if (got < 3) return c;
    c.ok = true;
    std::copy_n(in.begin(), 4, c.version.begin());
    if (in[1] == 8 && in[3] == 0xC1)
        c.kind = DebuggerKind::Bits16;
    else if (in[1] == 1 && in[2] == 0x22)
        c.kind = DebuggerKind::Bits8;
    // The 8-bit controller's memory is read in debug mode.
    if (c.kind == DebuggerKind::Bits8 && !Xfer(line, {0x04, 0x80}, 2, in)) c.ok = false;
    return c;
}

bool ReadMemory16Bytes(DebuggerLine& line, DebuggerKind kind, std::uint8_t extension,
                       std::uint16_t address, std::array<std::uint8_t, 16>& out) {
    std::array<std::uint8_t, 32> in{};
    const auto hi = static_cast<std::uint8_t>(address >> 8);
    const auto lo = static_cast<std::uint8_t>(address & 0xFF);
    std::size_t skip = 0;
    if (kind == DebuggerKind::Bits16) {
        if (!Xfer(line, {0xA0, 0x01, 0x00, extension, hi, lo}, 23, in)) return false;
        skip = 6;
    } else {
        if (!Xfer(line, {0x0B, hi, lo, 0x00, 0x10}, 21, in)) return false;
        skip = 5;
    }
    std::copy_n(in.begin() + static_cast<std::ptrdiff_t>(skip), 16, out.begin());
    return true;
}

void LeaveDebugMode(DebuggerLine& line, DebuggerKind kind) {
    std::array<std::uint8_t, 32> in{};
    if (kind == DebuggerKind::Bits8) Xfer(line, {0x04, 0x00}, 2, in);
}

std::string ReadBackRecord(std::uint16_t address, const std::array<std::uint8_t, 16>& data) {
    // The same record a table file sends, without its "\r\n".
    std::string line = TableDataRecord(address, data.data());
    line.resize(line.size() - 2);
    return line;
}

}  // namespace pelor::unit
