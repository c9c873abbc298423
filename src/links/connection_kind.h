#pragma once
// The connection types as one table: for each stored type number the link that opens it,
// whether it carries binary NMEA 2000 frames or text sentences, the reader it runs, the CONNECT
// page's buttons that choose it and its buffer setting's default. The link manager, the port
// search, the CONNECT page and pelor-decode look a type up here instead of testing numbers.
// The defaults of every link setting are here too, once.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "decode/reader_pass.h"

namespace pelor::links {

// The link a connection type opens.
enum class Transport { Serial, Network, Usb };

// The reader slot a connection type runs its reader in.
enum class ReaderSlot { Serial, Adapter, Usb, Network };

// The frame links differ in when they record.
enum class FrameLink { Adapter, Network, Usb };

// The link radio buttons, in the order the CONNECT page shows them.
enum class LinkRadio { Com, Tcp, Usb, N2k, UsbN2k, Udp };

struct ConnectionKind {
    int type;             // the stored connection type (bits 0..6 of the setting)
    Transport transport;  // the link that opens it
    bool n2k;             // binary NMEA 2000 frames rather than text sentences
    bool datagram;        // UDP rather than TCP (network types)
    ReaderSlot slot;
    decode::LinkKind textLink;  // the reader pass of a text type
    FrameLink frameLink;        // the frame pass of an NMEA 2000 type
    int passMs;                 // the reader's pass interval
    bool takesPurgeRequests;    // the reader clears its input and the positions on request
    LinkRadio radio;            // the CONNECT page's button for it
    bool n2kBox;                // and whether the page's "N2K" box is checked with it
    int defaultBufferSize;      // the default of the link's buffer size setting
};

// The link settings' defaults, as a first run has them.
inline constexpr int kDefaultBaudIndex = 4;
inline constexpr int kDefaultComPortIndex = 1;  // 0-based: COM2
inline constexpr int kDefaultSerialBufferSize = 700;
inline constexpr std::string_view kDefaultIpAddress = "192.168.0.100";
inline constexpr int kDefaultTcpPort = 10001;
inline constexpr int kDefaultTcpBufferSize = 500;
inline constexpr int kDefaultUsbDeviceNumber = 0;
inline constexpr int kDefaultUsbBufferSize = 600;
inline constexpr int kDefaultUsbBaudIndex = 5;

// Index to rate. The USB table differs from the serial one at index 5 (57800, not 57600) and
// both end in 210400.
inline constexpr std::array<std::int32_t, 8> kSerialBaudRates = {2400,  4800,  9600,   19200,
                                                                 38400, 57600, 115200, 210400};
inline constexpr std::array<std::int32_t, 8> kUsbBaudRates = {2400,  4800,  9600,   19200,
                                                              38400, 57800, 115200, 210400};
inline constexpr std::int32_t kDefaultBaudRate = kSerialBaudRates[kDefaultBaudIndex];
inline constexpr std::int32_t kDefaultUsbBaudRate = kUsbBaudRates[kDefaultUsbBaudIndex];
// What the settings' USB rate field holds before the stored values are read and the rate is
// looked up from the index. No link opens at it: the rate is always looked up first.
inline constexpr std::int32_t kUsbRateBeforeSettings = 57600;

// Every connection type, in type order.
const std::array<ConnectionKind, 8>& ConnectionKinds();

// The row of `type` (bits 0..6 of the setting), or null for a type no link knows.
const ConnectionKind* FindConnectionKind(int type);

// The first row the page's buttons choose: the radio and, where it counts, the "N2K" box.
const ConnectionKind& ConnectionKindOf(LinkRadio radio, bool n2kBox);

// The first text type read through the reader pass of `link`.
const ConnectionKind& TextConnectionKind(decode::LinkKind link);

}  // namespace pelor::links
