#include "command_parser.h"

#include <algorithm>
#include <optional>

namespace pelor::sim {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Two hex digits at `at`, or -1.
int HexByte(std::string_view s, std::size_t at) {
    if (at + 2 > s.size()) return -1;
    const int hi = HexValue(s[at]);
    const int lo = HexValue(s[at + 1]);
    return hi < 0 || lo < 0 ? -1 : hi * 16 + lo;
}

// Switch states from the state word bytes W0..W2: two bits per output, 01 = on.
void OutputsFromWord(Command& command, int w0, int w1, int w2) {
    const int word = w0 | (w1 << 8) | (w2 << 16);
    for (int i = 0; i < 12; ++i) {
        const int bits = (word >> (2 * i)) & 3;
        command.outputs[static_cast<std::size_t>(i)] = bits == 1 ? 1 : bits == 0 ? 0 : -1;
    }
}

enum class Parse { Done, Incomplete, Skip };

struct Result {
    Parse parse = Parse::Skip;
    std::size_t used = 1;  // bytes consumed from the marker on
    std::optional<Command> command;
};

// $PKZLC,X\r
Result ParseUnitCommand(std::string_view s) {
    if (s.size() < 9) return {Parse::Incomplete, 0, {}};
    if (s[8] != '\r') return {};
    Command c;
    switch (s[7]) {
        case 'N':
            c.kind = CommandKind::NextPage;
            break;
        case 'Z':
            c.kind = CommandKind::PassThrough;
            break;
        case 'P':
            c.kind = CommandKind::Program;
            break;
        case 'E':
            c.kind = CommandKind::Erase;
            break;
        default:
            return {};
    }
    return {Parse::Done, 9, c};
}

// \r$IIXDR,S, ON ,R,SW5     5,*66\r — the output number is the hex digit before ",*".
Result ParseSwitchXdr(std::string_view s) {
    const std::size_t star = s.find('*');
    if (star == std::string_view::npos) {
        return s.size() > 48 ? Result{} : Result{Parse::Incomplete, 0, {}};
    }
    if (star < 12 || star > 48 || s[star - 1] != ',') return {};
    const int output = HexValue(s[star - 2]);
    if (output < 0 || output > 11) return {};
    Command c;
    c.kind = CommandKind::Switch;
    c.outputs.fill(-1);
    const std::string_view value = s.substr(9, std::min<std::size_t>(4, star - 9));
    if (value.find("ON") != std::string_view::npos && value.find("OFF") == std::string_view::npos)
        c.outputs[static_cast<std::size_t>(output)] = 1;
    else if (value.find("OFF") != std::string_view::npos)
        c.outputs[static_cast<std::size_t>(output)] = 0;
    else
        return {};
    return {Parse::Done, star + 3, c};
}

// $PKZLN,01F20E,tttttttt,ss,BBW0W1W2W3FFFFFF*hh\r\n — switch bank control through a gateway.
Result ParseSwitchN2k(std::string_view s) {
    if (s.size() < 45) return {Parse::Incomplete, 0, {}};
    if (s.substr(7, 6) != "01F20E") return {Parse::Skip, 7, {}};
    const int bank = HexByte(s, 26);
    const int w0 = HexByte(s, 28);
    const int w1 = HexByte(s, 30);
    const int w2 = HexByte(s, 32);
    if (bank < 0 || w0 < 0 || w1 < 0 || w2 < 0) return {};
    Command c;
    c.kind = CommandKind::Switch;
    c.bank = bank;
    OutputsFromWord(c, w0, w1, w2);
    return {Parse::Done, 42, c};
}

// "  *" XX YY \r — the page range to erase.
Result ParseEraseRange(std::string_view s) {
    if (s.size() < 8) return {Parse::Incomplete, 0, {}};
    const int first = HexByte(s, 3);
    const int last = HexByte(s, 5);
    if (first < 0 || last < 0 || s[7] != '\r') return {};
    Command c;
    c.kind = CommandKind::EraseRange;
    c.firstPage = first;
    c.lastPage = last;
    return {Parse::Done, 8, c};
}

// :LLAAAATT<data>CC\r
Result ParseRecord(std::string_view s) {
    const std::size_t end = s.find('\r');
    if (end == std::string_view::npos)
        return s.size() > 600 ? Result{} : Result{Parse::Incomplete, 0, {}};
    const int count = HexByte(s, 1);
    const int hi = HexByte(s, 3);
    const int lo = HexByte(s, 5);
    const int type = HexByte(s, 7);
    if (count < 0 || hi < 0 || lo < 0 || type < 0) return {};
    const std::size_t need = 9 + 2 * static_cast<std::size_t>(count) + 2;
    if (end < need) return {};
    Command c;
    c.kind = CommandKind::Record;
    c.recordType = type;
    c.address = static_cast<std::uint16_t>(hi * 256 + lo);
    c.addressText = std::string(s.substr(3, 4));
    unsigned sum = static_cast<unsigned>(count + hi + lo + type);
    for (int i = 0; i < count; ++i) {
        const int b = HexByte(s, 9 + 2 * static_cast<std::size_t>(i));
        if (b < 0) return {};
        c.data.push_back(static_cast<std::uint8_t>(b));
        sum += static_cast<unsigned>(b);
    }
    const int check = HexByte(s, 9 + 2 * static_cast<std::size_t>(count));
    c.checksumOk = check >= 0 && ((sum + static_cast<unsigned>(check)) & 0xFF) == 0;
    return {Parse::Done, end + 1, c};
}

// DLE STX 0x94 ... DLE ETX with doubled DLEs: an adapter's send-message command; the switch
// bank control message (PGN 127502) is the one the unit acts on.
Result ParseAdapterFrame(std::string_view s) {
    std::string body;
    std::size_t i = 2;
    for (;; ++i) {
        if (i + 1 >= s.size()) return s.size() > 600 ? Result{} : Result{Parse::Incomplete, 0, {}};
        if (s[i] == '\x10') {
            if (s[i + 1] == '\x10') {
                body += '\x10';
                ++i;
                continue;
            }
            if (s[i + 1] == '\x03') break;
            return {};
        }
        body += s[i];
        if (body.size() > 300) return {};
    }
    const std::size_t used = i + 2;
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(body[k]); };
    if (body.size() < 17 || byte(0) != 0x94) return {Parse::Skip, used, {}};
    unsigned sum = 0;
    for (const char ch : body) sum += static_cast<std::uint8_t>(ch);
    const std::uint32_t pgn = byte(3) | (byte(4) << 8) | (byte(5) << 16);
    if ((sum & 0xFF) != 0 || pgn != 127502) return {Parse::Skip, used, {}};
    Command c;
    c.kind = CommandKind::Switch;
    c.bank = byte(8);
    OutputsFromWord(c, byte(9), byte(10), byte(11));
    return {Parse::Done, used, c};
}

