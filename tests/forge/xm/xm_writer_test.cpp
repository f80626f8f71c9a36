#include "forge/module_probe.h"
#include "forge/music/synth.h"
#include "forge/xm/xm_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <unistd.h>

using namespace forge;
using forgetest::kRenderRate;
using forgetest::loadModule;
using forgetest::renderMono;
using forgetest::rms;

namespace {

constexpr int kChannels = 4;

XmInstrument sineInstrument(double hz) {
    ToneLoop tone = toneLoop(
        hz, 1.0, [](int h, double) { return h == 1 ? 1.0 : 0.0; }, 20000);
    normalise(tone.signal, 0.5f);
    XmInstrument ins;
    ins.name = "sine";
    ins.samples.push_back(makeSample("sine loop", tone.signal, tone.pitchHz));
    setLoop(ins.samples[0], 0, uint32_t(tone.signal.size()));
    return ins;
}

// An 8-bit noise burst: delta coding errors would turn it into a random walk.
XmInstrument noiseInstrument8Bit() {
    NoiseSource noise(3);
    XmSample s;
    s.name = "noise8";
    s.sixteenBit = false;
    for (int i = 0; i < 4000; ++i) s.frames.push_back(int16_t(std::lround(noise.next() * 100)));
    XmSample tuned = makeSample("noise8", {}, 0);
    s.relativeNote = tuned.relativeNote;
    s.finetune = tuned.finetune;
    XmInstrument ins;
    ins.name = "noise";
    ins.samples.push_back(s);
    return ins;
}

// Two patterns of different lengths, three instruments, sync commands in the last channel.
XmModule sampleModule() {
    XmModule m;
    m.name = "round trip";
    m.channels = kChannels;
    m.speed = 5;
    m.bpm = 140;
    m.restartPosition = 1;
    XmInstrument gated = sineInstrument(440);
    gated.name = "gated";
    gated.volumeEnvelope.points = {{0, 64}, {10, 64}, {11, 0}};
    m.instruments = {sineInstrument(440), noiseInstrument8Bit(), gated};
    const int first = m.addPattern(64);
    const int second = m.addPattern(32);
    m.orders = {uint8_t(first), uint8_t(second), uint8_t(first)};
    XmPattern& a = m.patterns[size_t(first)];
    a.at(0, 0, kChannels) = {xmNoteFromMidi(69), 1, xmVolume(48), kXmEffectVibrato, 0x34};
    a.at(0, 3, kChannels) = {0, 0, 0, kXmEffectSync, 2};
    a.at(17, 3, kChannels) = {0, 0, 0, kXmEffectSync, 240};
    a.at(63, 3, kChannels) = {0, 0, 0, kXmEffectSync, 128};
    XmPattern& b = m.patterns[size_t(second)];
    b.at(5, 1, kChannels) = {kXmKeyOff, 0, 0, 0, 0};
    b.at(31, 3, kChannels) = {0, 0, 0, kXmEffectSync, 0};
    return m;
}

std::string effectLetter(openmpt::module& mod, int pattern, int row, int channel) {
    return mod.format_pattern_row_channel_command(pattern, row, channel, openmpt::module::command_effect);
}

int command(openmpt::module& mod, int pattern, int row, int channel, openmpt::module::command_index what) {
    return mod.get_pattern_row_channel_command(pattern, row, channel, what);
}

// One instrument, one note at row 0, rendered for `seconds`.
std::vector<float> renderNote(const XmInstrument& ins, int midi, double seconds) {
    XmModule m;
    m.channels = 2;
    m.instruments = {ins};
    m.orders = {uint8_t(m.addPattern(64))};
    m.patterns[0].at(0, 0, m.channels) = {xmNoteFromMidi(midi), 1, 0, 0, 0};
    XmEncoding encoded = encodeXm(m);
    EXPECT_TRUE(encoded.ok()) << encoded.error;
    auto loaded = loadModule(encoded.bytes);
    EXPECT_EQ(loaded->log.str(), "");
    loaded->module->set_render_param(openmpt::module::RENDER_INTERPOLATIONFILTER_LENGTH, 1);
    return renderMono(*loaded->module, seconds);
}

double frequencyByZeroCrossings(const std::vector<float>& s, size_t begin, size_t end) {
    int crossings = 0;
    for (size_t i = begin + 1; i < end; ++i)
        if (s[i - 1] < 0 && s[i] >= 0) ++crossings;
    return crossings * double(kRenderRate) / double(end - begin);
}

} // namespace

