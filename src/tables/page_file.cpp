#include "tables/page_file.h"

#include <cctype>
#include <vector>

#include "core/format.h"
#include "core/text_file.h"
#include "tables/table_file.h"

namespace pelor::tables {
namespace {

constexpr const char* kDemoWriteFailure = "Error Writing to Page data file";

std::string ModeComment(std::size_t byte, bool dualDisplay) {
    const int position = static_cast<int>(byte % kPositionCount);
    const int page = static_cast<int>(byte / kPositionCount);
    if (!dualDisplay) return core::Format(";DISPLAY  %02d-PAGE %02d \n", position, page);
    return core::Format(";DISPLAY %d %02d-PAGE %02d \n", page / 8, position, page % 8);
}

std::string CellComment(std::size_t row, std::size_t position, bool dualDisplay) {
    const int pos = static_cast<int>(position);
    std::string rowName =
        row == 16 ? "NMEA "
                  : core::Format("PPOS%-2d", static_cast<int>(row % (dualDisplay ? 8 : 16)));
    if (!dualDisplay) return core::Format(";POSITION %02d - %s \n", pos, rowName.c_str());
    const int display = row < 8 ? 0 : 1;
    return core::Format(";POSITION %d %02d - %s \n", display, pos, rowName.c_str());
}

// Copies the demo lines of DemoData.txt (after its first line). Returns false when the page
// file failed; a short demo file is reported and ends the copy, the page file still counts.
bool CopyDemoData(core::Prompt& prompt, core::TextFile& demo, TableWriter& writer) {
    std::string line;
    bool ok = true;
    bool complete = demo.ReadLine(line, core::kTableLineBuffer);
    for (std::size_t k = 0; complete && k < kDemoFrames * kDemoChannels; ++k) {
        if (!demo.ReadLine(line, core::kTableLineBuffer)) {
            complete = false;
            break;
        }
        if (line.back() != '\n') line.push_back('\n');
        if (!writer.Line(line, kDemoWriteFailure)) {
            ok = false;
            break;
        }
    }
    if (ok && !complete) prompt.Message("Error Reading from Demo Data file", "Error");
    if (!demo.Close()) prompt.Message("Could not Demo Data Close File", "Error");
    return ok;
}

}  // namespace

std::uint8_t NormalisedModeByte(std::uint8_t mode, int displayType) {
    if (displayType == 4 || displayType == 8) return static_cast<std::uint8_t>(mode | 0x10);
    return static_cast<std::uint8_t>(mode & 0x0F);
}

bool WritePageFile(core::Prompt& prompt, const std::string& directory, const std::string& name,
                   PageTable& pages, int displayType, bool dualDisplay) {
    TableWriter::Texts texts;
    texts.emptyNameCaption = "Error8";
    texts.closeFailure = "Could not Close Page File";
    TableWriter writer(prompt, texts);
    if (!writer.Begin(directory, name, kPageHeader)) return false;

    // Display 1 of a dual display writes its own pages 8..15, so no edit of it is lost.
    for (std::size_t b = 0; b < kCellBytes; ++b) {
        pages[b] = NormalisedModeByte(pages[b], displayType);
        if (!writer.Line(ByteEntryLine(pages[b], ModeComment(b, dualDisplay)))) return false;
    }
    for (std::size_t row = 0; row <= 16; ++row) {
        for (std::size_t pos = 0; pos < kPositionCount; ++pos) {
            const std::uint8_t value = pages[kCellBytes + kPositionCount * row + pos];
            if (!writer.Line(ByteEntryLine(value, CellComment(row, pos, dualDisplay)))) {
                return false;
            }
        }
    }

    core::TextFile demo;
    if (demo.Open(directory + kDemoDataFile, core::TextFile::Mode::Read)) {
        if (!CopyDemoData(prompt, demo, writer)) return false;
    } else {
        for (std::size_t f = 0; f < kDemoFrames; ++f) {
            for (std::size_t c = 0; c < kDemoChannels; ++c) {
                const int channel = static_cast<int>(c);
                const std::string comment =
                    core::Format(";DEMO DATA %02d - CHAN %d \n", channel, channel);
                if (!writer.Line(ByteEntryLine(static_cast<std::uint8_t>(4 * f), comment),
                                 kDemoWriteFailure)) {
                    return false;
                }
            }
        }
    }
    return writer.Finish(false);
}

bool UpdatePageFileEntries(core::Prompt& prompt, const std::string& directory,
                           const std::string& name, const PageTable& pages, std::size_t first,
                           std::size_t count) {
    if (name.empty()) {
        prompt.Message("Not a valid file name", "Error8");
        return false;
    }
    // The lines are cut as the table reader cuts them, so that entry i is read line i + 1.
    core::TextFile in;
    if (!in.Open(directory + name, core::TextFile::Mode::Read)) {
        prompt.Message("Could not Open File", "Error");
        return false;
    }
    std::vector<std::string> lines;
    std::string line;
    while (in.ReadLine(line, core::kTableLineBuffer)) lines.push_back(line);
    const bool readError = in.HasError();
    in.Close();
    if (readError) {
        prompt.Message(core::Format("Error Reading from file %s", name.c_str()), "Error");
        return false;
    }

    const auto hex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
    bool fits = !lines.empty() && lines[0].find("[TABLE]") != std::string::npos &&
                lines.size() > first + count && first + count <= pages.size();
    for (std::size_t e = first; fits && e < first + count; ++e) {
        const std::string& l = lines[e + 1];
        fits = l.rfind("db %", 0) == 0 && l.size() >= 6 && hex(l[4]) && hex(l[5]);
    }
    if (!fits) {
        prompt.Message(core::Format("%s holds no page definitions to update: save the page "
                                    "definitions first",
                                    name.c_str()),
                       "Error");
        return false;
    }
    for (std::size_t e = first; e < first + count; ++e) {
        const std::string digits = core::Format("%02X", static_cast<unsigned>(pages[e]));
        lines[e + 1].replace(4, 2, digits);
    }

    TableWriter::Texts texts;
    texts.emptyNameCaption = "Error8";
    texts.closeFailure = "Could not Close Page File";
    TableWriter writer(prompt, texts);
    if (!writer.Begin(directory, name, lines[0])) return false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (!writer.Line(lines[i])) return false;
    }
    return writer.Finish(false);
}

}  // namespace pelor::tables
