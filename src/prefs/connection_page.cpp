#include "prefs/connection_page.h"

#include <arpa/inet.h>

#include "core/format.h"

namespace pelor::prefs {

const char* LinkRadioCaption(LinkRadio radio) {
    static constexpr std::array<const char*, kLinkRadioCount> captions = {
        "COM ENABLE", "TCP", "USB PORT ENABLE", "N2K ENABLE", "USB N2K", "UDP"};
    return captions[static_cast<std::size_t>(radio)];
}

LinkChoice LinkChoiceFromStored(int stored) {
    LinkChoice c;
    c.connectOnStart = (stored & 0x80) != 0;
    // Every type the links do not know shows "COM ENABLE".
    if (const ConnectionKind* kind = FindConnectionKind(stored & 0x7F)) {
        c.radio = kind->radio;
        c.n2k = kind->n2kBox;
    }
    return c;
}

int ConnectionTypeOf(const LinkChoice& c) {
    return ConnectionKindOf(c.radio, c.n2k).type;
}

int StoredConnectionType(const LinkChoice& c) {
    return ConnectionTypeOf(c) | (c.connectOnStart ? 0x80 : 0);
}

const std::array<const char*, kUpdateIntervalCount>& UpdateIntervalChoices() {
    static constexpr std::array<const char*, kUpdateIntervalCount> choices = {
        "fastest", "1 Sec", "2 Sec", "5 Sec", "10 Sec", "30 Sec", "1 Min", "5 Min", "10 Min"};
    return choices;
}

bool UsesNetworkAddress(const LinkChoice& choice) {
    return ConnectionKindOf(choice.radio, choice.n2k).transport == Transport::Network;
}

bool IsUsableNetworkAddress(const std::string& address) {
    if (address.empty()) return false;
    // A text starting with a digit is a dotted address, read as the network link reads it;
    // anything else is a host name, looked up only when the link connects.
    if (address.front() >= '0' && address.front() <= '9') {
        in_addr parsed{};
        return ::inet_aton(address.c_str(), &parsed) != 0;
    }
    return address.find_first_of(" \t") == std::string::npos;
}

std::string CheckConnectionPage(const ConnectionPage& p) {
    const struct {
        const char* field;
        int value;
        int min;
        int max;
    } fields[] = {
        {"COM PORT", p.comPortNumber, kComPortMin, kComPortMax},
        {"Serial Buffer", p.serialBufferSize, kSerialBufferMin, kSerialBufferMax},
        {"TCP PORT", p.tcpPort, kTcpPortMin, kTcpPortMax},
        {"TCP Buffer", p.tcpBufferSize, kTcpBufferMin, kTcpBufferMax},
        {"Device Number", p.usbDeviceNumber, kUsbDeviceMin, kUsbDeviceMax},
        {"USB BUFFER", p.usbBufferSize, kUsbBufferMin, kUsbBufferMax},
    };
    for (const auto& f : fields) {
        if (f.value < f.min || f.value > f.max) {
            return core::Format("CONNECT: %s must be %d to %d", f.field, f.min, f.max);
        }
    }
    if (p.ipAddress.size() > kIpAddressLimit) {
        return core::Format("CONNECT: IP Address must be at most %d characters",
                            static_cast<int>(kIpAddressLimit));
    }
    const bool addressChosen =
        p.ipAddress != p.ipAddressAsLoaded || !UsesNetworkAddress(LinkChoice{p.radioAsLoaded});
    if (UsesNetworkAddress(p.link) && addressChosen && !IsUsableNetworkAddress(p.ipAddress)) {
        return core::Format("CONNECT: Invalid IP address %s", p.ipAddress.c_str());
    }
    if (!p.serialDevicePath.empty() && p.serialDevicePath.front() != '/') {
        return "CONNECT: Serial Device Path must be an absolute path (/dev/...) or empty";
    }
    return {};
}

}  // namespace pelor::prefs
