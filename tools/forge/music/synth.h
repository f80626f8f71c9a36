// Sound synthesis for the forge's instruments: oscillators, noise, filters and envelopes over
// plain float signals, and the conversion of a signal into a tuned XM sample.
#pragma once

#include "forge/xm/xm_module.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace forge {

using Signal = std::vector<float>;

constexpr double kSynthRate = 44100.0;
constexpr double kMiddleCHz = 261.6255653005986; // MIDI note 60
constexpr int kMidiMiddleC = 60;

// XM note numbers count from C-0 = 1; our samples are tuned so that XM note 49 sounds middle C.
constexpr int kXmMiddleC = 49;
constexpr uint8_t xmNoteFromMidi(int midi) {
    return uint8_t(midi - kMidiMiddleC + kXmMiddleC);
}
double midiToHz(double midi);

// Deterministic noise (xorshift32): identical on every platform, unlike <random>'s distributions.
class NoiseSource {
public:
    explicit NoiseSource(uint32_t seed) : state(seed ? seed : 0x9e3779b9u) {}
    float next(); // uniform in [-1, 1)

private:
    uint32_t state;
};

int framesFor(double seconds, double rate = kSynthRate);

// A sine whose frequency glides exponentially from startHz to endHz over sweepSeconds.
Signal sineSweep(double seconds, double startHz, double endHz, double sweepSeconds);
Signal whiteNoise(double seconds, uint32_t seed);

// A tone as a loop. Every layer is a copy of the waveform with `multiple` times the first
// layer's cycles plus `cycleOffset` more in the loop: whole cycles, so every layer joins, and a
// cycle more is a slight detune that beats once per loop.
struct ToneLayer {
    int cycleOffset = 0;
    int multiple = 1; // 2 = an octave above the first layer
    double gain = 1.0;
    double phase = 0; // radians, added to every harmonic
};
// Amplitude of harmonic h (1 = fundamental) sounding at hz.
using HarmonicShape = std::function<double(int h, double hz)>;
struct ToneLoop {
    Signal signal;      // one loop
    double pitchHz = 0; // exact pitch of the first layer
};
// A loop of about `seconds` at a pitch near hz that XM can tune to exactly; partials above
// maxHz are left out so the loop stays band-limited.
ToneLoop toneLoop(double hz, double seconds, const HarmonicShape& shape, double maxHz,
                  const std::vector<ToneLayer>& layers = {ToneLayer{}});
double sawShape(int h);
double squareShape(int h); // odd harmonics only
// Gain of a gentle two-pole low-pass at hz.
double lowpassGain(double hz, double cutoffHz);

// In-place shaping.
void lowpass(Signal& s, double cutoffHz);  // one pole
void highpass(Signal& s, double cutoffHz); // one pole
void bandpass(Signal& s, double centreHz, double q);
void exponentialDecay(Signal& s, double halfLifeSeconds, double holdSeconds = 0);
void fadeIn(Signal& s, double seconds);
void fadeOut(Signal& s, double seconds);
void mixInto(Signal& dst, const Signal& src, float gain = 1.0f);
void softClip(Signal& s, float drive);
float peak(const Signal& s);
void normalise(Signal& s, float peakLevel);

// The pitch nearest to hz that a sample synthesised at `rate` can be tuned to exactly (XM tunes
// in sixteenths of a semitone): synthesise at this pitch for instruments that play in tune.
double tunablePitch(double hz, double rate = kSynthRate);

// Quantises a signal (expected within [-1, 1]) to a 16-bit XM sample. pitchHz is the pitch of
// the signal's content; 0 means unpitched (XM middle C then plays it at its own rate).
XmSample makeSample(const std::string& name, const Signal& s, double pitchHz = 0, double rate = kSynthRate);
void setLoop(XmSample& sample, uint32_t start, uint32_t length, XmLoop kind = XmLoop::forward);

} // namespace forge
