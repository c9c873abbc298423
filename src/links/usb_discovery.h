#pragma once
// "Discover USB Devices": the attached FTDI converters, through the device-list function of
// the run-time USB library, one line "%2.2d  | %s" per device (its index and description).
#include <string>
#include <vector>

#include "core/prompt.h"

namespace pelor::links {

// Loads the library at `libraryPath` for its list function only, asks for the number of
// devices and each one's description (at most 64 characters). Failures are reported through
// `prompt`: "Error: Can't Load <library>" or "Error: Can't Find FT_ListDevices" (no caption),
// then "FT_ListDevices is not valid!"; a failing list call "FT_ListDevices failed". The lines
// found before a failure are returned.
std::vector<std::string> DiscoverUsbDevices(core::Prompt& prompt, const std::string& libraryPath);

// The device number a line of that list names (its first two digits), or -1.
int UsbDeviceNumberOfLine(const std::string& line);

}  // namespace pelor::links
