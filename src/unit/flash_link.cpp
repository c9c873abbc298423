#include "unit/flash_link.h"

namespace pelor::unit {

std::unique_ptr<DebuggerLine> LinkManagerFlashLink::Debugger() {
    switch (links_.OpenType()) {
        case 0:
            if (core::SerialPort* port = links_.Serial().Port(); port != nullptr)
                return MakeSerialDebuggerLine(*port, serialBaud_);
            break;
        case 2:
            if (core::UsbDevice* device = links_.Usb().Device(); device != nullptr)
                return MakeUsbDebuggerLine(*device, usbBaud_);
            break;
        default:
            break;
    }
    return nullptr;
}

}  // namespace pelor::unit
