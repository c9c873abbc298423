#pragma once
// The open link as the flash programmer uses it: the link manager's command write and reply,
// and the debugger line of a serial (type 0) or USB (type 2) link.
#include "links/link_manager.h"
#include "unit/flash_programmer.h"

namespace pelor::unit {

class LinkManagerFlashLink : public FlashLink {
public:
    // `serialBaud` and `usbBaud` are the links' own speeds, restored after the debugger.
    LinkManagerFlashLink(links::LinkManager& links, int serialBaud, int usbBaud)
        : links_(links), serialBaud_(serialBaud), usbBaud_(usbBaud) {}

    bool Connected() override { return links_.Connected(); }
    int Send(std::string_view bytes, bool expectReply) override {
        return links_.SendToLink(bytes, expectReply);
    }
    std::string Reply() override { return links_.UnitReply(); }
    std::unique_ptr<DebuggerLine> Debugger() override;

private:
    links::LinkManager& links_;
    int serialBaud_;
    int usbBaud_;
};

}  // namespace pelor::unit
