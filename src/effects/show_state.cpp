#include "effects/show_state.h"

Surface* backSurface = nullptr;
Effect* currentEffect = nullptr;
float showTime = 0.0f;
std::atomic<int> syncCount{0};
int syncValue = 0;
int musicPosition = 0;
int musicPattern = 0;
int musicRow = 0;
ImageCache* imageCache = nullptr;
BitmapFont* font = nullptr;

namespace {
double showClock = 0.0;
}

void advanceShowTime(double hundredths) {
    // An effect that wrote showTime itself (to restart the clock) takes precedence over the sum.
    if (showTime != static_cast<float>(showClock)) showClock = showTime;
    showClock += hundredths;
    showTime = static_cast<float>(showClock);
}

void resetShowTime() {
    showClock = 0.0;
    showTime = 0.0f;
}
