#include "tables/calibration_file.h"

#include "core/format.h"
#include "core/text_file.h"
#include "tables/table_file.h"

namespace pelor::tables {

std::string CalibrationText(const CalibrationTables& tables, int table, int raw) {
    if (table < 0 || table >= static_cast<int>(kCalibrationTableCount) || raw < 0 ||
        raw >= static_cast<int>(kCalibrationEntries)) {
        return {};
    }
    const auto& t = tables[static_cast<std::size_t>(table)];
    return std::string(reinterpret_cast<const char*>(t.data()) + 8 * static_cast<std::size_t>(raw),
                       6);
}

CalibrationRows RowsFromTable(const CalibrationTable& table, std::string_view comment) {
    CalibrationRows rows;
    const char* bytes = reinterpret_cast<const char*>(table.data());
    for (std::size_t r = 0; r < kCalibrationEntries; ++r) {
        rows[r].value.assign(bytes + 8 * r, 6);
        rows[r].index.assign(bytes + 8 * r + 6, 2);
        rows[r].comment = std::string(comment);
    }
    return rows;
}

CalibrationFileRead ReadCalibrationFile(core::Prompt& prompt, const std::string& directory,
                                        const std::string& name) {
    core::TextFile file;
    if (!file.Open(directory + name, core::TextFile::Mode::Read)) {
        prompt.Message(core::Format("Could not Open %s", name.c_str()), "Error");
        return {};
    }
    return ReadCalibrationFile(prompt, file, name);
}

CalibrationFileRead ReadCalibrationFile(core::Prompt& prompt, core::TextFile& file,
                                        const std::string& name) {
    CalibrationFileRead result;
    std::string line;
    if (!file.ReadLine(line, core::kTableLineBuffer)) {
        prompt.Message("Error Reading from file", "Error");
        file.Close();
        return result;
    }
    if (line.find("[TABLE]") == std::string::npos) {
        prompt.Message(core::Format("Wrong File Format - [TABLE] %s", name.c_str()), "Error");
        file.Close();
        return result;
    }
    result.address = line.size() > 8 ? line.substr(8, 4) : std::string();
    while (!result.address.empty() && result.address.back() == '\n') result.address.pop_back();
    std::string last = line;
    for (std::size_t r = 0; r < kCalibrationEntries; ++r) {
        result.rowsShown = static_cast<int>(r) + 1;
        if (file.ReadLine(line, core::kTableLineBuffer)) {
            last.swap(line);
        } else if (file.HasError()) {
            prompt.Message(core::Format("Error Reading from file %s", name.c_str()), "Error");
            file.Close();
            return result;
        }
        if (last.compare(0, 4, "db '") != 0) {
            prompt.Message(core::Format("Error Format must be db '########' %s", name.c_str()),
                           "Error");
            file.Close();
            return result;
        }
        std::string_view body = last;
        if (!body.empty() && body.back() == '\n') body.remove_suffix(1);
        auto& row = result.rows[r];
        row.value = std::string(body.substr(4, 6));
        row.index = body.size() > 10 ? std::string(body.substr(10, 2)) : std::string();
        row.comment = body.size() > 14 ? std::string(body.substr(14)) : std::string();
    }
    file.Close();
    result.ok = true;
    return result;
}

bool WriteCalibrationFile(core::Prompt& prompt, const std::string& directory,
                          const std::string& name, std::string_view address,
                          const CalibrationRows& rows) {
    TableWriter::Texts texts;
    texts.openFailure = core::Format("Could not Open %s", name.c_str());
    TableWriter writer(prompt, texts);
    const std::string header = "[TABLE][" + std::string(address) + "][8][256]\n";
    if (!writer.Begin(directory, name, header)) return false;
    const std::string rowFailure = core::Format("Error writing to file %s", name.c_str());
    for (const auto& row : rows) {
        const std::string line = core::Format("db '%6.6s%2.2s' %s\n", row.value.c_str(),
                                              row.index.c_str(), row.comment.c_str());
        if (!writer.Line(line, rowFailure)) return false;
    }
    return writer.Finish(false);
}

}  // namespace pelor::tables