struct Marker {
    std::string_view text;
    Result (*parse)(std::string_view);
};

Result ParseHold(std::string_view s) {
    if (s.size() < 6) return {Parse::Incomplete, 0, {}};
    Command c;
    c.kind = CommandKind::Hold;
    return {Parse::Done, 6, c};
}

constexpr Marker kMarkers[] = {
    {"$PKZLC,", ParseUnitCommand},
    {std::string_view("\r\ntc\r\n", 6), ParseHold},
    {"$IIXDR,S,", ParseSwitchXdr},
    {"$PKZLN,", ParseSwitchN2k},
    {"  *", ParseEraseRange},
    {":", ParseRecord},
    {std::string_view("\x10\x02", 2), ParseAdapterFrame},
};

}  // namespace

std::vector<Command> CommandParser::Feed(std::string_view bytes) {
    std::vector<Command> out;
    pending_.append(bytes);
    if (pending_.size() > kMaxPending) pending_.erase(0, pending_.size() - kMaxPending);
    std::size_t pos = 0;
    while (pos < pending_.size()) {
        const std::string_view rest(pending_.data() + pos, pending_.size() - pos);
        // The earliest marker; a marker cut by the end of the buffer keeps its bytes.
        std::size_t best = std::string_view::npos;
        const Marker* found = nullptr;
        for (const auto& m : kMarkers) {
            const std::size_t at = rest.find(m.text);
            if (at < best) {
                best = at;
                found = &m;
            }
        }
        if (found == nullptr) {
            // Keep a tail that may be the start of a marker.
            const std::size_t keep = std::min<std::size_t>(rest.size(), 8);
            pos = pending_.size() - keep;
            break;
        }
        const Result r = found->parse(rest.substr(best));
        if (r.parse == Parse::Incomplete) {
            pos += best;
            break;
        }
        if (r.parse == Parse::Done && r.command) out.push_back(*r.command);
        pos += best + std::max<std::size_t>(r.used, 1);
    }
    pending_.erase(0, std::min(pos, pending_.size()));
    return out;
}

}  // namespace pelor::sim
