#pragma once
// One input stream of a child process, written from a thread of its own. ffmpeg reads its inputs
// in the order its muxer wants them, so a writer that blocks on one stream while ffmpeg waits for
// the other hangs both; with a thread per stream each waits only for its own reader. The caller
// queues blocks and goes on (rendering the next frame while ffmpeg encodes this one); it waits
// only while more than the stream's budget is unwritten, and gives up when the child has taken
// nothing for the stall limit.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class ChildProcess;

class StreamFeeder {
public:
    using Block = std::vector<unsigned char>;
    // Turns a queued block into the bytes to write, on the feeder's own thread (the video's
    // enlarging and colour conversion run there); sets `bytes` and returns where they are.
    using Prepare = std::function<const void*(const Block& block, std::size_t& bytes)>;

    StreamFeeder(ChildProcess& child, int input, std::size_t budgetBytes,
                 std::chrono::milliseconds stallLimit, Prepare prepare = nullptr);
    // Ends the stream and the thread; the owner makes sure the thread is not blocked on the
    // child (finish(), or the child terminated).
    ~StreamFeeder();
    StreamFeeder(const StreamFeeder&) = delete;
    StreamFeeder& operator=(const StreamFeeder&) = delete;

    // Queues a copy of the bytes. False once a write failed or the child took nothing for the
    // stall limit.
    bool push(const void* data, std::size_t bytes);
    // No more data: the thread writes what is queued, then ends the stream. Returns at once, so
    // that every stream of the child can be ended before waiting for any.
    void endStream();
    // Waits until the stream has ended. False when a write failed or stalled; after a stall the
    // owner terminates the child, which frees the thread.
    bool finish();
    // True when the last failure was a stall: the child stopped taking data but did not go away.
    bool stalled() const;

private:
    void run();
    // Waits on `ready` while blocks keep being written; false (a stall) when none was written
    // for the stall limit.
    bool waitWhileWriting(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready);

    ChildProcess& child;
    const int input;
    const std::size_t budget;
    const std::chrono::milliseconds stallLimit;
    const Prepare prepare;

    mutable std::mutex mutex;
    std::condition_variable changed;
    std::deque<Block> queue;
    std::vector<Block> spare; // written blocks kept for reuse, so steady feeding allocates nothing
    std::size_t unwrittenBytes = 0;
    std::uint64_t blocksWritten = 0;
    bool failed = false;
    bool stall = false;
    bool ending = false;
    bool ended = false;
    std::thread thread;
};
