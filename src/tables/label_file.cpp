#include "tables/label_file.h"

#include <algorithm>
#include <fstream>

#include "core/format.h"
#include "tables/table_file.h"

namespace pelor::tables {
namespace {

constexpr std::size_t kEntryWidth = 8;
constexpr std::size_t kHttpFirstEntry = 80;

constexpr std::array<const char*, 15> kSentenceHeads = {
    "$IIXDR,G", "$GPGGA, ", "$GPVTG, ", "$SDDBT, ", "$SDMTW, ", "$WIMWD, ", "$GPRMB, ", "$HCHDT, ",
    "$WIMWV, ", "$WIMDA, ", "$GPGLL, ", "$SDVHW, ", "$TIROT, ", "$YXXDR,B", "$GPRMC, "};

constexpr std::array<const char*, 20> kSymbolNames = {
    "Button",      "Bilge",      "Cruise", "HighBeam",  "Horn",      "InteriorLgt", "LowBeam",
    "RunLight",    "SideMarker", "Wiper",  "WorkLight", "AnchorLgt", "Anchor",      "Blower",
    "EngineStart", "EngineStop", "Trim",   "TrimTab",   "WaterPmp",  "Fan"};

std::uint8_t Digit(char c) {
    return static_cast<std::uint8_t>(c - '0');
}

std::uint8_t TwoDigits(std::string_view s, std::size_t at) {
    return static_cast<std::uint8_t>(10 * Digit(s[at]) + Digit(s[at + 1]));
}

std::uint8_t ThreeDigits(std::string_view s, std::size_t at) {
    return static_cast<std::uint8_t>(100 * Digit(s[at]) + 10 * Digit(s[at + 1]) + Digit(s[at + 2]));
}

// The 8 bytes as "%-8.8s" prints them: up to the first NUL, padded with blanks.
std::string PaddedEntry(std::string_view entry) {
    std::string text(entry.substr(0, std::min(entry.find('\0'), kEntryWidth)));
    text.resize(kEntryWidth, ' ');
    return text;
}

// The entry lines after entry 87 of the labels file about to be replaced, without their line
// ends. The program never writes those entries, but the unit may use what the file holds
// there, so a save keeps them. Nothing is kept from a missing file or one that is no table.
std::vector<std::string> EntriesAfterKept(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    if (!std::getline(in, line) || line.find("[TABLE]") == std::string::npos) return {};
    for (std::size_t e = 0; e < kLabelEntriesKept; ++e) {
        if (!std::getline(in, line)) return {};
    }
    std::vector<std::string> kept;
    while (kept.size() < kLabelEntryCount - kLabelEntriesKept && std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        kept.push_back(line);
    }
    return kept;
}

}  // namespace

std::string_view LabelEntry(const LabelTable& labels, std::size_t entry) {
    return {reinterpret_cast<const char*>(labels.data()) + kEntryWidth * entry, kEntryWidth};
}

void SetLabelEntry(LabelTable& labels, std::size_t entry, std::string_view text) {
    for (std::size_t k = 0; k < kEntryWidth; ++k) {
        labels[kEntryWidth * entry + k] =
            static_cast<std::uint8_t>(k < text.size() ? text[k] : ' ');
    }
}

LabelSettings DecodeLabelSettings(const LabelTable& labels) {
    LabelSettings s;
    for (std::size_t i = 0; i < kLabelStringCount; ++i) {
        s.LabelStrings[i] = std::string(LabelEntry(labels, i));
    }
    for (std::size_t i = 0; i < kKanteloSwitchCount; ++i) {
        s.KanteloLabels[i] = std::string(LabelEntry(labels, 16 + i));
    }
    s.time.utcOffset = TwoDigits(LabelEntry(labels, 48), 0);
    for (std::size_t t = 0; t < 3; ++t) {
        const auto e = LabelEntry(labels, 54 + t);
        for (std::size_t d = 0; d < 6; ++d) s.time.tachometers[t].digits[d] = Digit(e[1 + d]);
        s.time.tachometers[t].flag = e[7];
    }
    const auto e58 = LabelEntry(labels, 58);
    s.time.seconds = TwoDigits(e58, 0);
    s.time.minute = TwoDigits(e58, 2);
    s.time.hour = TwoDigits(e58, 4);
    s.time.day = TwoDigits(e58, 6);
    const auto e59 = LabelEntry(labels, 59);
    s.time.month = TwoDigits(e59, 0);
    s.time.middle = TwoDigits(e59, 2);
    s.time.year = TwoDigits(e59, 4);
    s.time.dateFlag = e59[6];

    const auto e60 = LabelEntry(labels, 60);
    const auto e61 = LabelEntry(labels, 61);
    for (std::size_t i = 0; i < 8; ++i) s.switchPowerOn[i] = e60[i] == '1';
    for (std::size_t i = 0; i < 4; ++i) s.switchPowerOn[8 + i] = e61[i] == '1';
    s.powerOnReset = e61[4] == '1';

    for (std::size_t e = 0; e < 8; ++e) {
        const auto pair = LabelEntry(labels, 64 + e);
        for (std::size_t half = 0; half < 2; ++half) {
            const std::size_t sw = 2 * e + half;
            const char mode = LabelEntry(labels, sw < 8 ? 62 : 63)[sw % 8];
            s.symbolCodes[sw] =
                static_cast<std::uint8_t>(ThreeDigits(pair, 1 + 4 * half) + (mode == '1' ? 64 : 0));
        }
    }
    std::string field;
    for (std::size_t e = kHttpFirstEntry; e < kLabelEntriesKept; ++e)
        field += LabelEntry(labels, e);
    s.httpPostAddress = HttpAddressFromField(field);
    return s;
}

std::string SymbolName(int code) {
    const int symbol = ((code % 64) + 64) % 64;
    if (symbol < static_cast<int>(kSymbolNames.size())) return kSymbolNames[symbol];
    return core::Format("Sym %d", symbol);
}

std::vector<std::string> SymbolChoices() {
    std::vector<std::string> choices;
    choices.reserve(128);
    for (int code = 0; code < 128; ++code) {
        choices.push_back((code < 64 ? "T:" : "M:") + SymbolName(code));
    }
    return choices;
}

std::array<char, 64> HttpField(std::string_view address) {
    std::array<char, 64> field{};
    field.fill('#');
    const std::string_view cut = address.substr(0, std::min(address.size(), kHttpAddressMax));
    std::copy(cut.begin(), cut.end(), field.begin());
    std::copy_n(":80", 3, field.begin() + static_cast<std::ptrdiff_t>(cut.size()));
    return field;
}

std::string HttpAddressFromField(std::string_view field) {
    while (!field.empty() && field.back() == '#') field.remove_suffix(1);
    if (field.size() >= 3 && field.substr(field.size() - 3) == ":80") field.remove_suffix(3);
    return std::string(field);
}

bool WriteLabelFile(core::Prompt& prompt, const std::string& directory, const std::string& name,
                    LabelTable& labels, const LabelSettings& settings) {
    for (std::size_t i = 0; i < kKanteloSwitchCount; ++i) {
        SetLabelEntry(labels, 16 + i, PaddedEntry(settings.KanteloLabels[i]));
    }
    SetLabelEntry(labels, 32, "DISABLED");
    for (std::size_t i = 0; i < kSentenceHeads.size(); ++i) {
        SetLabelEntry(labels, 33 + i, kSentenceHeads[i]);
    }
    const auto& t = settings.time;
    for (int k = 0; k < 6; ++k) {
        const int h = t.utcOffset + 4 * k;
        SetLabelEntry(
            labels, 48 + static_cast<std::size_t>(k),
            core::Format("%02d%02d%02d%02d", h % 24, (h + 1) % 24, (h + 2) % 24, (h + 3) % 24));
    }
    // One-digit and two-digit fields are kept in range so every entry stays 8 characters.
    for (std::size_t k = 0; k < 3; ++k) {
        const auto& d = t.tachometers[k].digits;
        SetLabelEntry(labels, 54 + k,
                      core::Format("0%01d%01d%01d%01d%01d%01d%c", d[0] % 10, d[1] % 10, d[2] % 10,
                                   d[3] % 10, d[4] % 10, d[5] % 10, t.tachometers[k].flag));
    }
    SetLabelEntry(labels, 57, "00000000");
    SetLabelEntry(labels, 58,
                  core::Format("%02d%02d%02d%02d", t.seconds % 100, t.minute % 100, t.hour % 100,
                               t.day % 100));
    SetLabelEntry(labels, 59,
                  core::Format("%02d%02d%02d%c%c", t.month % 100, t.middle % 100, t.year % 100,
                               t.dateFlag, t.dateFlag));
    std::string flags;
    for (std::size_t i = 0; i < 8; ++i) flags += settings.switchPowerOn[i] ? '1' : '0';
    SetLabelEntry(labels, 60, flags);
    flags.clear();
    for (std::size_t i = 8; i < 12; ++i) flags += settings.switchPowerOn[i] ? '1' : '0';
    flags += settings.powerOnReset ? "1100" : "0000";
    SetLabelEntry(labels, 61, flags);
    // Switches 12..15 have no settings: their flags and codes are written from zero codes.
    std::array<int, kSymbolCodeCount> codes{};
    for (std::size_t i = 0; i < kKanteloSwitchCount; ++i) codes[i] = settings.symbolCodes[i];
    for (std::size_t e = 0; e < 2; ++e) {
        flags.clear();
        for (std::size_t i = 0; i < 8; ++i) flags += codes[8 * e + i] >= 64 ? '1' : '0';
        SetLabelEntry(labels, 62 + e, flags);
    }
    for (std::size_t e = 0; e < 6; ++e) {
        SetLabelEntry(labels, 64 + e,
                      core::Format("%04d%04d", codes[2 * e] % 64, codes[2 * e + 1] % 64));
    }
    for (std::size_t e = 70; e < 80; ++e) SetLabelEntry(labels, e, "00000000");
    const auto http = HttpField(settings.httpPostAddress);
    for (std::size_t e = 0; e < 8; ++e) {
        SetLabelEntry(labels, kHttpFirstEntry + e, std::string_view(http.data() + 8 * e, 8));
    }

    const std::vector<std::string> kept =
        name.empty() ? std::vector<std::string>() : EntriesAfterKept(directory + name);
    TableWriter writer(prompt);
    if (!writer.Begin(directory, name, kLabelHeader)) return false;
    for (std::size_t e = 0; e < kLabelEntriesKept; ++e) {
        // Entries up to 79 print as strings, the HTTP field character by character.
        const std::string text = e < kHttpFirstEntry ? PaddedEntry(LabelEntry(labels, e))
                                                     : std::string(LabelEntry(labels, e));
        std::string line = "db '" + text + "' ; ";
        core::AppendFormat(line, "%d \n", static_cast<int>(e));
        if (!writer.Line(line)) return false;
    }
    for (const std::string& entry : kept) {
        if (!writer.Line(entry + "\n")) return false;
    }
    return writer.Finish(false);
}

}  // namespace pelor::tables
