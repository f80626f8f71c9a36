// The soundtrack's timeline and levels as the show's player hears them: every effect gets the
// time its motion needs, the pages and fades start where the effects expect them, the mix never
// clips and never falls silent.
#include "forge/music/soundtrack.h"
#include "forge/test_files.h"
#include "music/module_player.h"
#include "xmsync/sync_listing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

using xmsync::HeardSync;

namespace {

// What the effects need (seconds).
constexpr double kOpeningFadeIn = 4.0;
constexpr double kBandCrossing = (320 + 50) / 62.5; // the embossed band at 62.5 pixels a second
constexpr double kFlowerOpens = 11.0;
constexpr double kFirstZoomTravel = 8.0, kFirstZoomCrossFade = 3.0;
constexpr double kFirstWarpEdge = 6.5;
constexpr double kSecondWarpEdge = 19.0;
constexpr double kGoldBeforeTrails = 10.0, kTrailsBeforeRemoval = 8.0;
constexpr double kShortestEffect = 5.0;
constexpr int kMinimumLabels = 10;
constexpr int kRowsPerBeat = 4;
constexpr int kPositionsPerPage = 4;
constexpr double kShortestSong = 210, kLongestSong = 270; // 3.5 to 4.5 minutes

constexpr int kNext = xmsync::kNextPhase;
constexpr int kStarts[] = {2, 4, 10, 16, 18, 22, 32, 36, 48, 52, 58, 74};

// Peak, mean square and the longest run of silence of interleaved 16-bit stereo.
class LevelMeter {
public:
    void add(const std::int16_t* frames, std::size_t count) {
        for (std::size_t i = 0; i < count * kAudioChannels; ++i) {
            const double v = frames[i] / kFullScale;
            peak = std::max(peak, std::fabs(v));
            sumSquares += v * v;
            windowSquares += v * v;
        }
        samples += long(count * kAudioChannels);
        windowFrames += int(count);
        if (windowFrames < kWindowFrames) return;
        const bool silent = std::sqrt(windowSquares / (windowFrames * kAudioChannels)) < kSilence;
        silentRun = silent ? silentRun + double(windowFrames) / kAudioSampleRate : 0;
        longestSilence = std::max(longestSilence, silentRun);
        windowSquares = 0;
        windowFrames = 0;
    }
    double rmsDb() const { return 10 * std::log10(sumSquares / double(samples)); }

    static constexpr double kFullScale = 32768.0;
    static constexpr int kWindowFrames = kAudioSampleRate / 100; // 10 ms
    static constexpr double kSilence = 0.001;                    // -60 dBFS
    double peak = 0, sumSquares = 0, longestSilence = 0;
    long samples = 0;

private:
    double windowSquares = 0, silentRun = 0;
    int windowFrames = 0;
};

struct Heard {
    xmsync::SyncListing listing;
    LevelMeter levels; // of what the player rendered up to the end marker
};

const Heard& heard() {
    static const Heard result = [] {
        Heard h;
        h.listing = xmsync::listSyncs(
            forge_test::kDataDir + "/" + forge::kSoundtrackFileName,
            [&h](const std::int16_t* frames, std::size_t count) { h.levels.add(frames, count); });
        return h;
    }();
    return result;
}

const std::vector<HeardSync>& syncs() {
    return heard().listing.syncs;
}

// Index of the first sync with the value, at or after `from`.
size_t find(int value, size_t from = 0) {
    for (size_t i = from; i < syncs().size(); ++i)
        if (syncs()[i].value == value) return i;
    return syncs().size();
}

// The pacing syncs between an effect's start and the next start.
std::vector<HeardSync> pacing(int effect) {
    std::vector<HeardSync> out;
    const size_t start = find(effect);
    for (size_t i = start + 1; i < syncs().size(); ++i) {
        if (std::find(std::begin(kStarts), std::end(kStarts), syncs()[i].value) != std::end(kStarts) ||
            syncs()[i].value == xmsync::kEndMarker)
            break;
        out.push_back(syncs()[i]);
    }
    return out;
}

const HeardSync& nextStart(int effect) {
    size_t i = find(effect) + 1 + pacing(effect).size();
    return syncs()[std::min(i, syncs().size() - 1)];
}

const HeardSync& at(int value) {
    return syncs()[std::min(find(value), syncs().size() - 1)];
}

} // namespace

