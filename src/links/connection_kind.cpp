#include "links/connection_kind.h"

namespace pelor::links {

namespace {

using decode::LinkKind;

// Text rows name no frame link and frame rows no text link; the unused column holds a filler.
constexpr std::array<ConnectionKind, 8> kKinds = {{
    {0, Transport::Serial, false, false, ReaderSlot::Serial, LinkKind::Serial, FrameLink::Adapter,
     200, true, LinkRadio::Com, false, kDefaultSerialBufferSize},
    {1, Transport::Network, false, false, ReaderSlot::Network, LinkKind::Tcp, FrameLink::Network,
     500, true, LinkRadio::Tcp, false, kDefaultTcpBufferSize},
    {2, Transport::Usb, false, false, ReaderSlot::Usb, LinkKind::Usb, FrameLink::Usb, 500, true,
     LinkRadio::Usb, false, kDefaultUsbBufferSize},
    // The adapter's reader decodes each read on its own and leaves purge requests alone.
    {3, Transport::Serial, true, false, ReaderSlot::Adapter, LinkKind::Serial, FrameLink::Adapter,
     500, false, LinkRadio::N2k, false, kDefaultSerialBufferSize},
    {4, Transport::Network, true, false, ReaderSlot::Network, LinkKind::Tcp, FrameLink::Network,
     500, true, LinkRadio::Tcp, true, kDefaultTcpBufferSize},
    {5, Transport::Usb, true, false, ReaderSlot::Usb, LinkKind::Usb, FrameLink::Usb, 500, true,
     LinkRadio::UsbN2k, false, kDefaultUsbBufferSize},
    // UDP text goes through the TCP text pass.
    {6, Transport::Network, false, true, ReaderSlot::Network, LinkKind::Tcp, FrameLink::Network,
     500, true, LinkRadio::Udp, false, kDefaultTcpBufferSize},
    {7, Transport::Network, true, true, ReaderSlot::Network, LinkKind::Tcp, FrameLink::Network, 500,
     true, LinkRadio::Udp, true, kDefaultTcpBufferSize},
}};

}  // namespace

const std::array<ConnectionKind, 8>& ConnectionKinds() {
    return kKinds;
}

const ConnectionKind* FindConnectionKind(int type) {
    for (const ConnectionKind& kind : kKinds)
        if (kind.type == type) return &kind;
    return nullptr;
}

const ConnectionKind& ConnectionKindOf(LinkRadio radio, bool n2kBox) {
    for (const ConnectionKind& kind : kKinds)
        if (kind.radio == radio && kind.n2kBox == n2kBox) return kind;
    // The box counts only where a row has it: otherwise the radio alone chooses.
    for (const ConnectionKind& kind : kKinds)
        if (kind.radio == radio) return kind;
    return kKinds[0];
}

const ConnectionKind& TextConnectionKind(decode::LinkKind link) {
    for (const ConnectionKind& kind : kKinds)
        if (!kind.n2k && kind.textLink == link) return kind;
    return kKinds[0];
}

}  // namespace pelor::links
