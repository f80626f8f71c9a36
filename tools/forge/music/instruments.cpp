#include "forge/music/instruments.h"

#include "forge/music/synth.h"

#include <algorithm>
#include <cmath>

namespace forge {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kNyquistGuard = 19000.0; // highest partial a played note may reach
constexpr int kNotesPerRegion = 12;       // one sample an octave
constexpr int kLowestMidiInMap = 12;      // XM note 1 (C-0)
constexpr float kSamplePeak = 0.9f;

// Envelope times are in ticks of the song (about 19 ms).
XmEnvelope envelope(std::vector<XmEnvelopePoint> points, int sustainPoint = -1) {
    XmEnvelope e;
    e.points = std::move(points);
    if (sustainPoint >= 0) {
        e.sustain = true;
        e.sustainPoint = uint8_t(sustainPoint);
    }
    return e;
}

// Sample volumes stay at full: every note the parts write sets its own volume.
XmInstrument oneShot(const char* name, Signal s, uint8_t panning = 128, bool eightBit = false) {
    normalise(s, kSamplePeak);
    XmInstrument ins;
    ins.name = name;
    XmSample sample = makeSample(name, s);
    sample.panning = panning;
    if (eightBit) {
        // Noise hides 8-bit steps; half the bytes.
        sample.sixteenBit = false;
        for (int16_t& v : sample.frames) v = int16_t(std::clamp(std::lround(v / 256.0), -128L, 127L));
    }
    ins.samples.push_back(std::move(sample));
    return ins;
}

// One sample per octave region between lowMidi and highMidi, each band-limited for the
// highest note it plays; `make` synthesises a sample at the region's centre pitch and returns
// its signal, pitch and loop.
template <typename Make>
XmInstrument regional(const char* name, int lowMidi, int highMidi, uint8_t panning, Make make) {
    XmInstrument ins;
    ins.name = name;
    int region = 0;
    for (int centre = lowMidi + kNotesPerRegion / 2; centre - kNotesPerRegion / 2 <= highMidi;
         centre += kNotesPerRegion, ++region) {
        const double maxHz = kNyquistGuard / std::pow(2.0, (kNotesPerRegion / 2) / 12.0);
        XmSample sample = make(midiToHz(centre), maxHz);
        sample.panning = panning;
        ins.samples.push_back(std::move(sample));
        for (int midi = centre - kNotesPerRegion / 2; midi < centre + kNotesPerRegion / 2; ++midi) {
            const int index = midi - kLowestMidiInMap;
            if (index >= 0 && index < kXmNoteCount) ins.noteSamples[size_t(index)] = uint8_t(region);
        }
    }
    // Notes beyond the range use the nearest region.
    const int lowIndex = lowMidi - kLowestMidiInMap;
    for (int i = 0; i < kXmNoteCount; ++i) {
        if (i < lowIndex) ins.noteSamples[size_t(i)] = 0;
        if (i >= lowIndex + region * kNotesPerRegion) ins.noteSamples[size_t(i)] = uint8_t(region - 1);
    }
    return ins;
}

// `drive` > 1 saturates the loop a little: denser, louder for the same peak.
XmSample loopedTone(const char* name, double hz, double seconds, const HarmonicShape& shape, double maxHz,
                    const std::vector<ToneLayer>& layers, float drive = 0) {
    ToneLoop tone = toneLoop(hz, seconds, shape, maxHz, layers);
    if (drive > 0) {
        normalise(tone.signal, 1.0f);
        softClip(tone.signal, drive);
    }
    normalise(tone.signal, kSamplePeak);
    XmSample sample = makeSample(name, tone.signal, tone.pitchHz);
    setLoop(sample, 0, uint32_t(tone.signal.size()));
    return sample;
}

// A struck tone: every partial decays on its own, the higher ones faster.
XmSample decayingTone(const char* name, double hz, double seconds, double maxHz,
                      const std::vector<double>& ratios, const std::vector<double>& gains,
                      const std::vector<double>& halfLives) {
    const double pitch = tunablePitch(hz);
    Signal s(size_t(framesFor(seconds)), 0.0f);
    for (size_t k = 0; k < ratios.size(); ++k) {
        const double f = pitch * ratios[k];
        if (f > maxHz) continue;
        const double step = 2 * kPi * f / kSynthRate;
        const double fall = std::pow(0.5, 1.0 / (halfLives[k] * kSynthRate));
        double a = gains[k];
        for (size_t i = 0; i < s.size(); ++i) {
            s[i] += float(a * std::sin(step * double(i)));
            a *= fall;
        }
    }
    fadeIn(s, 0.002);
    fadeOut(s, 0.05);
    normalise(s, kSamplePeak);
    return makeSample(name, s, pitch);
}

// Six square waves at unrelated pitches: the metallic core of hats and cymbals.
Signal metallic(double seconds) {
    static constexpr double kHz[] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    Signal s(size_t(framesFor(seconds)), 0.0f);
    for (double f : kHz)
        for (int h = 1; f * h < kSynthRate / 2; h += 2) {
            const double step = 2 * kPi * f * h / kSynthRate;
            for (size_t i = 0; i < s.size(); ++i) s[i] += float(std::sin(step * double(i)) / h);
        }
    return s;
}

Signal cymbal(double seconds, double halfLife, double highpassHz, uint32_t seed) {
    Signal s = metallic(seconds);
    normalise(s, 0.5f);
    Signal noise = whiteNoise(seconds, seed);
    mixInto(s, noise, 0.35f);
    highpass(s, highpassHz);
    highpass(s, highpassHz);
    bandpass(s, 9000, 0.6);
    exponentialDecay(s, halfLife);
    fadeIn(s, 0.0005);
    fadeOut(s, std::min(0.05, seconds / 4));
    return s;
}

XmInstrument kick() {
    Signal s = sineSweep(0.45, 170, 47, 0.09);
    exponentialDecay(s, 0.09, 0.03);
    Signal click = whiteNoise(0.004, 21);
    highpass(click, 2000);
    mixInto(s, click, 0.5f);
    softClip(s, 1.8f);
    fadeOut(s, 0.03);
    return oneShot("kick", s);
}

XmInstrument snare() {
    Signal body = sineSweep(0.35, 230, 185, 0.03);
    exponentialDecay(body, 0.045);
    Signal noise = whiteNoise(0.35, 5);
    bandpass(noise, 3200, 0.7);
    highpass(noise, 900);
    normalise(noise, 1.0f);
    exponentialDecay(noise, 0.07, 0.01);
    Signal s = body;
    mixInto(s, noise, 0.9f);
    fadeOut(s, 0.05);
    return oneShot("snare", s);
}

XmInstrument clap() {
    // A few short bursts a hair apart, then a small room.
    Signal s(size_t(framesFor(0.4)), 0.0f);
    Signal noise = whiteNoise(0.4, 9);
    bandpass(noise, 1400, 1.2);
    normalise(noise, 1.0f);
    const size_t burst = size_t(framesFor(0.009));
    for (int b = 0; b < 4; ++b) {
        const size_t start = size_t(b) * burst;
        const double halfLife = b < 3 ? 0.003 : 0.08;
        for (size_t i = start; i < s.size(); ++i)
            s[i] += float(noise[i] * std::pow(0.5, double(i - start) / (halfLife * kSynthRate)));
    }
    fadeOut(s, 0.05);
    return oneShot("clap", s, 140);
}

XmInstrument closedHat() {
    return oneShot("closed hat", cymbal(0.09, 0.018, 6000, 13), 150, true);
}
XmInstrument openHat() {
    return oneShot("open hat", cymbal(0.6, 0.13, 6000, 17), 150, true);
}
XmInstrument crash() {
    return oneShot("crash", cymbal(2.6, 0.55, 3500, 19), 110, true);
}

XmInstrument tom() {
    XmInstrument ins = regional("tom", 40, 63, 128, [](double hz, double) {
        const double pitch = tunablePitch(hz);
        Signal s = sineSweep(0.6, pitch * 1.6, pitch, 0.05);
        exponentialDecay(s, 0.12, 0.01);
        Signal noise = whiteNoise(0.6, 23);
        lowpass(noise, 3000);
        exponentialDecay(noise, 0.02);
        mixInto(s, noise, 0.3f);
        fadeOut(s, 0.05);
        normalise(s, kSamplePeak);
        return makeSample("tom", s, pitch);
    });
    return ins;
}

// Noise through a band-pass that climbs from 300 Hz to 9 kHz over half a pattern, growing.
XmInstrument riser() {
    const double seconds = 3.7;
    Signal s = whiteNoise(seconds, 29);
    double low = 0, band = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / double(s.size());
        const double fc = 300.0 * std::pow(30.0, t);
        const double f = 2 * std::sin(kPi * fc / kSynthRate);
        const double q = 0.35;
        const double high = s[i] - low - q * band;
        band += f * high;
        low += f * band;
        s[i] = float(band * (0.1 + 0.9 * t * t));
    }
    fadeIn(s, 0.2);
    fadeOut(s, 0.02);
    return oneShot("riser", s);
}

