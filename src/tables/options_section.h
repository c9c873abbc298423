#pragma once
// OPEN and PREFSAVE of a page that edits one section of the options file in place (CHANNELS,
// ALARMS, NMEA 2000). A row says where the section lies, how the page is taken from and put
// into the options table, the page's check and the message when OPEN cannot read the file;
// OPEN reads the section's byte entries, PREFSAVE rewrites its lines and says "File Saved".
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/prompt.h"
#include "tables/options_file.h"
#include "tables/table_file.h"
#include "tables/table_types.h"

namespace pelor::tables {

template <class Page>
struct OptionsSectionRow {
    std::size_t first;                              // the section's first byte
    std::size_t count;                              // its bytes
    const char* openFailure;                        // OPEN's message when the file cannot be read
    Page (*fromOptions)(const OptionsTable&);       // reads the section's bytes
    void (*toOptions)(const Page&, OptionsTable&);  // writes them, and only them
    std::string (*check)(const Page&);              // "" or the message naming a bad field
};

// The row of a page kept as a byte array of its own (CHANNELS, ALARMS): bytes First ..
// First + N - 1 of the options table.
template <class Page, std::size_t First, std::size_t N,
          Page (*FromBytes)(std::span<const std::uint8_t, N>),
          std::array<std::uint8_t, N> (*ToBytes)(const Page&)>
constexpr OptionsSectionRow<Page> ByteArraySection(const char* openFailure,
                                                   std::string (*check)(const Page&)) {
    return {First,
            N,
            openFailure,
            [](const OptionsTable& options) {
                return FromBytes(std::span<const std::uint8_t, N>(options.data() + First, N));
            },
            [](const Page& page, OptionsTable& options) {
                const std::array<std::uint8_t, N> bytes = ToBytes(page);
                std::copy(bytes.begin(), bytes.end(), options.begin() + First);
            },
            check};
}

// OPEN: the section of directory + optionsFile into `page`; a file that cannot be read is
// named, the row's message follows and the page is left as it was.
template <class Page>
bool OpenOptionsSection(core::Prompt& prompt, const std::string& directory,
                        const std::string& optionsFile, const OptionsSectionRow<Page>& section,
                        Page& page) {
    OptionsTable table{};
    const std::span<std::uint8_t> bytes(table.data() + section.first, section.count);
    if (!ReadByteEntries(prompt, directory + optionsFile, static_cast<int>(section.first),
                         static_cast<int>(section.count), bytes)) {
        prompt.Message(section.openFailure, "Error");
        return false;
    }
    page = section.fromOptions(table);
    return true;
}

// PREFSAVE: a page the check refuses is named in a message and nothing is written; else the
// section's lines of the options file are rewritten in place.
template <class Page>
bool SaveOptionsSection(core::Prompt& prompt, const std::string& directory,
                        const std::string& optionsFile, const OptionsSectionRow<Page>& section,
                        const Page& page) {
    if (const std::string bad = section.check(page); !bad.empty()) {
        prompt.Message(bad, "Error");
        return false;
    }
    OptionsTable table{};
    section.toOptions(page, table);
    return UpdateOptionsSection(prompt, directory, optionsFile, table, section.first,
                                section.count);
}

}  // namespace pelor::tables
