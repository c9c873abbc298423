#include "prefs/labels_page.h"

#include "core/format.h"

namespace pelor::prefs {
namespace {

std::string Trimmed(std::string_view entry) {
    const auto nul = entry.find('\0');
    if (nul != std::string_view::npos) entry = entry.substr(0, nul);
    while (!entry.empty() && entry.back() == ' ') entry.remove_suffix(1);
    return std::string(entry);
}

std::string Padded(const std::string& text) {
    std::string out = text.substr(0, kLabelWidth);
    out.resize(kLabelWidth, ' ');
    return out;
}

}  // namespace

std::string LabelCaption(int entry) {
    if (entry < 12) return core::Format("Display Label %d", entry);
    switch (entry) {
        case 12:
            return "NMEA Label ";
        case 13:
            return "PULSE Label 2";
        case 14:
            return "PULSE Label 1";
        default:
            return "PULSE Label 0";
    }
}

LabelsPage LabelsPageFrom(const LabelSettings& s) {
    LabelsPage page;
    for (std::size_t i = 0; i < kPageLabelCount; ++i) page.labels[i] = Trimmed(s.LabelStrings[i]);
    for (std::size_t i = 0; i < kKanteloSwitchCount; ++i) {
        page.kanteloLabels[i] = Trimmed(s.KanteloLabels[i]);
        page.symbolCodes[i] = s.symbolCodes[i] & 0x7F;
        page.powerOn[i] = s.switchPowerOn[i];
    }
    page.powerOnReset = s.powerOnReset;
    page.labelsAsLoaded = page.labels;
    page.kanteloLabelsAsLoaded = page.kanteloLabels;
    return page;
}

std::string CheckLabelsPage(const LabelsPage& page) {
    auto bad = [](const std::string& text) {
        if (text.size() > kLabelWidth) return true;
        for (unsigned char c : text) {
            if (c < 0x20 || c == '\'' || c >= 0x7F) return true;
        }
        return false;
    };
    for (int i = 0; i < kPageLabelCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (page.labels[k] != page.labelsAsLoaded[k] && bad(page.labels[k])) {
            return core::Format(
                "%s: a label is at most 8 characters of plain text, without apostrophes",
                LabelCaption(i).c_str());
        }
    }
    for (int i = 0; i < static_cast<int>(kKanteloSwitchCount); ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (page.kanteloLabels[k] != page.kanteloLabelsAsLoaded[k] && bad(page.kanteloLabels[k])) {
            return core::Format(
                "Kantelo Label %d: a label is at most 8 characters of plain text, without "
                "apostrophes",
                i);
        }
        const int code = page.symbolCodes[static_cast<std::size_t>(i)];
        if (code < 0 || code > 127) return core::Format("Kantelo Label %d: unknown symbol", i);
    }
    return {};
}

void ApplyLabelsPage(const LabelsPage& page, LabelTable& labels, LabelSettings& settings) {
    for (std::size_t i = 0; i < kPageLabelCount; ++i) {
        const std::string text = Padded(page.labels[i]);
        SetLabelEntry(labels, i, text);
        settings.LabelStrings[i] = text;
    }
    for (std::size_t i = 0; i < kKanteloSwitchCount; ++i) {
        const std::string text = Padded(page.kanteloLabels[i]);
        SetLabelEntry(labels, 16 + i, text);
        settings.LabelStrings[16 + i] = text;
        settings.KanteloLabels[i] = text;
        settings.symbolCodes[i] = static_cast<std::uint8_t>(page.symbolCodes[i] & 0x7F);
        settings.switchPowerOn[i] = page.powerOn[i];
    }
    settings.powerOnReset = page.powerOnReset;
}

}  // namespace pelor::prefs
