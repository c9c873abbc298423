// Project start-up as a whole: the saved project path, the project file, the theme it names
// and every table it names, loaded in the dashboard's order. The input holds the files, cut at
// NUL bytes: project, labels, pages, options, calibration table 0, theme. An empty project part
// stands for a project naming the other files, so most inputs reach the tables and the theme;
// it names the input's calibration table for the first slot and absent files for the other
// eleven, so that one table is not parsed twelve times over and the missing-table path runs.
// The files are written into a scratch folder (start-up finds them by name in the project
// folder); every dialog is cancelled and every question answered No.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/prompt.h"
#include "display/display.h"
#include "fuzz_support.h"
#include "tables/project_start.h"
#include "tables/project_tables.h"

namespace {

constexpr const char* kNames[] = {"project.cdp", "L.txt", "P.txt", "O.txt", "C0.txt", "T.txt"};

const std::string kProject =
    "[Pelor_Project_File]\r\n[Version 3.04]\r\nL.txt\r\nP.txt\r\nO.txt\r\nO.txt\r\nO.txt\r\n"
    "log.csv\r\nC0.txt\r\nC1.txt\r\nC2.txt\r\nC3.txt\r\nC4.txt\r\nC5.txt\r\nC6.txt\r\nC7.txt\r\n"
    "C8.txt\r\nC9.txt\r\nC10.txt\r\nC11.txt\r\nproject.cdp\r\nT.txt\r\n[no bitmap]\r\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pelor;
    static std::unique_ptr<tables::ProjectTables> tablesMemory;
    const std::string& dir = fuzz::ScratchFolder();
    if (dir.empty()) return 0;
    static std::vector<std::string> parts(6);
    const char* at = reinterpret_cast<const char*>(data);
    const char* const end = at + size;
    for (std::size_t part = 0; part < parts.size(); ++part) {
        // The last part keeps any further NUL bytes.
        const void* cut = part + 1 < parts.size() && at != end
                              ? std::memchr(at, 0, static_cast<std::size_t>(end - at))
                              : nullptr;
        const char* stop = cut != nullptr ? static_cast<const char*>(cut) : end;
        parts[part].assign(at, static_cast<std::size_t>(stop - at));
        at = stop == end ? end : stop + 1;
    }
    if (parts[0].empty()) parts[0] = kProject;
    // A bitmap path would be opened for writing anywhere on the machine: defused.
    for (std::size_t at = parts[0].find(".bmp"); at != std::string::npos;
         at = parts[0].find(".bmp", at)) {
        parts[0][at + 3] = 'q';
    }
    // Start-up only reads these files, so one that holds this input's part already is left
    // alone: a mutation mostly changes one part, and the writes cost more than the parsing.
    static std::vector<std::string> written(parts.size());
    static std::vector<bool> known(parts.size(), false);
    for (std::size_t k = 0; k < parts.size(); ++k) {
        if (known[k] && written[k] == parts[k]) continue;
        known[k] = false;
        if (!fuzz::WriteInput(dir + kNames[k], reinterpret_cast<const uint8_t*>(parts[k].data()),
                              parts[k].size())) {
            return 0;
        }
        written[k] = parts[k];
        known[k] = true;
    }

    // Start-up enters the project folder; the fuzzer's own paths may be relative.
    static const std::string home = tables::CurrentDirectoryWithSlash();
    struct Return {
        ~Return() { tables::ChangeDirectory(home); }
    } back;
    core::ScriptedPrompt prompt;
    tables::Project project;
    if (!tables::OpenProjectAtStart(prompt, project, dir + kNames[0])) return 0;
    display::Display display;
    if (!project.themeFile.empty())
        display.LoadThemeFile(project.directory + project.themeFile, prompt);
    if (!tablesMemory) tablesMemory = std::make_unique<tables::ProjectTables>();
    tables::ProjectTables& tables = *tablesMemory;
    tables = tables::ProjectTables{};
    tables::LoadStartupTables(prompt, project, tables);
    for (const auto& s : display.Styles()) {
        if (!display::StripSizeAllowed(s.width, s.height, s.frameCount)) __builtin_trap();
    }
    if (tables.values.pageCount < 0 || tables.values.pageCount > 255) __builtin_trap();
    return 0;
}
