#include "unit/unit_commands.h"

#include <algorithm>

#include "core/format.h"

namespace pelor::unit {

int NextPageNumber(int current, int pageCount, bool multiDisplay) {
    // Two displays share the sixteen pages of the page table, eight to a display: the count
    // runs on from the first display's pages into the second's.
    const int limit = multiDisplay ? std::min(pageCount, kPagesPerDisplay * 2) : pageCount;
    const int next = current + 1;
    return next >= limit || next < 0 ? 0 : next;
}

std::string PageStatusText(int page, bool multiDisplay) {
    return multiDisplay ? core::Format(" Display %i Page %i", page / kPagesPerDisplay,
                                       page % kPagesPerDisplay)
                        : core::Format(" Page %i", page);
}

std::string WriteFailureText(int code) {
    return core::Format("Unable to write to serial port: code =%d", code);
}

}  // namespace pelor::unit
