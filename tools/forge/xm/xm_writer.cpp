#include "forge/xm/xm_writer.h"

#include <cstdio>
#include <fstream>

namespace forge {
namespace {

constexpr char kXmSignature[] = "Extended Module: ";
constexpr int kXmNameLength = 20;
constexpr int kXmTrackerNameLength = 20;
constexpr int kXmSampleNameLength = 22;
constexpr int kXmInstrumentNameLength = 22;
constexpr uint16_t kXmVersion = 0x0104;
constexpr uint32_t kXmHeaderSize = 4 + 8 * 2 + kXmMaxOrders; // counted from the size field itself
constexpr uint32_t kXmPatternHeaderSize = 9;
constexpr uint32_t kXmInstrumentHeaderSize = 263; // what FT2 writes, reserved bytes included
constexpr uint32_t kXmSampleHeaderSize = 40;
constexpr uint8_t kXmEndOfText = 0x1a;
constexpr int kXmMinSpeed = 1, kXmMaxSpeed = 31;
constexpr int kXmMinBpm = 32, kXmMaxBpm = 255;
constexpr uint8_t kXmFlagLinear = 1;
constexpr uint8_t kXmSample16Bit = 0x10;
constexpr uint8_t kXmEnvelopeOn = 1, kXmEnvelopeSustain = 2, kXmEnvelopeLoop = 4;
// Pattern packing: a byte with the top bit set says which of the five fields follow.
constexpr uint8_t kXmPacked = 0x80;
constexpr uint8_t kXmPackNote = 1, kXmPackInstrument = 2, kXmPackVolume = 4, kXmPackEffect = 8,
                  kXmPackParam = 16;
constexpr uint8_t kXmPackAll = 31;
// The volume column's unused ranges (between set-volume and the slide commands).
constexpr uint8_t kXmVolumeFirstCommand = 0x60;

class ByteSink {
public:
    explicit ByteSink(std::vector<uint8_t>& out) : out(out) {}
    void u8(uint8_t v) { out.push_back(v); }
    void u16(uint16_t v) {
        u8(uint8_t(v));
        u8(uint8_t(v >> 8));
    }
    void u32(uint32_t v) {
        u16(uint16_t(v));
        u16(uint16_t(v >> 16));
    }
    // A fixed-size text field, padded with zeros.
    void text(const std::string& s, size_t size) {
        for (size_t i = 0; i < size; ++i) u8(i < s.size() ? uint8_t(s[i]) : 0);
    }
    void zeros(size_t n) { out.insert(out.end(), n, 0); }
    size_t size() const { return out.size(); }

private:
    std::vector<uint8_t>& out;
};

std::string where(const char* what, size_t index) {
    return std::string(what) + " " + std::to_string(index);
}

std::string checkEnvelope(const XmEnvelope& e, const std::string& place) {
    if (e.points.size() > size_t(kXmMaxEnvelopePoints))
        return place + ": more than " + std::to_string(kXmMaxEnvelopePoints) + " points";
    for (size_t i = 0; i < e.points.size(); ++i) {
        if (e.points[i].value > kXmEnvelopeMax)
            return place + ": value above 64 at point " + std::to_string(i);
        if (i > 0 && e.points[i].frame <= e.points[i - 1].frame)
            return place + ": frames do not increase at point " + std::to_string(i);
    }
    if (e.points.empty() && (e.sustain || e.loop)) return place + ": sustain or loop without points";
    if (e.sustain && e.sustainPoint >= e.points.size()) return place + ": sustain point out of range";
    if (e.loop && (e.loopStart > e.loopEnd || e.loopEnd >= e.points.size()))
        return place + ": loop points out of range";
    return {};
}

std::string checkSample(const XmSample& s, const std::string& place) {
    if (s.name.size() > size_t(kXmSampleNameLength)) return place + ": name longer than 22 characters";
    if (s.volume > kXmMaxVolume) return place + ": volume above 64";
    const uint64_t bytes = uint64_t(s.frames.size()) * (s.sixteenBit ? 2 : 1);
    if (bytes > UINT32_MAX) return place + ": too long";
    if (!s.sixteenBit)
        for (int16_t v : s.frames)
            if (v < INT8_MIN || v > INT8_MAX) return place + ": 8-bit sample value out of range";
    if (s.loop != XmLoop::none) {
        if (s.loopLength == 0) return place + ": loop of length 0";
        if (uint64_t(s.loopStart) + s.loopLength > s.frames.size()) return place + ": loop runs past the end";
    }
    return {};
}

std::string checkModule(const XmModule& m) {
    if (m.name.size() > size_t(kXmNameLength)) return "module name longer than 20 characters";
    if (m.trackerName.size() > size_t(kXmTrackerNameLength)) return "tracker name longer than 20 characters";
    if (m.channels < 1 || m.channels > kXmMaxChannels) return "channel count must be 1 to 32";
    if (m.speed < kXmMinSpeed || m.speed > kXmMaxSpeed) return "speed must be 1 to 31";
    if (m.bpm < kXmMinBpm || m.bpm > kXmMaxBpm) return "tempo must be 32 to 255";
    if (m.orders.empty() || m.orders.size() > size_t(kXmMaxOrders))
        return "order list must hold 1 to 256 entries";
    if (m.restartPosition < 0 || size_t(m.restartPosition) >= m.orders.size())
        return "restart position outside the order list";
    if (m.patterns.empty() || m.patterns.size() > size_t(kXmMaxPatterns))
        return "must have 1 to 256 patterns";
    for (size_t i = 0; i < m.orders.size(); ++i)
        if (m.orders[i] >= m.patterns.size()) return where("order", i) + " names a missing pattern";
    if (m.instruments.size() > size_t(kXmMaxInstruments)) return "more than 128 instruments";

    for (size_t p = 0; p < m.patterns.size(); ++p) {
        const XmPattern& pattern = m.patterns[p];
        const std::string place = where("pattern", p);
        if (pattern.rows < 1 || pattern.rows > kXmMaxRows) return place + ": row count must be 1 to 256";
        if (pattern.cells.size() != size_t(pattern.rows) * size_t(m.channels))
            return place + ": cell count does not match rows x channels";
        for (size_t c = 0; c < pattern.cells.size(); ++c) {
            const XmCell& cell = pattern.cells[c];
            const std::string cellPlace = place + " row " + std::to_string(c / m.channels) + " channel " +
                                          std::to_string(c % m.channels);
            if (cell.note > kXmKeyOff) return cellPlace + ": note out of range";
            if (cell.instrument > m.instruments.size()) return cellPlace + ": missing instrument";
            if ((cell.volume > 0 && cell.volume < kXmVolumeSet) ||
                (cell.volume > kXmVolumeSet + kXmMaxVolume && cell.volume < kXmVolumeFirstCommand))
                return cellPlace + ": invalid volume column";
            if (cell.effect > kXmMaxEffect) return cellPlace + ": unknown effect";
        }
    }
    for (size_t i = 0; i < m.instruments.size(); ++i) {
        const XmInstrument& ins = m.instruments[i];
        const std::string place = where("instrument", i + 1);
        if (ins.name.size() > size_t(kXmInstrumentNameLength))
            return place + ": name longer than 22 characters";
        if (ins.samples.size() > size_t(kXmMaxSamplesPerInstrument)) return place + ": more than 16 samples";
        if (ins.noteSamples.size() != size_t(kXmNoteCount)) return place + ": note map must have 96 entries";
        for (uint8_t s : ins.noteSamples)
            if (!ins.samples.empty() && s >= ins.samples.size())
                return place + ": note map names a missing sample";
        for (const auto* e : {&ins.volumeEnvelope, &ins.panningEnvelope}) {
            std::string error = checkEnvelope(
                *e, place + (e == &ins.volumeEnvelope ? " volume envelope" : " panning envelope"));
            if (!error.empty()) return error;
        }
        for (size_t s = 0; s < ins.samples.size(); ++s) {
            std::string error = checkSample(ins.samples[s], place + " " + where("sample", s));
            if (!error.empty()) return error;
        }
    }
    return {};
}

void writeHeader(ByteSink& out, const XmModule& m) {
    out.text(kXmSignature, sizeof kXmSignature - 1);
    out.text(m.name, kXmNameLength);
    out.u8(kXmEndOfText);
    out.text(m.trackerName, kXmTrackerNameLength);
    out.u16(kXmVersion);
    out.u32(kXmHeaderSize);
    out.u16(uint16_t(m.orders.size()));
    out.u16(uint16_t(m.restartPosition));
    out.u16(uint16_t(m.channels));
    out.u16(uint16_t(m.patterns.size()));
    out.u16(uint16_t(m.instruments.size()));
    out.u16(m.linearFrequencies ? kXmFlagLinear : 0);
    out.u16(uint16_t(m.speed));
    out.u16(uint16_t(m.bpm));
    for (int i = 0; i < kXmMaxOrders; ++i) out.u8(size_t(i) < m.orders.size() ? m.orders[size_t(i)] : 0);
}

void packCell(std::vector<uint8_t>& data, const XmCell& cell) {
    uint8_t mask = 0;
    if (cell.note) mask |= kXmPackNote;
    if (cell.instrument) mask |= kXmPackInstrument;
    if (cell.volume) mask |= kXmPackVolume;
    if (cell.effect) mask |= kXmPackEffect;
    if (cell.param) mask |= kXmPackParam;
    // A full cell is stored unpacked: five bytes, the note first (its top bit is clear).
    if (mask != kXmPackAll) data.push_back(kXmPacked | mask);
    if (mask & kXmPackNote) data.push_back(cell.note);
    if (mask & kXmPackInstrument) data.push_back(cell.instrument);
    if (mask & kXmPackVolume) data.push_back(cell.volume);
    if (mask & kXmPackEffect) data.push_back(cell.effect);
    if (mask & kXmPackParam) data.push_back(cell.param);
}

std::string writePattern(ByteSink& out, const XmPattern& pattern, size_t number) {
    std::vector<uint8_t> data;
    for (const XmCell& cell : pattern.cells) packCell(data, cell);
    if (data.size() > UINT16_MAX) return where("pattern", number) + ": packed data too large";
    out.u32(kXmPatternHeaderSize);
    out.u8(0); // packing type
    out.u16(uint16_t(pattern.rows));
    out.u16(uint16_t(data.size()));
    for (uint8_t b : data) out.u8(b);
    return {};
}

void writeEnvelopePoints(ByteSink& out, const XmEnvelope& e) {
    for (int i = 0; i < kXmMaxEnvelopePoints; ++i) {
        const bool used = size_t(i) < e.points.size();
        out.u16(used ? e.points[size_t(i)].frame : 0);
        out.u16(used ? e.points[size_t(i)].value : 0);
    }
}

uint8_t envelopeFlags(const XmEnvelope& e) {
    if (e.points.empty()) return 0;
    return uint8_t(kXmEnvelopeOn | (e.sustain ? kXmEnvelopeSustain : 0) | (e.loop ? kXmEnvelopeLoop : 0));
}

void writeSampleHeader(ByteSink& out, const XmSample& s) {
    const uint32_t bytesPerFrame = s.sixteenBit ? 2 : 1;
    const bool looped = s.loop != XmLoop::none;
    out.u32(uint32_t(s.frames.size()) * bytesPerFrame);
    out.u32(looped ? s.loopStart * bytesPerFrame : 0);
    out.u32(looped ? s.loopLength * bytesPerFrame : 0);
    out.u8(s.volume);
    out.u8(uint8_t(s.finetune));
    out.u8(uint8_t(uint8_t(s.loop) | (s.sixteenBit ? kXmSample16Bit : 0)));
    out.u8(s.panning);
    out.u8(uint8_t(s.relativeNote));
    out.u8(0); // reserved
    out.text(s.name, kXmSampleNameLength);
}

// Sample data is stored as differences between successive values.
void writeSampleData(ByteSink& out, const XmSample& s) {
    int16_t previous = 0;
    for (int16_t v : s.frames) {
        const uint16_t delta = uint16_t(uint16_t(v) - uint16_t(previous));
        if (s.sixteenBit)
            out.u16(delta);
        else
            out.u8(uint8_t(delta));
        previous = v;
    }
}

void writeInstrument(ByteSink& out, const XmInstrument& ins) {
    const size_t start = out.size();
    out.u32(kXmInstrumentHeaderSize);
    out.text(ins.name, kXmInstrumentNameLength);
    out.u8(0); // type
    out.u16(uint16_t(ins.samples.size()));
    out.u32(kXmSampleHeaderSize);
    for (uint8_t s : ins.noteSamples) out.u8(s);
    writeEnvelopePoints(out, ins.volumeEnvelope);
    writeEnvelopePoints(out, ins.panningEnvelope);
    out.u8(uint8_t(ins.volumeEnvelope.points.size()));
    out.u8(uint8_t(ins.panningEnvelope.points.size()));
    for (const auto* e : {&ins.volumeEnvelope, &ins.panningEnvelope}) {
        out.u8(e->sustainPoint);
        out.u8(e->loopStart);
        out.u8(e->loopEnd);
    }
    out.u8(envelopeFlags(ins.volumeEnvelope));
    out.u8(envelopeFlags(ins.panningEnvelope));
    out.u8(ins.vibratoType);
    out.u8(ins.vibratoSweep);
    out.u8(ins.vibratoDepth);
    out.u8(ins.vibratoRate);
    out.u16(ins.fadeout);
    out.u16(0); // reserved
    out.zeros(kXmInstrumentHeaderSize - (out.size() - start));
    for (const XmSample& s : ins.samples) writeSampleHeader(out, s);
    for (const XmSample& s : ins.samples) writeSampleData(out, s);
}

} // namespace

XmEncoding encodeXm(const XmModule& module) {
    XmEncoding result;
    result.error = checkModule(module);
    if (!result.ok()) return result;
    ByteSink out(result.bytes);
    writeHeader(out, module);
    for (size_t p = 0; p < module.patterns.size(); ++p) {
        result.error = writePattern(out, module.patterns[p], p);
        if (!result.ok()) {
            result.bytes.clear();
            return result;
        }
    }
    for (const XmInstrument& ins : module.instruments) writeInstrument(out, ins);
    return result;
}

std::string writeXmFile(const XmModule& module, const std::string& path) {
    XmEncoding encoded = encodeXm(module);
    if (!encoded.ok()) return path + ": " + encoded.error;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(encoded.bytes.data()), std::streamsize(encoded.bytes.size()));
    file.close();
    if (!file) return path + ": cannot write the file";
    return {};
}

} // namespace forge
