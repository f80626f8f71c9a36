#include "forge/music/synth.h"

#include <algorithm>
#include <cmath>

namespace forge {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2 * kPi;
constexpr double kXmBaseRate = 8363.0; // what an XM sample plays at for note 49 untuned
constexpr int kFinetuneSteps = 128;    // finetune units per semitone
// Players that follow FT2 use only the top 5 bits of the finetune (16 steps a semitone); tuning
// on that grid sounds the same everywhere.
constexpr int kFinetuneGrid = 8;
constexpr int kTuningStepsPerSemitone = kFinetuneSteps / kFinetuneGrid;
constexpr float kInt16Scale = 32767.0f;

double onePoleCoefficient(double cutoffHz) {
    return 1.0 - std::exp(-kTwoPi * cutoffHz / kSynthRate);
}

} // namespace

double midiToHz(double midi) {
    return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}

float NoiseSource::next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return float(double(state) / 2147483648.0 - 1.0);
}

int framesFor(double seconds, double rate) {
    return std::max(1, int(std::lround(seconds * rate)));
}

Signal sineSweep(double seconds, double startHz, double endHz, double sweepSeconds) {
    Signal s(size_t(framesFor(seconds)));
    const double ratio = endHz / startHz;
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kSynthRate;
        const double hz = t < sweepSeconds ? startHz * std::pow(ratio, t / sweepSeconds) : endHz;
        s[i] = float(std::sin(phase));
        phase = std::fmod(phase + kTwoPi * hz / kSynthRate, kTwoPi);
    }
    return s;
}

Signal whiteNoise(double seconds, uint32_t seed) {
    NoiseSource noise(seed);
    Signal s(size_t(framesFor(seconds)));
    for (float& v : s) v = noise.next();
    return s;
}

ToneLoop toneLoop(double hz, double seconds, const HarmonicShape& shape, double maxHz,
                  const std::vector<ToneLayer>& layers) {
    // Whole cycles in the loop, then the frame count that gives the tunable pitch most closely:
    // the pitch error is at most half a frame over the whole loop.
    const double target = tunablePitch(hz);
    const long cycles = std::max(1L, std::lround(target * seconds));
    const long frames = std::max(1L, std::lround(double(cycles) * kSynthRate / target));
    ToneLoop tone;
    tone.pitchHz = double(cycles) * kSynthRate / double(frames);
    tone.signal.assign(size_t(frames), 0.0f);
    std::vector<double> sum(size_t(frames), 0.0);
    for (const ToneLayer& layer : layers) {
        const long layerCycles = cycles * layer.multiple + layer.cycleOffset;
        if (layerCycles <= 0) continue;
        const double fundamental = double(layerCycles) * kSynthRate / double(frames);
        for (int h = 1; double(h) * fundamental <= maxHz; ++h) {
            const double a = layer.gain * shape(h, double(h) * fundamental);
            if (a == 0) continue;
            // Rotate a phasor instead of calling sin per frame; over one loop the rounding
            // stays far below what 16 bits can show.
            const double step = kTwoPi * double(h) * double(layerCycles) / double(frames);
            const double c = std::cos(step), sn = std::sin(step);
            double re = std::cos(layer.phase * h), im = std::sin(layer.phase * h);
            for (size_t i = 0; i < sum.size(); ++i) {
                sum[i] += a * im;
                const double nre = re * c - im * sn;
                im = re * sn + im * c;
                re = nre;
            }
        }
    }
    for (size_t i = 0; i < sum.size(); ++i) tone.signal[i] = float(sum[i]);
    return tone;
}

double sawShape(int h) {
    return (h % 2 ? 1.0 : -1.0) / double(h);
}

double squareShape(int h) {
    return h % 2 ? 1.0 / double(h) : 0.0;
}

double lowpassGain(double hz, double cutoffHz) {
    const double r = hz / cutoffHz;
    return 1.0 / (1.0 + r * r);
}

void lowpass(Signal& s, double cutoffHz) {
    const double k = onePoleCoefficient(cutoffHz);
    double y = 0;
    for (float& v : s) {
        y += k * (double(v) - y);
        v = float(y);
    }
}

