#pragma once
// The CONNECT page's values without a window: which link the radio buttons and the "N2K" box
// choose, the port, network and USB fields, the capture interval choice and the three
// "Enable" boxes. The stored connection type carries the connect-at-start flag in bit 7.
#include <array>
#include <string>

#include "links/connection_kind.h"

namespace pelor::prefs {

using namespace links;

// The link radio buttons (LinkRadio), in the order the page shows them.
inline constexpr int kLinkRadioCount = 6;
// "COM ENABLE", "TCP", "USB PORT ENABLE", "N2K ENABLE", "USB N2K", "UDP".
const char* LinkRadioCaption(LinkRadio radio);

struct LinkChoice {
    LinkRadio radio = LinkRadio::Com;
    bool n2k = false;             // the "N2K" box: frames instead of text on TCP and UDP
    bool connectOnStart = false;  // bit 7 of the stored type
};

// The page's buttons for a stored type (bit 7 included). Types 1 and 4 check "TCP", 6 and 7
// "UDP", "N2K" is checked for 4 and 7; a type the page does not know shows "COM ENABLE".
LinkChoice LinkChoiceFromStored(int stored);
// The connection type (bits 0..6) the buttons choose; "N2K" counts only with TCP and UDP.
int ConnectionTypeOf(const LinkChoice& choice);
// The stored value: the type with bit 7 for connect at start.
int StoredConnectionType(const LinkChoice& choice);

// "fastest", "1 Sec", ... "10 Min": the capture interval choices (index = stored index).
inline constexpr int kUpdateIntervalCount = 9;
const std::array<const char*, kUpdateIntervalCount>& UpdateIntervalChoices();
// "2400" .. "115200": the baud choices both "Baud Rate" lists offer (indexes 0..6).
inline constexpr int kPageBaudChoiceCount = 7;

struct ConnectionPage {
    LinkChoice link;
    int comPortNumber = kDefaultComPortIndex + 1;  // 1-based: the stored COM port index + 1
    int baudIndex = kDefaultBaudIndex;
    int serialBufferSize = kDefaultSerialBufferSize;
    std::string serialDevicePath;  // empty: the COM number names the port
    std::string ipAddress = std::string(kDefaultIpAddress);
    int tcpPort = kDefaultTcpPort;
    int tcpBufferSize = kDefaultTcpBufferSize;
    int usbDeviceNumber = kDefaultUsbDeviceNumber;
    int usbBufferSize = kDefaultUsbBufferSize;
    int usbBaudIndex = kDefaultUsbBaudIndex;
    int captureIntervalIndex = 1;
    // The baud and interval indexes are kept as stored when no list entry shows them (a baud
    // index of 7, an interval index above 8) until the user picks an entry.
    bool showComStatus = false;
    bool portPassThrough = false;
    // The address and link the settings held when the page was made. A stored address that a
    // network link cannot use is refused only once the user types an address or chooses TCP or
    // UDP, so a sheet nobody touched still closes with OK.
    std::string ipAddressAsLoaded;
    LinkRadio radioAsLoaded = LinkRadio::Com;
};

// Field ranges of the page.
inline constexpr int kComPortMin = 1, kComPortMax = 200;
inline constexpr int kSerialBufferMin = 200, kSerialBufferMax = 799;
inline constexpr int kTcpPortMin = 0, kTcpPortMax = 64000;
inline constexpr int kTcpBufferMin = 10, kTcpBufferMax = 900;
inline constexpr int kUsbDeviceMin = 0, kUsbDeviceMax = 99;
inline constexpr int kUsbBufferMin = 10, kUsbBufferMax = 700;
inline constexpr std::size_t kIpAddressLimit = 16;

// Whether the chosen link connects to the "IP Address" field (TCP and UDP).
bool UsesNetworkAddress(const LinkChoice& choice);
// Whether the network link can connect to `address`: a dotted address it can read, or a host
// name (not looked up here).
bool IsUsableNetworkAddress(const std::string& address);

// "" when every field is in range, else the message naming the first one that is not
// ("CONNECT: COM PORT must be 1 to 200"). With a TCP or UDP link the address must be one the
// link can connect to ("CONNECT: Invalid IP address 127.0.0.999") once the user changed the
// address or chose that link.
std::string CheckConnectionPage(const ConnectionPage& page);

}  // namespace pelor::prefs
