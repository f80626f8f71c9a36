// The thread that feeds one input of a child process, over a child that records, refuses or
// never takes what it is given.
#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>

#include "capture/stream_feeder.h"
#include "platform/child_process.h"
#include "watchdog.h"

namespace {

using namespace std::chrono_literals;

// A child whose inputs are strings, that can be made to refuse data or to take none at all
// until it is terminated.
class FakeChild : public ChildProcess {
public:
    enum class Mode { Take, Refuse, Hang } mode = Mode::Take;
    std::string received[2];
    bool closed[2] = {false, false};
    bool terminated = false;

    bool write(int input, const void* data, std::size_t bytes) override {
        std::unique_lock<std::mutex> lock(mutex);
        if (mode == Mode::Hang) changed.wait(lock, [this] { return terminated; });
        if (mode != Mode::Take || terminated || closed[input]) return false;
        received[input].append(static_cast<const char*>(data), bytes);
        return true;
    }
    void closeInput(int input) override {
        std::lock_guard<std::mutex> lock(mutex);
        closed[input] = true;
    }
    void terminate() override {
        std::lock_guard<std::mutex> lock(mutex);
        terminated = true;
        changed.notify_all();
    }
    bool wait(Exit&, Failure&) override { return true; }

    std::string input(int i) {
        std::lock_guard<std::mutex> lock(mutex);
        return received[i];
    }

private:
    std::mutex mutex;
    std::condition_variable changed;
};

} // namespace

TEST(StreamFeeder, WritesBlocksInOrderThroughItsPreparationAndEndsTheStreamAfterThem) {
    capturetest::Watchdog watchdog(60s, "StreamFeeder writing in order");
    FakeChild child;
    std::string prepared;
    StreamFeeder feeder(child, 1, 8, 10s, [&prepared](const StreamFeeder::Block& block, std::size_t& bytes) {
        prepared.assign(block.begin(), block.end());
        for (char& c : prepared) c = char(std::toupper(static_cast<unsigned char>(c)));
        bytes = prepared.size();
        return static_cast<const void*>(prepared.data());
    });
    // More than the budget in all, and one block larger than the whole budget.
    for (const char* word : {"abc", "defgh", "ijklmnopqrst", "u"})
        ASSERT_TRUE(feeder.push(word, std::strlen(word)));
    feeder.endStream();
    EXPECT_FALSE(feeder.push("late", 4)); // nothing after the end
    EXPECT_TRUE(feeder.finish());
    EXPECT_EQ(child.input(1), "ABCDEFGHIJKLMNOPQRSTU");
    EXPECT_TRUE(child.closed[1]);
    EXPECT_FALSE(child.closed[0]);
}

TEST(StreamFeeder, AChildThatRefusesOrTakesNothingFailsTheFeedInsteadOfHangingIt) {
    capturetest::Watchdog watchdog(60s, "StreamFeeder with a refusing or hung child");
    {
        FakeChild child;
        child.mode = FakeChild::Mode::Refuse;
        StreamFeeder feeder(child, 0, 4, 10s);
        feeder.push("abcd", 4);
        // The failure reaches the caller at the latest when it waits for the stream's end.
        EXPECT_FALSE(feeder.finish());
        EXPECT_FALSE(feeder.push("more", 4));
        EXPECT_FALSE(feeder.stalled());
    }
    {
        FakeChild child;
        child.mode = FakeChild::Mode::Hang;
        StreamFeeder feeder(child, 0, 4, 200ms);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(feeder.push("abcd", 4));  // queued; the thread then hangs in the write
        EXPECT_FALSE(feeder.push("efgh", 4)); // over the budget, and nothing moves: a stall
        EXPECT_TRUE(feeder.stalled());
        EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);
        EXPECT_FALSE(feeder.finish());
        // Terminating the child frees the thread, so the feeder can end.
        child.terminate();
    }
}
