#include "capture/stream_feeder.h"

#include <cstring>

#include "platform/child_process.h"

namespace {
// Blocks kept for reuse: enough for a steady stream, so a long queue does not stay allocated.
constexpr std::size_t kSpareBlocks = 4;
} // namespace

StreamFeeder::StreamFeeder(ChildProcess& c, int streamInput, std::size_t budgetBytes,
                           std::chrono::milliseconds limit, Prepare prepareBlock)
    : child(c), input(streamInput), budget(budgetBytes), stallLimit(limit), prepare(std::move(prepareBlock)),
      thread([this] { run(); }) {}

StreamFeeder::~StreamFeeder() {
    endStream();
    thread.join();
}

void StreamFeeder::run() {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        changed.wait(lock, [this] { return !queue.empty() || ending; });
        if (queue.empty()) {
            child.closeInput(input);
            ended = true;
            changed.notify_all();
            return;
        }
        Block block = std::move(queue.front());
        queue.pop_front();
        lock.unlock();
        std::size_t bytes = block.size();
        const void* data = prepare ? prepare(block, bytes) : block.data();
        const bool written = child.write(input, data, bytes);
        lock.lock();
        unwrittenBytes -= block.size();
        ++blocksWritten;
        if (!written) {
            failed = true;
            // Nothing more will reach the child: what is queued is dropped.
            queue.clear();
            unwrittenBytes = 0;
        }
        if (spare.size() < kSpareBlocks) spare.push_back(std::move(block));
        changed.notify_all();
    }
}

bool StreamFeeder::waitWhileWriting(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready) {
    while (!ready()) {
        const std::uint64_t before = blocksWritten;
        if (!changed.wait_for(lock, stallLimit, [&] { return ready() || blocksWritten != before; })) {
            failed = stall = true;
            return false;
        }
    }
    return true;
}

bool StreamFeeder::push(const void* data, std::size_t bytes) {
    std::unique_lock<std::mutex> lock(mutex);
    // A block larger than the whole budget still goes, alone.
    if (!waitWhileWriting(lock,
                          [&] { return failed || unwrittenBytes == 0 || unwrittenBytes + bytes <= budget; }))
        return false;
    if (failed || ending) return false;
    Block block;
    if (!spare.empty()) {
        block = std::move(spare.back());
        spare.pop_back();
    }
    unwrittenBytes += bytes;
    lock.unlock();
    // The copy is made outside the lock, so the feeder's bookkeeping never waits for it.
    block.resize(bytes);
    std::memcpy(block.data(), data, bytes);
    lock.lock();
    // A write that failed meanwhile has dropped the queue and its count: this block goes nowhere.
    if (failed) return false;
    queue.push_back(std::move(block));
    changed.notify_all();
    return true;
}

void StreamFeeder::endStream() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        ending = true;
    }
    changed.notify_all();
}

bool StreamFeeder::finish() {
    endStream();
    std::unique_lock<std::mutex> lock(mutex);
    return waitWhileWriting(lock, [this] { return ended; }) && !failed;
}

bool StreamFeeder::stalled() const {
    std::lock_guard<std::mutex> lock(mutex);
    return stall;
}
