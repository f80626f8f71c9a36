#include "platform/module_player.h"

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

ModulePlayer::ModulePlayer() : pending(kPendingRows) {}

ModulePlayer::~ModulePlayer() = default;

bool ModulePlayer::load(const std::string& path, std::string& error) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        error = "Unable to open file \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    std::streamoff size = file.tellg();
    if (size < 0 || static_cast<std::uint64_t>(size) > kMaxModuleBytes) {
        error = "Invalid module file \"" + path + "\": too large";
        return false;
    }
    std::vector<char> bytes(static_cast<std::size_t>(size));
    file.seekg(0);
    if (!file.read(bytes.data(), size)) {
        error = "Unable to read file \"" + path + "\"";
        return false;
    }
    return loadFromMemory(bytes, path, error);
}

bool ModulePlayer::loadFromMemory(const std::vector<char>& bytes, const std::string& name,
                                  std::string& error) {
    module.reset();
    std::unique_ptr<openmpt::module> loadedModule;
    try {
        // libopenmpt's load log is dropped: a failure comes back as the exception's text.
        std::ostringstream log;
        loadedModule = std::make_unique<openmpt::module>(bytes, log);
    } catch (const std::exception& e) {
        error = "Invalid module file \"" + name + "\": " + e.what();
        return false;
    }
    if (loadedModule->get_num_orders() <= 0) {
        error = "Invalid module file \"" + name + "\": the song is empty";
        return false;
    }
    loadedModule->set_repeat_count(-1);
    // Identical samples every run: capture determinism and tests rely on it.
    loadedModule->ctl_set_integer("dither", 0);
    table = SyncTable(*loadedModule);
    module = std::move(loadedModule);
    restart();
    return true;
}

void ModulePlayer::restart() {
    if (!module) return;
    module->set_position_order_row(0, 0);
    rendered = 0;
    lastOrder = lastRow = -1;
    pendingHead = pendingCount = 0;
    current = PlayStatus{};
    board.publish(current);
}

void ModulePlayer::noteRow(std::uint64_t frame) {
    const int order = module->get_current_order();
    const int row = module->get_current_row();
    if (order == lastOrder && row == lastRow) return;
    lastOrder = order;
    lastRow = row;
    RowEvent event{frame, order, module->get_current_pattern(), row};
    if (pendingCount == kPendingRows) {
        // Nobody is listening fast enough: hear the oldest row now rather than lose its syncs.
        publish(pending[pendingHead]);
        pendingHead = (pendingHead + 1) % kPendingRows;
        --pendingCount;
    }
    pending[(pendingHead + pendingCount) % kPendingRows] = event;
    ++pendingCount;
}

void ModulePlayer::render(std::int16_t* out, std::size_t frames) {
    if (!module) {
        std::fill(out, out + frames * kChannels, std::int16_t{0});
        return;
    }
    while (frames > 0) {
        noteRow(rendered);
        const std::size_t chunk = std::min<std::size_t>(frames, kChunkFrames);
        std::size_t got = module->read_interleaved_stereo(kSampleRate, chunk, out);
        // A looping module never ends; should it stop anyway, the rest is silence.
        std::fill(out + got * kChannels, out + chunk * kChannels, std::int16_t{0});
        out += chunk * kChannels;
        frames -= chunk;
        rendered += chunk;
    }
}

void ModulePlayer::publish(const RowEvent& event) {
    current.position = event.order;
    current.pattern = event.pattern;
    current.row = event.row;
    SyncTable::Values syncs = table.at(event.pattern, event.row);
    if (!syncs.empty()) {
        current.syncValue = *(syncs.end - 1);
        current.syncCount += syncs.size();
    }
    board.publish(current);
    if (onSync)
        for (const int* v = syncs.begin; v != syncs.end; ++v) onSync(*v);
}

void ModulePlayer::hear(std::uint64_t frame) {
    while (pendingCount > 0 && pending[pendingHead].frame <= frame) {
        publish(pending[pendingHead]);
        pendingHead = (pendingHead + 1) % kPendingRows;
        --pendingCount;
    }
}

double ModulePlayer::durationSeconds() const {
    return module ? module->get_duration_seconds() : 0.0;
}
