#include "prefs/preferences_connection.h"

namespace pelor::prefs {

ConnectionPage ConnectionPageFrom(const app::Settings& s) {
    ConnectionPage p;
    p.link = LinkChoiceFromStored(s.connectionType | (s.autoConnect ? 0x80 : 0));
    p.comPortNumber = s.comPort + 1;
    p.baudIndex = s.baudIndex;
    p.serialBufferSize = s.serialBufferSize;
    p.serialDevicePath = s.serialDevicePath;
    p.ipAddress = s.ipAddress;
    p.tcpPort = s.tcpPort;
    p.tcpBufferSize = s.tcpBufferSize;
    p.usbDeviceNumber = s.usbDeviceNumber;
    p.usbBufferSize = s.usbBufferSize;
    p.usbBaudIndex = s.usbBaudIndex;
    p.captureIntervalIndex = s.captureIntervalIndex;
    p.showComStatus = s.showComStatus == 1;
    p.portPassThrough = s.portPassThrough;
    p.ipAddressAsLoaded = p.ipAddress;
    p.radioAsLoaded = p.link.radio;
    return p;
}

void ApplyConnectionPage(const ConnectionPage& p, app::Settings& s) {
    s.connectionType = ConnectionTypeOf(p.link);
    s.autoConnect = p.link.connectOnStart;
    s.comPort = p.comPortNumber - 1;
    s.baudIndex = p.baudIndex;
    s.serialBufferSize = p.serialBufferSize;
    s.serialDevicePath = p.serialDevicePath;
    s.ipAddress = p.ipAddress;
    s.tcpPort = p.tcpPort;
    s.tcpBufferSize = p.tcpBufferSize;
    s.usbDeviceNumber = p.usbDeviceNumber;
    s.usbBufferSize = p.usbBufferSize;
    s.usbBaudIndex = p.usbBaudIndex;
    s.captureIntervalIndex = p.captureIntervalIndex;
    // Other values of the status field than 1 mean nothing to the window; the box sets 1 or 0.
    if (p.showComStatus != (s.showComStatus == 1)) s.showComStatus = p.showComStatus ? 1 : 0;
    s.portPassThrough = p.portPassThrough;
    DeriveSettings(s);
}

}  // namespace pelor::prefs