XmInstrument bass() {
    XmInstrument ins = regional("bass", 24, 59, 128, [](double hz, double maxHz) {
        // Saw through a low-pass, with its fundamental doubled for weight.
        auto shape = [](int h, double f) { return (h == 1 ? 2.0 : sawShape(h)) * lowpassGain(f, 750); };
        return loopedTone("bass", hz, 0.25, shape, maxHz, {ToneLayer{}}, 1.6f);
    });
    ins.volumeEnvelope = envelope({{0, 64}, {6, 50}, {30, 40}}, 2);
    ins.fadeout = 2400;
    return ins;
}

XmInstrument pad() {
    XmInstrument ins = regional("pad", 43, 84, 128, [](double hz, double maxHz) {
        auto shape = [](int h, double f) { return sawShape(h) * lowpassGain(f, 1800); };
        // Three saws a whole cycle apart across a 1.6 s loop, and a quiet one an octave up.
        const std::vector<ToneLayer> layers = {
            {-1, 1, 0.8, 0.0}, {0, 1, 1.0, 1.3}, {1, 1, 0.8, 2.1}, {1, 2, 0.25, 0.7}};
        return loopedTone("pad", hz, 1.6, shape, maxHz, layers, 1.3f);
    });
    ins.volumeEnvelope = envelope({{0, 0}, {30, 64}, {60, 52}}, 2);
    ins.fadeout = 700;
    return ins;
}

