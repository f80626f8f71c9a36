// The whole show as a person receives it: the capture program plays the real soundtrack from the
// loading screen to the end marker, at a reduced frame rate, and its frame log is checked against
// the music's schedule and against checksums of frames that were looked at.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "program_run.h"
#include "shell/effect_registry.h"
#include "shell/timeline.h"
#include "xmsync/sync_listing.h"

using namespace endtoend;

namespace {

constexpr int kFps = 5;

struct LogLine {
    long frame = 0, musicFrame = 0;
    int syncValue = 0, syncCount = 0;
    std::string checksum, effect;
};

std::vector<LogLine> parseLog(const std::string& text) {
    std::vector<LogLine> lines;
    std::istringstream in(text);
    std::string row;
    while (std::getline(in, row)) {
        if (row.empty() || row[0] == '#') continue;
        std::istringstream fields(row);
        LogLine line;
        fields >> line.frame >> line.musicFrame >> line.syncValue >> line.syncCount >> line.checksum;
        std::getline(fields >> std::ws, line.effect);
        lines.push_back(line);
    }
    return lines;
}

// The timeline: which effect each sync value starts, in the order the music brings them.
const EffectSlot* slotFor(int syncValue) {
    for (const EffectSlot& slot : showEffects())
        if (slot.syncValue == syncValue) return &slot;
    return nullptr;
}

// Frames looked at in a capture at 5 frames per second, by written frame number (the loading
// screen takes frames 0 to 13, so music frame m is written frame 14 + m): the loading screen with
// its full bar, then a moment of each effect. The same frames come out of the gcc and the clang
// builds, and of the Windows and web builds: the effects' maths is the show's own
// (core/portable_math.h), not the C library's.
const std::map<long, std::string> kLookedAt = {
    {12, "32b5c9edeb7a5553"},        // loading screen with all twelve blocks
    {14 + 10, "190b27ada096c48f"},   // opening picture fading in (2 s)
    {14 + 30, "4e0d798e3ac5f477"},   // opening picture under the embossed band (6 s)
    {14 + 225, "0b790772d1d0fdbf"},  // credits, third page (45 s)
    {14 + 460, "926188ff319f8fa7"},  // first zoom (92 s)
    {14 + 530, "fa5d1cdf7a4c8cd2"},  // first warp (106 s)
    {14 + 660, "2b1cc9c913604442"},  // second warp (132 s)
    {14 + 710, "aa2cb69452f46b80"},  // second zoom (142 s)
    {14 + 790, "97cbb26b5d658d7c"},  // tunnel (158 s)
    {14 + 875, "fb6c3673cfa98bd7"},  // rippling surface with three labels (175 s)
    {14 + 950, "3685d69efd83bafe"},  // gold 3D scene (190 s)
    {14 + 990, "7cb28bd762d58d84"},  // gold 3D scene leaving trails (198 s)
    {14 + 1060, "68b7cc79fc2f7156"}, // metaball scene (212 s)
    {14 + 1110, "b8b3553649ebd59a"}, // double tunnel (222 s)
    {14 + 1200, "e28eac64be5e4238"}, // closing picture (240 s)
};

} // namespace

TEST(WholeShow, EveryEffectStartsAtItsSyncInOrderAndTheShowEndsOn128) {
    ScratchFolder scratch("whole_show");
    const fs::path log = scratch.path / "show.log";
    const ProgramRun run =
        runProgram(captureProgram(), {"--fps", std::to_string(kFps), "--quiet", "--log", log.string()},
                   scratch.path, std::chrono::seconds(600));
    ASSERT_TRUE(run.exited) << describe(run);
    ASSERT_EQ(run.exitCode, 0) << describe(run);
    const std::vector<LogLine> lines = parseLog(asText(readText(log)));
    ASSERT_FALSE(lines.empty());
    std::printf("whole show at %d fps: %zu frames in %.1f s\n", kFps, lines.size(), run.seconds);

    // The music's schedule, heard through the show's own player.
    const xmsync::SyncListing listing = xmsync::listSyncs("data/halcyver.xm");
    ASSERT_TRUE(listing.error.empty()) << listing.error;
    ASSERT_TRUE(listing.endMarker);
    std::vector<xmsync::HeardSync> starts;
    for (const xmsync::HeardSync& sync : listing.syncs)
        if (slotFor(sync.value)) starts.push_back(sync);
    std::vector<int> startValues;
    for (const xmsync::HeardSync& sync : starts) startValues.push_back(sync.value);
    EXPECT_EQ(startValues, (std::vector<int>{2, 4, 10, 16, 18, 22, 32, 36, 48, 52, 58, 74}));

    // Each start comes on the frame whose sound holds its row, and its effect is on screen there.
    std::vector<std::string> expectedOrder;
    std::size_t at = 0;
    for (const xmsync::HeardSync& sync : starts) {
        const EffectSlot* slot = slotFor(sync.value);
        ASSERT_NE(slot->effect, nullptr) << slot->name << " is not built";
        while (at < lines.size() && !(lines[at].syncValue == sync.value && lines[at].musicFrame >= 0)) ++at;
        ASSERT_LT(at, lines.size()) << "sync " << sync.value << " never reached the show";
        EXPECT_EQ(lines[at].musicFrame, static_cast<long>(sync.seconds * kFps)) << "sync " << sync.value;
        EXPECT_EQ(lines[at].effect, slot->name) << "at sync " << sync.value;
        expectedOrder.push_back(slot->name);
    }
    // All twelve, each once, nothing else on screen, and nothing before the first sync.
    EXPECT_EQ(expectedOrder.size(), 12u);
    std::vector<std::string> seen;
    for (const LogLine& line : lines)
        if (line.effect != "-" && (seen.empty() || seen.back() != line.effect)) seen.push_back(line.effect);
    EXPECT_EQ(seen, expectedOrder);

    // The end marker is the last frame drawn.
    EXPECT_EQ(lines.back().syncValue, kEndOfShowSync);
    EXPECT_EQ(lines.back().musicFrame, static_cast<long>(listing.seconds * kFps));

    std::string actual;
    for (const auto& [frame, checksum] : kLookedAt) {
        ASSERT_LT(static_cast<std::size_t>(frame), lines.size());
        EXPECT_EQ(lines[frame].checksum, checksum) << "frame " << frame << " (" << lines[frame].effect << ")";
        actual += "{" + std::to_string(frame) + ", \"" + lines[frame].checksum + "\"}  " +
                  lines[frame].effect + "\n";
    }
    if (HasFailure()) std::printf("checksums of this run:\n%s", actual.c_str());
}
