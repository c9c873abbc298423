#include "display/display_modes.h"

namespace pelor::display {

int StyleIndexForMode(int mode) {
    switch (mode) {
        case kModeLargeRamp:
            return 0;
        case kModeDial:
            return 1;
        case kModeBarText:
            return 2;
        case kModeBargraph:
            return 3;
        case kModeHugeText:
            return 4;
        case kModeLargeText:
            return 5;
        case kModeData:
            return 6;
        case kModeSmallText:
            return 7;
        case kModeLargeDial:
            return 8;
        case kModeHistogram:
            return 9;
        case kModeIndicator:
            return 10;
        default:
            return -1;
    }
}

int ModeForGaugeTypeCode(int code) {
    switch (code) {
        case 79:
            return kModeData;
        case 6:
        case 106:
            return kModeBargraph;
        case 110:
        case 111:
        case 112:
        case 113:
            return kModeIndicator;
        case 3:
        case 103:
            return kModeDial;
        case 4:
        case 104:
            return kModeLargeDial;
        case 2:
        case 9:
        case 102:
        case 109:
            return kModeLargeRamp;
        case 70:
            return kModeLargeText;
        case 7:
        case 107:
            return kModeBarText;
        case 8:
        case 108:
            return kModeHugeText;
        default:
            return kModeNone;
    }
}

bool ModeUsesFrame(int mode) {
    switch (mode) {
        case kModeHistogram:
        case kModeBargraph:
        case kModeDial:
        case kModeLargeDial:
        case kModeLargeRamp:
        case kModeBarText:
        case kModeHugeText:
            return true;
        default:
            return false;
    }
}

}  // namespace pelor::display
