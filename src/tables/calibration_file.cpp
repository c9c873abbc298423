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

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

}  // namespace

bool IsCalibrationValue(std::string_view value) {
    const std::string_view v = TrimBlanks(value);
    if (v.empty()) return true;  // nothing but blanks: an empty entry
    if (v.find_first_not_of('-') == std::string_view::npos) return true;
    std::size_t i = (v.front() == '-' || v.front() == '+') ? 1 : 0;
    int digits = 0;
    bool point = false;
    for (; i < v.size(); ++i) {
        if (IsDigit(v[i])) {
            ++digits;
        } else if (v[i] == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits > 0;
}

bool IsCalibrationIndex(std::string_view index) {
    if (TrimBlanks(index).empty()) return true;  // nothing but blanks: an empty entry
    if (index.size() == 2 && index.front() == ' ') index.remove_prefix(1);
    if (index.size() > 2) return false;
    for (const char c : index) {
        if (!IsDigit(c) && !(c >= 'A' && c <= 'F')) return false;
    }
    return true;
}

std::string CheckCalibrationValue(int location, std::string_view value) {
    if (value.size() <= 6 && IsCalibrationValue(value)) return {};
    return core::Format(
        "Row %03d: the Value must be a number of at most 6 characters, for example 85.3 or -12 "
        "(or ---- for no reading), not '%.*s'",
        location, static_cast<int>(value.size()), value.data());
}

std::string CheckCalibrationIndex(int location, std::string_view index) {
    if (IsCalibrationIndex(index)) return {};
    return core::Format(
        "Row %03d: the Index must be one or two hexadecimal digits 0-9 A-F, for example 5A, "
        "not '%.*s'",
        location, static_cast<int>(index.size()), index.data());
}

std::string CheckCalibrationRow(int location, const CalibrationRow& row) {
    std::string bad = CheckCalibrationValue(location, row.value);
    return bad.empty() ? CheckCalibrationIndex(location, row.index) : bad;
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
