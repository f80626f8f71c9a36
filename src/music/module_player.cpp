#include "music/module_player.h"

#include "core/read_file.h"
#include "music/xm_extent.h"

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <cstring>

namespace {

// Interpolation filter lengths of the module library: 1 takes the nearest sample, 0 its default.
constexpr int kNearestSample = 1;
constexpr int kDefaultFilter = 0;

// Pattern delays per row, read once at load (the sync table's walk over the same cells).
std::vector<std::vector<unsigned char>> readRowDelays(openmpt::module& module) {
    constexpr int kPatternDelay = 0xe; // extended command E, sub-command E: repeat the row x times
    std::vector<std::vector<unsigned char>> delays(module.get_num_patterns());
    for (int p = 0; p < static_cast<int>(delays.size()); ++p) {
        delays[p].assign(module.get_pattern_num_rows(p), 0);
        for (int r = 0; r < static_cast<int>(delays[p].size()); ++r)
            for (int c = 0; c < module.get_num_channels(); ++c) {
                if (module.format_pattern_row_channel_command(p, r, c, openmpt::module::command_effect) !=
                    "E")
                    continue;
                const int param =
                    module.get_pattern_row_channel_command(p, r, c, openmpt::module::command_parameter);
                if (param >> 4 == kPatternDelay)
                    delays[p][r] = std::max<unsigned char>(delays[p][r], param & 0xf);
            }
    }
    return delays;
}

} // namespace

ModulePlayer::ModulePlayer() : pending(kPendingRows) {}

void ModulePlayer::setQuickMix(bool quick) {
    quickMix = quick;
    if (module)
        module->set_render_param(openmpt::module::RENDER_INTERPOLATIONFILTER_LENGTH,
                                 quickMix ? kNearestSample : kDefaultFilter);
}

ModulePlayer::~ModulePlayer() = default;

bool ModulePlayer::load(const std::string& path, std::string& error) {
    std::vector<std::uint8_t> bytes;
    const ReadFileResult read = readWholeFile(path.c_str(), kMaxModuleBytes, bytes);
    switch (read.status) {
        case ReadFileStatus::Ok:
            return loadFromMemory(bytes, path, error);
        case ReadFileStatus::CannotOpen:
            error = "Unable to open file \"" + path + "\": " + std::strerror(read.systemError);
            return false;
        case ReadFileStatus::TooLarge:
            error = "Invalid module file \"" + path + "\": too large";
            return false;
        case ReadFileStatus::ReadError:
            break;
    }
    error = "Unable to read file \"" + path + "\"";
    return false;
}

bool ModulePlayer::loadFromMemory(const std::vector<std::uint8_t>& bytes, const std::string& name,
                                  std::string& error) {
    module.reset();
    // The module library would play a cut-short file with whatever survived; the show refuses it.
    if (const auto extent = xmDeclaredExtent(bytes.data(), bytes.size()); extent && *extent > bytes.size()) {
        error = "Invalid module file \"" + name + "\": the file is cut short";
        return false;
    }
    std::unique_ptr<openmpt::module> loadedModule;
    try {
        loadedModule = std::make_unique<openmpt::module>(bytes, discardedLog);
        if (loadedModule->get_num_orders() <= 0) {
            error = "Invalid module file \"" + name + "\": the song is empty";
            return false;
        }
        loadedModule->set_repeat_count(-1);
        // Identical samples every run: capture determinism and tests rely on it.
        loadedModule->ctl_set_integer("dither", 0);
        loadedModule->set_render_param(openmpt::module::RENDER_INTERPOLATIONFILTER_LENGTH,
                                       quickMix ? kNearestSample : kDefaultFilter);
        table = SyncTable(*loadedModule);
        rowDelays = readRowDelays(*loadedModule);
    } catch (const std::exception& e) {
        error = "Invalid module file \"" + name + "\": " + e.what();
        return false;
    }
    module = std::move(loadedModule);
    restart();
    return true;
}

void ModulePlayer::restart() {
    if (!module) return;
    module->set_position_order_row(0, 0);
    rendered = 0;
    lastOrder = lastRow = -1;
    lastRowFrame = 0;
    pendingHead = pendingCount = 0;
    current = PlayStatus{};
    board.publish(current);
}

// A row that follows itself (a one-row loop, a one-row song restarting) keeps the same position;
// it shows as the row lasting longer than its ticks allow. Returns the row's length when it did. The slack
// covers the chunk size and the player's rounding of tick lengths, far below any row's length.
std::uint64_t ModulePlayer::rowPlayedAgain(std::uint64_t frame, int pattern, int row) const {
    const int speed = module->get_current_speed();
    const int tempo = module->get_current_tempo();
    if (speed <= 0 || tempo <= 0) return 0;
    int delay = 0;
    if (pattern >= 0 && pattern < static_cast<int>(rowDelays.size()) && row >= 0 &&
        row < static_cast<int>(rowDelays[pattern].size()))
        delay = rowDelays[pattern][row];
    // A tick lasts 2.5 / tempo seconds.
    const std::uint64_t rowFrames =
        static_cast<std::uint64_t>(speed) * (1 + delay) * kAudioSampleRate * 5 / (2 * tempo);
    const std::uint64_t slack = 2 * kChunkFrames + speed * (1 + delay);
    return frame - lastRowFrame >= rowFrames + slack ? rowFrames : 0;
}

void ModulePlayer::noteRow(std::uint64_t frame) {
    const int order = module->get_current_order();
    const int row = module->get_current_row();
    const int pattern = module->get_current_pattern();
    if (order == lastOrder && row == lastRow) {
        const std::uint64_t length = rowPlayedAgain(frame, pattern, row);
        if (length == 0) return;
        lastRowFrame += length; // when the replay began, so late detections do not add up
    } else {
        lastRowFrame = frame;
    }
    lastOrder = order;
    lastRow = row;
    RowEvent event{frame, order, pattern, row};
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
        std::fill(out, out + frames * kAudioChannels, std::int16_t{0});
        return;
    }
    while (frames > 0) {
        noteRow(rendered);
        const std::size_t chunk = std::min<std::size_t>(frames, kChunkFrames);
        std::size_t got = module->read_interleaved_stereo(kAudioSampleRate, chunk, out);
        // A looping module never ends; should it stop anyway, the rest is silence.
        std::fill(out + got * kAudioChannels, out + chunk * kAudioChannels, std::int16_t{0});
        out += chunk * kAudioChannels;
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

double ModulePlayer::secondsAt(int order, int row) {
    return module ? module->set_position_order_row(order, row) : 0.0;
}
