#include "platform/window_size.h"

#include <algorithm>

WindowSize windowSizeFor(int usableWidth, int usableHeight, int frameWidth, int frameHeight) {
    const int across = (usableWidth - std::max(frameWidth, 0)) / kWindowStepWidth;
    const int down = (usableHeight - std::max(frameHeight, 0)) / kWindowStepHeight;
    const int k = std::max(1, std::min(across, down));
    return {k, k * kWindowStepWidth, k * kWindowStepHeight};
}
