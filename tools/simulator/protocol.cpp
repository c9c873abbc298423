#include "simulator/protocol.h"

#include <cstdio>

namespace pelor::sim {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendHex(std::string& out, std::uint32_t value, int digits) {
    for (int i = digits - 1; i >= 0; --i) out += kHex[(value >> (4 * i)) & 0xF];
}

std::string Fit(std::string_view text, std::size_t width) {
    std::string out(text.substr(0, width));
    out.resize(width, ' ');
    return out;
}

}  // namespace

std::uint8_t NmeaChecksum(std::string_view body) {
    std::uint8_t sum = 0;
    for (const char c : body) sum ^= static_cast<std::uint8_t>(c);
    return sum;
}

std::string WithChecksum(std::string_view body, std::string_view ending) {
    std::string out = "$";
    out += body;
    out += '*';
    AppendHex(out, NmeaChecksum(body), 2);
    out += ending;
    return out;
}

std::string ValueText(std::string_view display, int level) {
    std::string out = Fit(display, 4) + "##";
    AppendHex(out, static_cast<std::uint32_t>(level < 0 ? 0 : level > 255 ? 255 : level), 2);
    return out;
}

std::string XdrSentence(int channel, std::string_view valueText, std::string_view label) {
    std::string body = "IIXDR,G,";
    body += Fit(valueText, 8);
    body += ",U,";
    body += Fit(label, 8);
    body += kHex[channel & 0xF];
    return WithChecksum(body, "\r");
}

std::string N2kSentence(std::uint32_t pgn, std::uint32_t timeMs, int source,
                        std::span<const std::uint8_t> payload) {
    std::string body = "PKZLN,";
    AppendHex(body, pgn, 6);
    body += ',';
    AppendHex(body, timeMs, 8);
    body += ',';
    AppendHex(body, static_cast<std::uint32_t>(source), 2);
    body += ',';
    for (const auto b : payload) AppendHex(body, b, 2);
    return WithChecksum(body);
}

std::string N2kFrame(std::uint32_t pgn, std::uint32_t timeMs, int source,
                     std::span<const std::uint8_t> payload) {
    std::string body;
    body += '\x93';
    body += static_cast<char>(11 + payload.size());
    body += '\x02';  // priority
    body += static_cast<char>(pgn & 0xFF);
    body += static_cast<char>((pgn >> 8) & 0xFF);
    body += static_cast<char>((pgn >> 16) & 0xFF);
    body += '\xFF';  // destination: all
    body += static_cast<char>(source);
    for (int i = 0; i < 4; ++i) body += static_cast<char>((timeMs >> (8 * i)) & 0xFF);
    body += static_cast<char>(payload.size());
    for (const auto b : payload) body += static_cast<char>(b);
    std::uint8_t sum = 0;
    for (const char c : body) sum = static_cast<std::uint8_t>(sum + static_cast<std::uint8_t>(c));
    body += static_cast<char>(static_cast<std::uint8_t>(256 - sum));
    std::string out = "\x10\x02";
    for (const char c : body) {
        out += c;
        if (c == '\x10') out += c;
    }
    out += "\x10\x03";
    return out;
}

std::string ScreenRecord(int gaugeType, int x, int y, int frame, std::string_view value,
                         std::string_view label) {
    // m ttt sp " xxx , yyy , sp ff sp " sp " vvvv " sp " llllllll "
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "m%03d \"%03d,%03d, %02d \" \"", gaugeType % 1000,
                  x % 1000, y % 1000, frame % 100);
    std::string out = numbers;
    out += Fit(value, 4);
    out += "\" \"";
    out += Fit(label, 8);
    out += "\"\r\n";
    return out;
}

std::string VersionSentence(std::string_view version) {
    return WithChecksum("PKZLS,V," + Fit(version, 9) + ",PELOR UNIT SIMULATOR");
}

std::string StatusDSentence(std::string_view text) {
    return WithChecksum("PKZLS,D," + Fit(text, 29), "\r\n");
}

std::string StatusHSentence(std::string_view text) {
    return WithChecksum("PKZLS,H," + Fit(text, 44), "\r\n");
}

std::string SwitchSentence(const bool (&outputs)[12]) {
    std::string body = "PKZLS,S,";
    for (const bool on : outputs) body += on ? '1' : '0';
    body += "0000,SWITCH MODULE STATUS,12 OUTPUTS,BANK 0";
    return WithChecksum(body);
}

}  // namespace pelor::sim
