// When a progress line is due.
#include "terminal/terminal.h"

bool tenPercentStep(std::uint32_t& lastTenth, std::uint32_t percent) {
    if (percent / 10 == lastTenth)
        return false;
    lastTenth = percent / 10;
    return true;
}