void highpass(Signal& s, double cutoffHz) {
    const double k = onePoleCoefficient(cutoffHz);
    double low = 0;
    for (float& v : s) {
        low += k * (double(v) - low);
        v = float(double(v) - low);
    }
}

void bandpass(Signal& s, double centreHz, double q) {
    // RBJ biquad, constant 0 dB peak gain.
    const double w = kTwoPi * centreHz / kSynthRate;
    const double alpha = std::sin(w) / (2 * q);
    const double a0 = 1 + alpha;
    const double b0 = alpha / a0, b2 = -alpha / a0;
    const double a1 = -2 * std::cos(w) / a0, a2 = (1 - alpha) / a0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (float& v : s) {
        const double x = v;
        const double y = b0 * x + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        v = float(y);
    }
}

void exponentialDecay(Signal& s, double halfLifeSeconds, double holdSeconds) {
    const size_t hold = size_t(holdSeconds * kSynthRate);
    const double perFrame = std::pow(0.5, 1.0 / (halfLifeSeconds * kSynthRate));
    double gain = 1;
    for (size_t i = hold; i < s.size(); ++i) {
        s[i] = float(s[i] * gain);
        gain *= perFrame;
    }
}

void fadeIn(Signal& s, double seconds) {
    const size_t n = std::min(s.size(), size_t(seconds * kSynthRate));
    for (size_t i = 0; i < n; ++i) s[i] = float(s[i] * (double(i) / double(n)));
}

void fadeOut(Signal& s, double seconds) {
    const size_t n = std::min(s.size(), size_t(seconds * kSynthRate));
    for (size_t i = 0; i < n; ++i) s[s.size() - 1 - i] = float(s[s.size() - 1 - i] * (double(i) / double(n)));
}

void mixInto(Signal& dst, const Signal& src, float gain) {
    if (dst.size() < src.size()) dst.resize(src.size(), 0.0f);
    for (size_t i = 0; i < src.size(); ++i) dst[i] += gain * src[i];
}

void softClip(Signal& s, float drive) {
    const float norm = std::tanh(drive);
    for (float& v : s) v = std::tanh(v * drive) / norm;
}

float peak(const Signal& s) {
    float p = 0;
    for (float v : s) p = std::max(p, std::fabs(v));
    return p;
}

void normalise(Signal& s, float peakLevel) {
    const float p = peak(s);
    if (p <= 0) return;
    for (float& v : s) v *= peakLevel / p;
}

double tunablePitch(double hz, double rate) {
    const double semitones = 12.0 * std::log2(rate * kMiddleCHz / (hz * kXmBaseRate));
    const double grid = std::round(semitones * kTuningStepsPerSemitone) / kTuningStepsPerSemitone;
    return rate * kMiddleCHz / (kXmBaseRate * std::pow(2.0, grid / 12.0));
}

XmSample makeSample(const std::string& name, const Signal& s, double pitchHz, double rate) {
    XmSample sample;
    sample.name = name;
    sample.sixteenBit = true;
    sample.frames.reserve(s.size());
    for (float v : s) sample.frames.push_back(int16_t(std::lround(std::clamp(v, -1.0f, 1.0f) * kInt16Scale)));
    // Transpose so XM note 49 sounds middle C (or, unpitched, plays the frames at their own rate).
    const double contentHz = pitchHz > 0 ? pitchHz : kMiddleCHz;
    const double semitones = 12.0 * std::log2(rate * kMiddleCHz / (contentHz * kXmBaseRate));
    const long steps = std::lround(semitones * kTuningStepsPerSemitone) * kFinetuneGrid;
    long relative = steps / kFinetuneSteps;
    long fine = steps - relative * kFinetuneSteps;
    if (fine >= kFinetuneSteps / 2) {
        ++relative;
        fine -= kFinetuneSteps;
    } else if (fine < -kFinetuneSteps / 2) {
        --relative;
        fine += kFinetuneSteps;
    }
    sample.relativeNote = int8_t(relative);
    sample.finetune = int8_t(fine);
    return sample;
}

void setLoop(XmSample& sample, uint32_t start, uint32_t length, XmLoop kind) {
    sample.loop = kind;
    sample.loopStart = start;
    sample.loopLength = length;
}

} // namespace forge