TEST(XmWriter, LibopenmptReadsHeaderPatternsAndInstrumentsBack) {
    XmEncoding encoded = encodeXm(sampleModule());
    ASSERT_TRUE(encoded.ok()) << encoded.error;
    auto loaded = loadModule(encoded.bytes);
    openmpt::module& mod = *loaded->module;
    EXPECT_EQ(loaded->log.str(), "") << "the loader complained";
    EXPECT_EQ(mod.get_metadata("type"), "xm");
    EXPECT_EQ(mod.get_metadata("title"), "round trip");
    EXPECT_EQ(mod.get_num_channels(), kChannels);
    EXPECT_EQ(mod.get_num_orders(), 3);
    EXPECT_EQ(mod.get_num_patterns(), 2);
    EXPECT_EQ(mod.get_order_pattern(1), 1);
    EXPECT_EQ(mod.get_order_pattern(2), 0);
    EXPECT_EQ(mod.get_pattern_num_rows(0), 64);
    EXPECT_EQ(mod.get_pattern_num_rows(1), 32);
    EXPECT_EQ(mod.get_current_speed(), 5);
    EXPECT_EQ(mod.get_current_tempo(), 140);
    EXPECT_EQ(mod.get_num_instruments(), 3);
    EXPECT_EQ(mod.get_num_samples(), 3);
    EXPECT_EQ(mod.get_instrument_names()[2], "gated");
    EXPECT_EQ(mod.get_sample_names()[1], "noise8");

    using cmd = openmpt::module;
    EXPECT_EQ(mod.format_pattern_row_channel_command(0, 0, 0, cmd::command_note),
              "A-5"); // its own octave numbers
    EXPECT_EQ(command(mod, 0, 0, 0, cmd::command_instrument), 1);
    EXPECT_EQ(command(mod, 0, 0, 0, cmd::command_volume), 48);
    EXPECT_EQ(effectLetter(mod, 0, 0, 0), "4");
    EXPECT_EQ(command(mod, 0, 0, 0, cmd::command_parameter), 0x34);
    EXPECT_EQ(mod.format_pattern_row_channel_command(1, 5, 1, cmd::command_note), "===");
    EXPECT_EQ(effectLetter(mod, 0, 1, 0), ".");
}

TEST(XmWriter, SyncCommandsComeBackAsEffectWWithTheirValues) {
    XmEncoding encoded = encodeXm(sampleModule());
    ASSERT_TRUE(encoded.ok()) << encoded.error;
    auto loaded = loadModule(encoded.bytes);
    openmpt::module& mod = *loaded->module;
    struct Found {
        int pattern, row, value;
        bool operator==(const Found& o) const {
            return pattern == o.pattern && row == o.row && value == o.value;
        }
    };
    std::vector<Found> found;
    for (int p = 0; p < mod.get_num_patterns(); ++p)
        for (int r = 0; r < mod.get_pattern_num_rows(p); ++r)
            for (int c = 0; c < mod.get_num_channels(); ++c)
                if (effectLetter(mod, p, r, c) == "W")
                    found.push_back({p, r, command(mod, p, r, c, openmpt::module::command_parameter)});
    const std::vector<Found> expected = {{0, 0, 2}, {0, 17, 240}, {0, 63, 128}, {1, 31, 0}};
    EXPECT_TRUE(found == expected) << "found " << found.size() << " sync commands";
}

TEST(XmWriter, SamplesPlayInTuneLoopAndFollowTheirEnvelope) {
    // A looped 16-bit sine played at A4 sounds 440 Hz, long after the sample's own length.
    const std::vector<float> a4 = renderNote(sineInstrument(440), 69, 1.0);
    ASSERT_EQ(a4.size(), size_t(kRenderRate));
    EXPECT_NEAR(frequencyByZeroCrossings(a4, kRenderRate / 2, kRenderRate), 440.0, 2.0);
    EXPECT_GT(rms(a4, kRenderRate * 9 / 10, kRenderRate), 0.05);
    // An octave lower, same sample: 220 Hz.
    const std::vector<float> a3 = renderNote(sineInstrument(440), 57, 1.0);
    EXPECT_NEAR(frequencyByZeroCrossings(a3, kRenderRate / 2, kRenderRate), 220.0, 2.0);

    // The envelope falls to 0 after 11 ticks (6 ticks of 20 ms a row at the default tempo).
    XmInstrument gated = sineInstrument(440);
    gated.volumeEnvelope.points = {{0, 64}, {10, 64}, {11, 0}};
    const std::vector<float> g = renderNote(gated, 69, 0.6);
    EXPECT_GT(rms(g, 0, kRenderRate / 10), 0.05);
    EXPECT_LT(rms(g, kRenderRate * 3 / 10, kRenderRate * 6 / 10), 1e-4);
}

