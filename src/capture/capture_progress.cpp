#include "capture/capture_progress.h"

#include <algorithm>
#include <unistd.h>

namespace {

constexpr int kBarWidth = 30;
// How often the terminal line is redrawn, and the music time between two plain lines.
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr int kSecondsPerPlainLine = 10;

std::string clockText(double seconds) {
    if (seconds < 0.0) seconds = 0.0;
    const long whole = static_cast<long>(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

} // namespace

CaptureProgress::CaptureProgress(std::FILE* o, double total, int f)
    : out(o), totalSeconds(total), fps(f), terminal(isatty(fileno(o)) != 0), lastDraw(Clock::now()) {}

std::string CaptureProgress::line(double musicSeconds, double total, double framesPerSecond,
                                  const char* effect, bool written) {
    std::string text = "[";
    const double fraction = total > 0.0 ? std::clamp(musicSeconds / total, 0.0, 1.0) : 0.0;
    const int filled = static_cast<int>(fraction * kBarWidth + 0.5);
    text.append(filled, '#');
    text.append(kBarWidth - filled, '-');
    text += "] ";
    text += musicSeconds < 0.0 ? std::string("loading") : clockText(musicSeconds);
    if (total > 0.0) text += " / " + clockText(total);
    char speedText[32];
    std::snprintf(speedText, sizeof speedText, "  %.1f fps  ", framesPerSecond);
    text += speedText;
    text += effect ? effect : "no effect";
    if (!written) text += " (not written yet)";
    return text;
}

void CaptureProgress::update(const CapturedFrame& frame, const char* effect) {
    latest = frame;
    latestEffect = effect;
    pending = true;
    const Clock::time_point now = Clock::now();
    bool due;
    if (terminal) {
        due = now - lastDraw >= kRedrawInterval;
    } else {
        // A plain line whenever the music passes a multiple of ten seconds.
        const long step = static_cast<long>(fps) * kSecondsPerPlainLine;
        due =
            frame.musicFrame >= 0 && (lastMusicFrame < 0 || frame.musicFrame / step != lastMusicFrame / step);
        if (frame.musicFrame >= 0) lastMusicFrame = frame.musicFrame;
    }
    if (due) draw(now);
}

void CaptureProgress::draw(Clock::time_point now) {
    const double elapsed = std::chrono::duration<double>(now - lastDraw).count();
    if (elapsed > 0.0 && latest.frame > lastDrawFrame)
        speed = static_cast<double>(latest.frame - lastDrawFrame) / elapsed;
    lastDraw = now;
    lastDrawFrame = latest.frame;
    const double seconds = latest.musicFrame < 0 ? -1.0 : static_cast<double>(latest.musicFrame) / fps;
    const std::string text = line(seconds, totalSeconds, speed, latestEffect, latest.written >= 0);
    if (terminal)
        std::fprintf(out, "\r%s\x1b[K", text.c_str());
    else
        std::fprintf(out, "%s\n", text.c_str());
    std::fflush(out);
    drawn = true;
    pending = false;
}

void CaptureProgress::finish() {
    // The last state, so the line ends on where the capture stopped.
    if (pending) draw(Clock::now());
    if (terminal && drawn) std::fputc('\n', out);
    drawn = false;
}
