#include "links/link_manager.h"

#include <cstring>
#include <optional>

#include "core/format.h"

namespace pelor::links {

namespace {

// The transport of the open link's type, if it has one.
std::optional<Transport> TransportOf(int type) {
    const ConnectionKind* kind = FindConnectionKind(type);
    return kind != nullptr ? std::optional(kind->transport) : std::nullopt;
}

}  // namespace

LinkManager::LinkManager(LinkContext& context)
    : context_(context),
      // The sinks look the owner's callables up at each call, so they may be set later.
      sinks_{context.store,
             context.view,
             [this](TextLink link, std::string_view bytes) {
                 if (context_.textPass) context_.textPass(link, bytes);
             },
             [this](FrameLink link, std::string_view bytes) {
                 if (context_.framePass) context_.framePass(link, bytes);
             },
             [this] {
                 if (context_.resetPositions) context_.resetPositions();
             },
             context.linkHold},
      serial_(context.prompt, sinks_, nullptr),
      net_(context.prompt, sinks_),
      usb_(context.prompt, sinks_, [this] {
          auto library =
              std::make_unique<Ftd2xxLibrary>(context_.prompt, context_.settings.usbLibraryPath);
          library->LoadUsbLibrary();
          return library;
      }) {}

LinkManager::~LinkManager() {
    CloseAll();
}

void LinkManager::SetStatus(std::string_view status) {
    std::string caption;
    {
        std::lock_guard lock(context_.store.mutex);
        context_.store.m_strTitlePrefix.clear();
        context_.store.m_strLinkStatus = std::string(status);
        context_.store.m_bRedrawAll = 0;
        caption = context_.store.m_strTitlePrefix + context_.store.m_strLinkStatus;
    }
    context_.view.SetCaption(caption);
}

void LinkManager::ToggleConnection() {
    if (connected_)
        Disconnect();
    else
        Connect();
}

void LinkManager::ConnectAtStart() {
    if (context_.settings.autoConnect && !connected_) Connect();
}

void LinkManager::Connect() {
    const LinkSettings& s = context_.settings;
    const int type = s.connectionType;
    const ConnectionKind* kind = FindConnectionKind(type);
    if (kind == nullptr) return;  // not a connection type: nothing happens, not even a repaint
    bool ok = false;
    const char* failure = nullptr;
    switch (kind->transport) {
        case Transport::Serial: {
            const std::string port = !s.serialPortName.empty()
                                         ? s.serialPortName
                                         : core::Format("\\\\.\\COM%d", s.comPortIndex + 1);
            ok = serial_.OpenSerialPort(port, type, s.baudRate, s.serialBufferSize,
                                        &ReaderSlotOf(*kind));
            // A port left open after a failed start would stay locked until the program ends.
            if (!ok) serial_.CloseSerialPort();
            failure = "Unable to Initialize  the port";
            break;
        }
        case Transport::Network:
            ok = net_.OpenNetLink(type, s.ipAddress, s.tcpPort, s.tcpBufferSize,
                                  &ReaderSlotOf(*kind)) == 0;
            failure = "Unable to Initialize  TCP connection";
            break;
        case Transport::Usb:
            ok = usb_.OpenUsbLink(type, s.usbDeviceNumber, s.usbBaudRate, s.usbBufferSize,
                                  &ReaderSlotOf(*kind)) == 0;
            failure = "Unable to Initialize  USB connection";
            break;
    }

    if (!ok) {
        context_.prompt.Message(failure, "Error");
        context_.view.SetButtonPicture(kConnectButtonId, kFailedPicture);
        connected_ = false;
        SetStatus("disconnected");
        context_.view.RequestRepaint();
        return;
    }
    context_.view.SetButtonPicture(kConnectButtonId, kConnectedPicture);
    SetStatus("connected");
    connected_ = true;
    openType_ = type;
    if (s.portPassThrough && kind->transport == Transport::Serial && !kind->n2k) {
        const int code =
            serial_.SerialWrite({reinterpret_cast<const std::uint8_t*>(kPassThroughCommand.data()),
                                 kPassThroughCommand.size()},
                                false);
        if (code != 0)
            context_.prompt.Message(core::Format("Unable to write to serial port: code =%d", code),
                                    "Error");
        SetStatus("connected port passthrough");
    }
    context_.view.RequestRepaint();
}

// Closes the link that is open, whatever the setting says now: the type may have been
// changed on the settings page since the connect.
void LinkManager::Disconnect() {
    if (const std::optional<Transport> transport = TransportOf(openType_)) {
        switch (*transport) {
            case Transport::Serial:
                if (serial_.PortValid()) serial_.CloseSerialPort();
                break;
            case Transport::Network:
                if (net_.SocketValid()) net_.CloseNetLink();
                break;
            case Transport::Usb:
                usb_.CloseUsbLink();
                break;
        }
    }
    context_.view.RequestRepaint();
    context_.view.SetButtonPicture(kConnectButtonId, kDisconnectedPicture);
    connected_ = false;
    openType_ = -1;
    SetStatus("disconnected");
    context_.view.RequestRepaint();
}

core::ReaderThread& LinkManager::ReaderSlotOf(const ConnectionKind& kind) const {
    switch (kind.slot) {
        case ReaderSlot::Serial:
            return context_.slots.serial;
        case ReaderSlot::Adapter:
            return context_.slots.adapter;
        case ReaderSlot::Usb:
            return context_.slots.usb;
        case ReaderSlot::Network:
            break;
    }
    return context_.slots.network;
}

bool LinkManager::ReaderEnded() const {
    if (!connected_) return false;
    const ConnectionKind* kind = FindConnectionKind(openType_);
    return kind != nullptr && ReaderSlotOf(*kind).Ended();
}

void LinkManager::DropDeadLink() {
    if (!connected_) return;
    Disconnect();
    context_.view.SetButtonPicture(kConnectButtonId, kFailedPicture);
    SetStatus(kLinkLostStatus);
    context_.view.RequestRepaint();
}

int LinkManager::SendToLink(std::span<const std::uint8_t> bytes, bool expectReply) {
    const std::optional<Transport> transport = TransportOf(openType_);
    if (!transport) return 0;  // no link open: nothing to write to
    switch (*transport) {
        case Transport::Serial:
            return serial_.SerialWrite(bytes, expectReply);
        case Transport::Network:
            return net_.NetWrite(bytes, expectReply);
        case Transport::Usb:
            break;
    }
    return static_cast<int>(usb_.UsbWrite(bytes, expectReply));
}

int LinkManager::SendToLink(std::string_view text, bool expectReply) {
    return SendToLink({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()},
                      expectReply);
}

std::string LinkManager::UnitReply() const {
    const std::optional<Transport> transport = TransportOf(openType_);
    const UnitReplyText* reply = &serial_.UnitReply();
    if (transport == Transport::Network) reply = &net_.UnitReply();
    if (transport == Transport::Usb) reply = &usb_.UnitReply();
    return std::string(reply->data(), strnlen(reply->data(), reply->size()));
}

void LinkManager::CloseAll() {
    serial_.CloseSerialPort();
    usb_.CloseUsbLink();
    net_.CloseNetLink();
    connected_ = false;
    openType_ = -1;
}

}  // namespace pelor::links