// One test case: each case runs in a process of its own and would play the whole song again.
TEST(SoundtrackSchedule, GivesEveryEffectTheTimeAndRowsItNeeds) {
    // Every effect in turn, ending before the song repeats.
    ASSERT_EQ(heard().listing.error, "");
    ASSERT_TRUE(heard().listing.endMarker) << "no end marker before the song repeats";
    ASSERT_FALSE(syncs().empty());
    EXPECT_EQ(syncs().front().value, 2);
    EXPECT_EQ(syncs().front().seconds, 0.0);
    std::vector<int> starts;
    for (const HeardSync& s : syncs())
        if (std::find(std::begin(kStarts), std::end(kStarts), s.value) != std::end(kStarts))
            starts.push_back(s.value);
    EXPECT_EQ(starts, std::vector<int>(std::begin(kStarts), std::end(kStarts)));
    EXPECT_EQ(syncs().back().value, xmsync::kEndMarker);
    EXPECT_GE(heard().listing.seconds, kShortestSong);
    EXPECT_LE(heard().listing.seconds, kLongestSong);
    // The loop acts once per frame with the value current then: two syncs on a row would lose one.
    std::set<std::pair<int, int>> rows;
    for (const HeardSync& s : syncs())
        EXPECT_TRUE(rows.insert({s.order, s.row}).second) << s.order << ":" << s.row;
    for (int effect : kStarts)
        EXPECT_GE(nextStart(effect).seconds - at(effect).seconds, kShortestEffect) << "effect " << effect;

    // The opening's band and the credits' pages.
    const std::vector<HeardSync> band = pacing(2);
    ASSERT_EQ(band.size(), 1u);
    EXPECT_EQ(band[0].value, 3);
    EXPECT_GE(band[0].seconds - at(2).seconds, kOpeningFadeIn);
    EXPECT_GE(at(4).seconds - band[0].seconds, kBandCrossing);

    const std::vector<HeardSync> pages = pacing(4);
    ASSERT_EQ(pages.size(), 3u);
    for (const HeardSync& p : pages) {
        EXPECT_EQ(p.value, kNext);
        EXPECT_EQ(p.row, 0);
    }
    EXPECT_GE(pages[0].seconds - at(4).seconds, kFlowerOpens);
    // Page 1 slides over one pattern; pages 2 and 3 pick their lines by position mod 4.
    EXPECT_EQ(pages[1].order, pages[0].order + 1);
    EXPECT_EQ(pages[1].order % kPositionsPerPage, 0);
    EXPECT_EQ(pages[2].order, pages[1].order + kPositionsPerPage);
    EXPECT_EQ(at(10).order, pages[2].order + kPositionsPerPage);
    EXPECT_EQ(at(10).row, 0);

    // Zooms, warps and the tunnel.
    const std::vector<HeardSync> zoom = pacing(10);
    ASSERT_EQ(zoom.size(), 1u);
    EXPECT_GE(zoom[0].seconds - at(10).seconds, kFirstZoomTravel);
    EXPECT_GE(at(16).seconds - zoom[0].seconds, kFirstZoomCrossFade);
    EXPECT_TRUE(pacing(16).empty());
    EXPECT_GE(at(18).seconds - at(16).seconds, kFirstWarpEdge);

    // Fades run over one pattern by row: each starts at row 0 and the next effect one position on.
    const std::vector<HeardSync> warpFade = pacing(18);
    ASSERT_EQ(warpFade.size(), 1u);
    EXPECT_GE(warpFade[0].seconds - at(18).seconds, kSecondWarpEdge);
    EXPECT_EQ(warpFade[0].row, 0);
    EXPECT_EQ(at(22).order, warpFade[0].order + 1);
    EXPECT_EQ(at(22).row, 0);
    const std::vector<HeardSync> zoomFade = pacing(22);
    ASSERT_EQ(zoomFade.size(), 1u);
    EXPECT_EQ(zoomFade[0].row, 0);
    EXPECT_GT(zoomFade[0].order, at(22).order);
    EXPECT_EQ(at(32).order, zoomFade[0].order + 1);
    EXPECT_EQ(at(32).row, 0);
    const std::vector<HeardSync> logo = pacing(32);
    ASSERT_GE(logo.size(), 1u);
    EXPECT_EQ(logo[0].value, kNext);

    // The labels on the beat, the gold scene's phases.
    const std::vector<HeardSync> labels = pacing(36);
    EXPECT_GE(int(labels.size()), kMinimumLabels);
    for (const HeardSync& l : labels) {
        EXPECT_EQ(l.value, kNext);
        EXPECT_EQ(l.row % kRowsPerBeat, 0) << "row " << l.row;
    }
    const std::vector<HeardSync> gold = pacing(48);
    ASSERT_EQ(gold.size(), 2u);
    EXPECT_EQ(gold[0].value, 50);
    EXPECT_EQ(gold[1].value, 50);
    EXPECT_GE(gold[0].seconds - at(48).seconds, kGoldBeforeTrails);
    EXPECT_GE(gold[1].seconds - gold[0].seconds, kTrailsBeforeRemoval);
    for (int quiet : {52, 58, 74}) EXPECT_TRUE(pacing(quiet).empty()) << quiet;
}

TEST(SoundtrackLevels, NeverClipsSitsBetweenMinus20AndMinus12DbAndNeverFallsSilent) {
    const LevelMeter& levels = heard().levels;
    ASSERT_GT(levels.samples, 0);
    EXPECT_LT(levels.peak, 0.98);
    EXPECT_GE(levels.rmsDb(), -20.0);
    EXPECT_LE(levels.rmsDb(), -12.0);
    EXPECT_LE(levels.longestSilence, 1.0);
}
