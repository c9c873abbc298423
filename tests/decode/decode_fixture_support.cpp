#include "decode/decode_fixture.h"

#include <cstdio>

namespace pelor::decode::testing {

DecodeFixture::DecodeFixture() : OwnedChannelContext(0) {
    for (int i = 0; i < kGridSize; ++i) {
        gridX[static_cast<std::size_t>(i)] = 100 + i;
        gridY[static_cast<std::size_t>(i)] = 200 + i;
    }
}

void DecodeFixture::Show(int channel, int mode, int cell) {
    labelMode[0][static_cast<std::size_t>(channel)] = static_cast<std::uint8_t>(mode);
    labelCell[0][static_cast<std::size_t>(channel)] = static_cast<std::uint8_t>(cell);
}

void DecodeFixture::MapN2K(int channel, int group, int instance, int field) {
    options[256 + 2 * static_cast<std::size_t>(channel)] =
        static_cast<std::uint8_t>((group << 4) | (instance & 0x0F));
    options[257 + 2 * static_cast<std::size_t>(channel)] = static_cast<std::uint8_t>(field);
}

void DecodeFixture::SetLabel(int channel, std::string_view label) {
    labelStrings[static_cast<std::size_t>(channel)] = std::string(label);
    for (std::size_t i = 0; i < 8; ++i) {
        labelTable[static_cast<std::size_t>(channel) * 8 + i] =
            static_cast<std::uint8_t>(i < label.size() ? label[i] : ' ');
    }
}

void DecodeFixture::Capture(int channel) {
    Show(channel, 1);
    store.LastSentence[static_cast<std::size_t>(channel)] = std::string(33, '.');
}

std::string DecodeFixture::Work(int channel) const {
    return store.LastSentence[static_cast<std::size_t>(channel)].substr(9, 8);
}

Payload& Payload::U8(std::size_t at, unsigned v) {
    bytes.at(at) = static_cast<std::uint8_t>(v);
    return *this;
}
Payload& Payload::U16(std::size_t at, unsigned v) {
    U8(at, v & 0xFF);
    return U8(at + 1, (v >> 8) & 0xFF);
}
Payload& Payload::U32(std::size_t at, std::uint32_t v) {
    U16(at, v & 0xFFFF);
    return U16(at + 2, v >> 16);
}
std::string Payload::Hex() const {
    std::string out;
    char two[3];
    for (auto b : bytes) {
        std::snprintf(two, sizeof two, "%02X", b);
        out += two;
    }
    return out;
}

std::string DecodeFixture::Shown(int channel) const {
    const auto& text = store.m_PosValueText[static_cast<std::size_t>(channel)];
    return std::string(text.begin(), text.end());
}

std::unique_ptr<DecodeFixture> MakeFixture() {
    return std::make_unique<DecodeFixture>();
}

namespace {
std::string WithChecksum(std::string body) {
    unsigned sum = 0;
    for (std::size_t i = 1; i < body.size(); ++i) sum ^= static_cast<unsigned char>(body[i]);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r", sum);
    return body + tail;
}
}  // namespace

std::string TransducerSentence(std::string_view value, std::string_view label, char digit) {
    std::string body = "$IIXDR,C,";
    body += value;
    body += ",C,";
    body += label;
    body += digit;
    return WithChecksum(body);
}

std::string N2KSentence(std::uint32_t pgn, std::uint32_t time, const std::string& payloadHex) {
    char head[40];
    std::snprintf(head, sizeof head, "$PKZLN,%06X,%08X,01,", pgn, time);
    return WithChecksum(head + payloadHex);
}

std::string N2KFrame(std::uint32_t pgn, std::uint32_t time, std::string_view payload) {
    std::string body;
    body += static_cast<char>(0x93);
    body += static_cast<char>(11 + payload.size());
    body += static_cast<char>(2);
    body += static_cast<char>(pgn & 0xFF);
    body += static_cast<char>((pgn >> 8) & 0xFF);
    body += static_cast<char>((pgn >> 16) & 0xFF);
    body += static_cast<char>(0xFF);
    body += static_cast<char>(0x23);
    for (int i = 0; i < 4; ++i) body += static_cast<char>((time >> (8 * i)) & 0xFF);
    body += static_cast<char>(payload.size());
    body += payload;
    unsigned sum = 0;
    for (char ch : body) sum += static_cast<unsigned char>(ch);
    body += static_cast<char>((256 - (sum & 0xFF)) & 0xFF);
    std::string out = "\x10\x02";
    for (char ch : body) {
        out += ch;
        if (ch == '\x10') out += ch;
    }
    out += "\x10\x03";
    return out;
}

}  // namespace pelor::decode::testing
