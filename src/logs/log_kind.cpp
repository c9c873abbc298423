#include "logs/log_kind.h"

namespace pelor::logs {

bool PathEndsIn(std::string_view path, std::string_view extension) {
    return path.size() >= extension.size() &&
           path.substr(path.size() - extension.size()) == extension;
}

std::optional<LogKind> KindForPath(std::string_view path) {
    if (PathEndsIn(path, "csv")) return LogKind::CsvHeaderPending;
    if (PathEndsIn(path, "txt") || PathEndsIn(path, "htm")) return LogKind::Text;
    if (PathEndsIn(path, "ebl")) return LogKind::Ebl;
    return std::nullopt;
}

}  // namespace pelor::logs
