#include "links/link_manager.h"

#include <cstring>

#include "core/format.h"

namespace pelor::links {

namespace {

bool IsSerialType(int t) {
    return t == 0 || t == 3;
}
bool IsNetType(int t) {
    return t == 1 || t == 4 || t == 6 || t == 7;
}
bool IsUsbType(int t) {
    return t == 2 || t == 5;
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
    bool ok = false;
    const char* failure = nullptr;
    if (IsSerialType(type)) {
        const std::string port = !s.serialPortName.empty()
                                     ? s.serialPortName
                                     : core::Format("\\\\.\\COM%d", s.comPortIndex + 1);
        ok = serial_.OpenSerialPort(port, type == 0 ? kTextReader : kAdapterReader, s.baudRate,
                                    s.serialBufferSize,
                                    type == 0 ? &context_.slots.serial : &context_.slots.adapter);
        // A port left open after a failed start would stay locked until the program ends.
        if (!ok) serial_.CloseSerialPort();
        failure = "Unable to Initialize  the port";
    } else if (IsNetType(type)) {
        ok = net_.OpenNetLink(type, s.ipAddress, s.tcpPort, s.tcpBufferSize,
                              &context_.slots.network) == 0;
        failure = "Unable to Initialize  TCP connection";
    } else if (IsUsbType(type)) {
        ok = usb_.OpenUsbLink(type, s.usbDeviceNumber, s.usbBaudRate, s.usbBufferSize,
                              &context_.slots.usb) == 0;
        failure = "Unable to Initialize  USB connection";
    } else {
        return;  // not a connection type: nothing happens, not even a repaint
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
    if (s.portPassThrough && type == 0) {
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
    const int type = openType_;
    if (IsSerialType(type)) {
        if (serial_.PortValid()) serial_.CloseSerialPort();
    } else if (IsNetType(type)) {
        if (net_.SocketValid()) net_.CloseNetLink();
    } else if (IsUsbType(type)) {
        usb_.CloseUsbLink();
    }
    context_.view.RequestRepaint();
    context_.view.SetButtonPicture(kConnectButtonId, kDisconnectedPicture);
    connected_ = false;
    openType_ = -1;
    SetStatus("disconnected");
    context_.view.RequestRepaint();
}

bool LinkManager::ReaderEnded() const {
    if (!connected_) return false;
    const int type = openType_;
    const core::ReaderThread* reader = nullptr;
    if (type == 0) reader = &context_.slots.serial;
    if (type == 3) reader = &context_.slots.adapter;
    if (IsNetType(type)) reader = &context_.slots.network;
    if (IsUsbType(type)) reader = &context_.slots.usb;
    return reader != nullptr && reader->Ended();
}

void LinkManager::DropDeadLink() {
    if (!connected_) return;
    Disconnect();
    context_.view.SetButtonPicture(kConnectButtonId, kFailedPicture);
    SetStatus(kLinkLostStatus);
    context_.view.RequestRepaint();
}

int LinkManager::SendToLink(std::span<const std::uint8_t> bytes, bool expectReply) {
    const int type = openType_;
    if (IsSerialType(type)) return serial_.SerialWrite(bytes, expectReply);
    if (IsNetType(type)) return net_.NetWrite(bytes, expectReply);
    if (IsUsbType(type)) return static_cast<int>(usb_.UsbWrite(bytes, expectReply));
    return 0;  // no link open: nothing to write to
}

int LinkManager::SendToLink(std::string_view text, bool expectReply) {
    return SendToLink({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()},
                      expectReply);
}

std::string LinkManager::UnitReply() const {
    const UnitReplyText* reply = nullptr;
    if (IsNetType(openType_))
        reply = &net_.UnitReply();
    else if (IsUsbType(openType_))
        reply = &usb_.UnitReply();
    else
        reply = &serial_.UnitReply();
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
