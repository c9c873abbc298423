#pragma once
// The Connect command: opens the link of the configured connection type with its reader, or
// closes the open one; reports failures, keeps the connected flag, sets the caption texts and
// the Connect button's pictures, and sends the pass-through command after a serial connect.
// It also routes command writes to the open link.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "core/prompt.h"
#include "core/reader_thread.h"
#include "core/view.h"
#include "decode/channel_store.h"
#include "links/connection_kind.h"
#include "links/ftd2xx_library.h"
#include "links/net_link.h"
#include "links/reader_pass.h"
#include "links/serial_link.h"
#include "links/usb_link.h"

namespace pelor::links {

// The connection types are the rows of ConnectionKinds() (links/connection_kind.h).
inline constexpr int kConnectButtonId = 1006;
// The Connect button's picture pairs, named by their up and down resources.
inline constexpr const char* kConnectedPicture = "CONNECT171_170";
inline constexpr const char* kFailedPicture = "CONNECT170_171";
inline constexpr const char* kDisconnectedPicture = "CONNECT170_170";
inline constexpr std::string_view kPassThroughCommand = "$PKZLC,Z\r";
// The link status once the open link's reader has given up (peer closed, device gone).
inline constexpr std::string_view kLinkLostStatus = "disconnected - link lost";

// The settings the links use, as the settings store holds them (rates already looked up).
struct LinkSettings {
    int connectionType = 0;                   // bits 0..6 of the stored value
    bool autoConnect = false;                 // bit 7
    int comPortIndex = kDefaultComPortIndex;  // the port number minus 1
    // A device path; when set it is used instead of the number.
    std::string serialPortName;
    int baudRate = kDefaultBaudRate;
    int serialBufferSize = kDefaultSerialBufferSize;
    bool portPassThrough = false;
    std::string ipAddress = std::string(kDefaultIpAddress);
    int tcpPort = kDefaultTcpPort;
    int tcpBufferSize = kDefaultTcpBufferSize;
    int usbDeviceNumber = kDefaultUsbDeviceNumber;
    int usbBufferSize = kDefaultUsbBufferSize;
    int usbBaudRate = kDefaultUsbBaudRate;  // the rate of the default index
    std::string usbLibraryPath = kFtd2xxLibraryName;
};

// The reader thread slots of the main window's state; one reader at a time runs in them.
struct ReaderSlots {
    core::ReaderThread& serial;
    core::ReaderThread& usb;
    core::ReaderThread& network;
    core::ReaderThread& adapter;
};

// Everything the link manager works on. The owner keeps it alive longer than the manager and
// may change `settings` between toggles (on the user interface thread).
struct LinkContext {
    LinkSettings settings;
    decode::ChannelStore& store;
    core::View& view;
    core::Prompt& prompt;
    ReaderSlots slots;
    std::function<void(TextLink, std::string_view)> textPass;
    std::function<void(FrameLink, std::string_view)> framePass;
    std::function<void()> resetPositions;
    // Held while flash programming has the link (may be null).
    core::LinkHold* linkHold = nullptr;
};

class LinkManager {
public:
    explicit LinkManager(LinkContext& context);
    ~LinkManager();
    LinkManager(const LinkManager&) = delete;
    LinkManager& operator=(const LinkManager&) = delete;

    // Connects when disconnected, disconnects when connected.
    void ToggleConnection();
    // At start-up: connects when the connect-at-start flag is set.
    void ConnectAtStart();
    bool Connected() const { return connected_; }
    // The type of the open link (-1 when none).
    int OpenType() const { return openType_; }
    // Connected, but the open link's reader has ended on its own: nothing more will arrive.
    bool ReaderEnded() const;
    // Closes a link whose reader has ended and says so: the Connect button back to its
    // disconnected look, the caption "disconnected - link lost". The next toggle connects.
    void DropDeadLink();

    // Writes to the open link by its type; with `expectReply` the unit's 16-character answer
    // lands in UnitReply. Returns 0, or the failed write's error code or status.
    int SendToLink(std::span<const std::uint8_t> bytes, bool expectReply);
    int SendToLink(std::string_view text, bool expectReply);
    std::string UnitReply() const;

    // Ends every reader and closes every link (program exit).
    void CloseAll();

    SerialLink& Serial() { return serial_; }
    NetLink& Network() { return net_; }
    UsbLink& Usb() { return usb_; }

private:
    void Connect();
    void Disconnect();
    void SetStatus(std::string_view status);
    core::ReaderThread& ReaderSlotOf(const ConnectionKind& kind) const;

    LinkContext& context_;
    ReaderSinks sinks_;
    SerialLink serial_;
    NetLink net_;
    UsbLink usb_;
    bool connected_ = false;
    int openType_ = -1;
};

}  // namespace pelor::links
