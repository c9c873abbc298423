#include "unit/unit_commands.h"

#include "core/format.h"

namespace pelor::unit {

int NextPageNumber(int current, int pageCount, bool multiDisplay) {
    const int limit = multiDisplay ? (pageCount & 7) : pageCount;
    const int next = current + 1;
    return next >= limit || next < 0 ? 0 : next;
}

std::string PageStatusText(int page, bool multiDisplay) {
    return multiDisplay ? core::Format(" Display %i Page %i", page / 8, page % 8)
                        : core::Format(" Page %i", page);
}

std::string WriteFailureText(int code) {
    return core::Format("Unable to write to serial port: code =%d", code);
}

}  // namespace pelor::unit
