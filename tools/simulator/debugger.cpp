#include "simulator/debugger.h"

#include <algorithm>

namespace pelor::sim {

namespace {

constexpr int kErasePolls = 4;         // a mass erase answers "busy" this many times
constexpr int kStuckPolls = 40;        // a stuck erase stops answering after this many polls
constexpr int kSilentAfter = 3;        // commands answered before a silent debugger stops
constexpr int kCloseAfterRecords = 3;  // image records taken before the line closes

std::uint16_t Crc16(const std::vector<std::uint8_t>& bytes) {
    std::uint16_t crc = 0xFFFF;
    for (const std::uint8_t b : bytes) {
        crc ^= static_cast<std::uint16_t>(b << 8);
        for (int i = 0; i < 8; ++i)
            crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return crc;
}

}  // namespace

Debugger::Debugger(int bits, DebuggerFault fault)
    : bits_(bits), fault_(fault), memory_(bits == 16 ? 0x20000 : 0x10000, 0xFF) {}

void Debugger::Reset() {
    cmd_.clear();
    control_ = 0;
    unlocked_ = false;
    erasePolls_ = 0;
    leftDebugMode_ = false;
    hung_ = false;
    commands_ = 0;
}

std::uint8_t Debugger::Memory(std::uint32_t address) const {
    return address < memory_.size() ? memory_[address] : 0xFF;
}

std::size_t Debugger::Needed() const {
    if (cmd_.empty()) return 1;
    const std::uint8_t c = cmd_[0];
    if (bits_ == 8) {
        switch (c) {
            case 0x04:
                return 2;
            case 0x08:
                return cmd_.size() < 4 ? 4 : 4 + cmd_[3];
            case 0x09:
                return 4;
            case 0x0A:
                return cmd_.size() < 5 ? 5 : 5 + (static_cast<std::size_t>(cmd_[3]) << 8 | cmd_[4]);
            case 0x0B:
                return 5;
            default:
                return 1;
        }
    }
    switch (c) {
        case 0x03:
            return 2;
        case 0xA0:
        case 0xA1:
            return 6;
        case 0xB1:
            return 7;
        case 0xB2:
            return 8;
        case 0xB0:
            return 0;  // header of 6, then data until the line pauses
        default:
            return 1;
    }
}

std::string Debugger::Feed(std::string_view in) {
    std::string out;
    for (const char ch : in) {
        if (hung_) return out;
        // The wire's echo; a debugger answering wrongly garbles its status read.
        const bool garble = fault_ == DebuggerFault::Wrong && bits_ == 8 && ch == '\x05';
        out.push_back(garble ? '\x15' : ch);
        cmd_.push_back(static_cast<std::uint8_t>(ch));
        const std::size_t need = Needed();
        if (need != 0 && cmd_.size() >= need) {
            out += Execute();
            cmd_.clear();
        }
    }
    return out;
}

std::string Debugger::Quiet() {
    if (hung_ || cmd_.size() < 6 || cmd_[0] != 0xB0) return {};
    std::string out = Execute();
    cmd_.clear();
    return out;
}

std::string Debugger::Execute() {
    ++commands_;
    if (fault_ == DebuggerFault::Silent && commands_ > kSilentAfter) {
        hung_ = true;
        return {};
    }
    return bits_ == 8 ? Execute8() : Execute16();
}

// 80 auto-baud · 00 revision · 04 cc write control · 05 read control · 08 ah al n d..
// write registers · 09 ah al n read registers · 0A ah al nh nl d.. write program memory ·
// 0B ah al nh nl read program memory · 0E program memory CRC.
std::string Debugger::Execute8() {
    const std::uint8_t c = cmd_[0];
    const auto reg = [&] { return (static_cast<unsigned>(cmd_[1]) << 8 | cmd_[2]) & 0xFFF; };
    switch (c) {
        case 0x80:  // the automatic baud-rate character: the debugger answers with its own
            return {'\x80'};
        case 0x00:
            return {'\x01', '\x22'};
        case 0x04:
            if (fault_ == DebuggerFault::NoDebug) return {};
            if ((control_ & 0x80) != 0 && (cmd_[1] & 0x80) == 0) leftDebugMode_ = true;
            control_ = cmd_[1];
            return {};
        case 0x05:
            if (fault_ == DebuggerFault::Wrong) return {'\x00'};
            return std::string(1, static_cast<char>(control_));
        case 0x08:
            for (std::size_t i = 0; i < cmd_[3]; ++i) {
                if (reg() + i != 0xFF8) continue;
                const std::uint8_t v = cmd_[4 + i];
                if (v == 0x8C && lastFlashControl_ == 0x73) unlocked_ = true;
                if (v == 0x63 && unlocked_) {
                    std::fill(memory_.begin(), memory_.end(), 0xFF);
                    erasePolls_ = fault_ == DebuggerFault::EraseStuck ? -1 : kErasePolls;
                }
                lastFlashControl_ = v;
            }
            return {};
        case 0x09: {
            std::string out(std::min<std::size_t>(cmd_[3], 16), '\0');
            if (reg() == 0xFF8 && !out.empty()) {
                if (erasePolls_ < 0 && ++commands_ > kStuckPolls) hung_ = true;
                if (erasePolls_ != 0) out[0] = '\x63';
                if (erasePolls_ > 0) --erasePolls_;
            }
            return hung_ ? std::string() : out;
        }
        case 0x0A: {
            const std::uint32_t at = static_cast<std::uint32_t>(cmd_[1]) << 8 | cmd_[2];
            // Program memory takes writes only in debug mode, with the flash unlocked.
            if (unlocked_ && (control_ & 0x80) != 0)
                for (std::size_t i = 5; i < cmd_.size(); ++i)
                    memory_[(at + i - 5) & 0xFFFF] &= cmd_[i];
            if (fault_ == DebuggerFault::Close && ++imageRecords_ >= kCloseAfterRecords)
                wantsClose_ = true;
            else if (fault_ != DebuggerFault::Close)
                ++imageRecords_;
            return {};
        }
        case 0x0B: {
            const std::uint32_t at = static_cast<std::uint32_t>(cmd_[1]) << 8 | cmd_[2];
            const std::size_t n = std::min<std::size_t>(cmd_[3] << 8 | cmd_[4], 256);
            std::string out;
            for (std::size_t i = 0; i < n; ++i)
                out.push_back(static_cast<char>(memory_[(at + i) & 0xFFFF]));
            return out;
        }
        case 0x0E: {
            const std::uint16_t crc = Crc16(memory_);
            return {static_cast<char>(crc >> 8), static_cast<char>(crc & 0xFF)};
        }
        default:
            return {};
    }
}

// 80 auto-baud · 00 revision · 01, 02 status · 03 xx · A0 01 00 e ah al read 16 bytes ·
// A1 .. read the flash controller · B0 01 00 e ah al d.. write memory · B1 .. write the flash
// controller (63: mass erase) · B2 .. flash frequency.
std::string Debugger::Execute16() {
    const std::uint8_t c = cmd_[0];
    switch (c) {
        case 0x00:
            return {'\x08', '\x00', fault_ == DebuggerFault::Wrong ? '\x00' : '\xC1'};
        case 0x01:
        case 0x02:
            return {'\x00', '\x00'};
        case 0x03:
            return {'\x00'};
        case 0xA0: {
            const std::uint32_t at = static_cast<std::uint32_t>(cmd_[3] & 1) << 16 |
                                     static_cast<std::uint32_t>(cmd_[4]) << 8 | cmd_[5];
            std::string out;
            for (std::uint32_t i = 0; i < 16; ++i)
                out.push_back(static_cast<char>(memory_[(at + i) & 0x1FFFF]));
            out.push_back('\0');
            return out;
        }
        case 0xA1: {
            if (erasePolls_ < 0 && ++commands_ > kStuckPolls) {
                hung_ = true;
                return {};
            }
            const char busy = erasePolls_ != 0 ? '\x01' : '\x00';
            if (erasePolls_ > 0) --erasePolls_;
            return {busy, '\x00'};
        }
        case 0xB0: {
            const std::uint32_t at = static_cast<std::uint32_t>(cmd_[3] & 1) << 16 |
                                     static_cast<std::uint32_t>(cmd_[4]) << 8 | cmd_[5];
            for (std::size_t i = 6; i < cmd_.size(); ++i)
                memory_[(at + i - 6) & 0x1FFFF] &= cmd_[i];
            if (fault_ == DebuggerFault::Close && ++imageRecords_ >= kCloseAfterRecords)
                wantsClose_ = true;
            else if (fault_ != DebuggerFault::Close)
                ++imageRecords_;
            return {'\x00'};
        }
        case 0xB1:
            if (cmd_[6] == 0x63) {
                std::fill(memory_.begin(), memory_.end(), 0xFF);
                erasePolls_ = fault_ == DebuggerFault::EraseStuck ? -1 : kErasePolls;
            }
            return {'\x29'};
        case 0xB2:
            return {'\x85'};
        default:
            return {};
    }
}

}  // namespace pelor::sim