XmInstrument stab() {
    XmInstrument ins = regional("stab", 48, 84, 128, [](double hz, double maxHz) {
        auto shape = [](int h, double f) { return sawShape(h) * lowpassGain(f, 4200); };
        const std::vector<ToneLayer> layers = {{-1, 1, 0.9, 0.0}, {0, 1, 1.0, 1.7}, {1, 1, 0.9, 0.4}};
        return loopedTone("stab", hz, 0.6, shape, maxHz, layers);
    });
    ins.volumeEnvelope = envelope({{0, 64}, {4, 40}, {14, 12}, {30, 0}});
    ins.fadeout = 4000;
    return ins;
}

XmInstrument pluck() {
    return regional("pluck", 55, 96, 80, [](double hz, double maxHz) {
        // A 30% pulse whose upper partials die away first.
        std::vector<double> ratios, gains, halfLives;
        for (int h = 1; h <= 40; ++h) {
            ratios.push_back(h);
            gains.push_back(std::sin(kPi * h * 0.3) / h);
            halfLives.push_back(0.25 / (1.0 + 0.35 * h));
        }
        return decayingTone("pluck", hz, 0.7, maxHz, ratios, gains, halfLives);
    });
}

XmInstrument lead() {
    XmInstrument ins = regional("lead", 55, 96, 128, [](double hz, double maxHz) {
        // Saw and square a cycle apart: a warm, slightly chorused lead.
        auto shape = [](int h, double f) {
            return (sawShape(h) + 0.6 * squareShape(h)) * lowpassGain(f, 3200);
        };
        return loopedTone("lead", hz, 0.5, shape, maxHz, {{0, 1, 1.0, 0.0}, {1, 1, 0.5, 0.9}});
    });
    ins.volumeEnvelope = envelope({{0, 0}, {2, 64}, {12, 52}}, 2);
    ins.fadeout = 1600;
    ins.vibratoType = 0; // sine
    ins.vibratoSweep = 40;
    ins.vibratoDepth = 3;
    ins.vibratoRate = 14;
    return ins;
}

XmInstrument bell() {
    return regional("bell", 60, 95, 150, [](double hz, double maxHz) {
        return decayingTone("bell", hz, 2.2, maxHz, {1.0, 2.0, 3.0, 4.16, 5.43, 6.79},
                            {1.0, 0.6, 0.35, 0.25, 0.15, 0.1}, {0.7, 0.45, 0.3, 0.2, 0.12, 0.08});
    });
}

} // namespace

std::vector<XmInstrument> makeInstruments() {
    return {kick(),  snare(), clap(), closedHat(), openHat(), crash(), tom(),
            riser(), bass(),  pad(),  stab(),      pluck(),   lead(),  bell()};
}

} // namespace forge
