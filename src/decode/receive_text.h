#pragma once
// The system time as the captions show it (screen records, NMEA 2000 system time).
#include <ctime>
#include <string>

namespace pelor::decode {

// "  System Time %m/%d/%y  %H:%M:%S" for a broken-down time.
std::string SystemTimeCaption(const std::tm& time);

}  // namespace pelor::decode
