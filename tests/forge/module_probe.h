// Test helpers: load encoded module bytes with libopenmpt (keeping its log) and render them.
#pragma once

#include <libopenmpt/libopenmpt.hpp>

#include <cmath>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace forgetest {

constexpr int kRenderRate = 44100;

struct LoadedModule {
    std::ostringstream log; // libopenmpt's loader messages: empty for a clean file
    std::unique_ptr<openmpt::module> module;
};

inline std::unique_ptr<LoadedModule> loadModule(const std::vector<uint8_t>& bytes) {
    auto loaded = std::make_unique<LoadedModule>();
    loaded->module = std::make_unique<openmpt::module>(bytes, loaded->log);
    loaded->module->ctl_set_integer("dither", 0);
    return loaded;
}

// Mono render of the next `seconds` of the module (stops early at the song's end).
inline std::vector<float> renderMono(openmpt::module& module, double seconds) {
    std::vector<float> out(size_t(seconds * kRenderRate));
    size_t done = 0;
    while (done < out.size()) {
        const size_t n = module.read(kRenderRate, out.size() - done, out.data() + done);
        if (n == 0) break;
        done += n;
    }
    out.resize(done);
    return out;
}

inline double rms(const std::vector<float>& s, size_t begin, size_t end) {
    double sum = 0;
    if (end > s.size()) end = s.size();
    if (begin >= end) return 0;
    for (size_t i = begin; i < end; ++i) sum += double(s[i]) * s[i];
    return std::sqrt(sum / double(end - begin));
}

} // namespace forgetest
