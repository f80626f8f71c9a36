// Writes the seed corpus of the module-check fuzz target with the forge's XM writer: a module
// with sync commands on several rows and channels, one with a sampled instrument (so the extent
// check walks instrument and sample headers), and the same cut short. DIR/seeds holds them and
// DIR/work, emptied, takes the new inputs of a run.
#include "forge/xm/xm_module.h"
#include "forge/xm/xm_writer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

namespace {

forge::XmModule syncs() {
    forge::XmModule m;
    m.channels = 2;
    for (int p = 0; p < 2; ++p) {
        const int index = m.addPattern(8);
        forge::XmCell& cell = m.patterns[index].at(p + 1, p, m.channels);
        cell.effect = forge::kXmEffectSync;
        cell.param = static_cast<uint8_t>(10 + p);
    }
    forge::XmCell& delay = m.patterns[0].at(3, 1, m.channels);
    delay.effect = forge::kXmEffectExtended;
    delay.param = 0xe2;
    m.orders = {0, 1, 0};
    return m;
}

forge::XmModule sampled() {
    forge::XmModule m = syncs();
    forge::XmInstrument instrument;
    instrument.name = "tone";
    forge::XmSample sample;
    sample.frames.assign(32, 0);
    for (std::size_t i = 0; i < sample.frames.size(); ++i) sample.frames[i] = static_cast<int16_t>(i * 512);
    instrument.samples.push_back(sample);
    m.instruments.push_back(instrument);
    forge::XmCell& note = m.patterns[1].at(0, 0, m.channels);
    note.note = 49;
    note.instrument = 1;
    return m;
}

bool write(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (out) return true;
    std::fprintf(stderr, "write_xm_seeds: cannot write %s\n", file.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_xm_seeds DIR\n");
        return 2;
    }
    const std::filesystem::path dir = std::filesystem::path(argv[1]) / "seeds";
    const std::filesystem::path work = std::filesystem::path(argv[1]) / "work";
    std::error_code ec;
    std::filesystem::remove_all(dir, ec); // start from the seeds alone, not last run's finds
    std::filesystem::remove_all(work, ec);
    std::filesystem::create_directories(dir, ec);
    if (!ec) std::filesystem::create_directories(work, ec);
    if (ec) {
        std::fprintf(stderr, "write_xm_seeds: cannot create %s: %s\n", argv[1], ec.message().c_str());
        return 1;
    }
    const forge::XmEncoding plain = forge::encodeXm(syncs());
    const forge::XmEncoding withSample = forge::encodeXm(sampled());
    if (!plain.error.empty() || !withSample.error.empty()) {
        std::fprintf(stderr, "write_xm_seeds: %s%s\n", plain.error.c_str(), withSample.error.c_str());
        return 1;
    }
    std::vector<std::uint8_t> cut = withSample.bytes;
    cut.resize(cut.size() - 20);
    return write(dir / "syncs.xm", plain.bytes) && write(dir / "sampled.xm", withSample.bytes) &&
                   write(dir / "cut.xm", cut)
               ? 0
               : 1;
}