TEST(XmWriter, EightBitSampleDataSurvivesDeltaCoding) {
    const XmInstrument ins = noiseInstrument8Bit();
    const std::vector<float> out = renderNote(ins, kMidiMiddleC, 0.2);
    // Played at (nearly) its own rate with nearest-neighbour resampling, the output is the
    // sample scaled: compare by normalised correlation over a stretch short enough that the
    // rate's tuning error moves it by less than half a frame.
    const auto& frames = ins.samples[0].frames;
    double dot = 0, a2 = 0, b2 = 0;
    for (size_t i = 20; i < 300; ++i) {
        dot += double(frames[i]) * out[i];
        a2 += double(frames[i]) * frames[i];
        b2 += double(out[i]) * out[i];
    }
    ASSERT_GT(b2, 0);
    EXPECT_GT(dot / std::sqrt(a2 * b2), 0.98);
    // and the unlooped sample ends (the player fades its last value out to avoid a click).
    EXPECT_LT(rms(out, 6000, out.size()), 1e-3);
}

TEST(XmWriter, RejectsModulesTheFormatCannotHold) {
    struct Case {
        const char* what;
        void (*spoil)(XmModule&);
    };
    const Case cases[] = {
        {"order names a missing pattern", [](XmModule& m) { m.orders.push_back(9); }},
        {"no orders", [](XmModule& m) { m.orders.clear(); }},
        {"restart outside", [](XmModule& m) { m.restartPosition = 3; }},
        {"too many channels", [](XmModule& m) { m.channels = 33; }},
        {"speed 0", [](XmModule& m) { m.speed = 0; }},
        {"tempo 31", [](XmModule& m) { m.bpm = 31; }},
        {"cells do not match", [](XmModule& m) { m.patterns[1].cells.pop_back(); }},
        {"note 98", [](XmModule& m) { m.patterns[0].cells[5].note = 98; }},
        {"instrument 4 of 3", [](XmModule& m) { m.patterns[0].cells[5].instrument = 4; }},
        {"volume column 0x05", [](XmModule& m) { m.patterns[0].cells[5].volume = 0x05; }},
        {"effect 36", [](XmModule& m) { m.patterns[0].cells[5].effect = 36; }},
        {"loop past the end", [](XmModule& m) { m.instruments[0].samples[0].loopLength += 1; }},
        {"loop of length 0", [](XmModule& m) { m.instruments[0].samples[0].loopLength = 0; }},
        {"8-bit value 128", [](XmModule& m) { m.instruments[1].samples[0].frames[7] = 128; }},
        {"13 envelope points",
         [](XmModule& m) {
             m.instruments[2].volumeEnvelope.points.resize(13, {0, 0});
         }},
        {"envelope frames not increasing",
         [](XmModule& m) { m.instruments[2].volumeEnvelope.points[2].frame = 10; }},
        {"envelope value 65", [](XmModule& m) { m.instruments[2].volumeEnvelope.points[0].value = 65; }},
        {"sustain point out of range",
         [](XmModule& m) {
             m.instruments[2].volumeEnvelope.sustain = true;
             m.instruments[2].volumeEnvelope.sustainPoint = 3;
         }},
        {"note map names a missing sample", [](XmModule& m) { m.instruments[0].noteSamples[40] = 1; }},
        {"name too long", [](XmModule& m) { m.name = std::string(21, 'x'); }},
    };
    ASSERT_TRUE(encodeXm(sampleModule()).ok());
    for (const Case& c : cases) {
        XmModule m = sampleModule();
        c.spoil(m);
        XmEncoding encoded = encodeXm(m);
        EXPECT_FALSE(encoded.ok()) << c.what;
        EXPECT_TRUE(encoded.bytes.empty()) << c.what;
    }
}

TEST(XmWriter, WritesTheSameBytesEveryTimeAndReportsUnwritablePaths) {
    const XmEncoding a = encodeXm(sampleModule());
    const XmEncoding b = encodeXm(sampleModule());
    ASSERT_TRUE(a.ok());
    EXPECT_EQ(a.bytes, b.bytes);

    const std::string path =
        ::testing::TempDir() + "forge_xm_writer_test_" + std::to_string(getpid()) + ".xm";
    ASSERT_EQ(writeXmFile(sampleModule(), path), "");
    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> written((std::istreambuf_iterator<char>(file)),
                                       std::istreambuf_iterator<char>());
    EXPECT_EQ(written, a.bytes);
    std::remove(path.c_str());

    EXPECT_NE(writeXmFile(sampleModule(), "/nonexistent-folder/x.xm"), "");
    XmModule broken = sampleModule();
    broken.orders.clear();
    EXPECT_NE(writeXmFile(broken, path), "");
}
