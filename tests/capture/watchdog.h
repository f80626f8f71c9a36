#pragma once
// A deadline inside a test, beside ctest's own: a hang ends the test process with a message that
// names what hung, instead of a suite stopped by its timeout with nothing said. (Child processes
// die with the process.)
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace capturetest {

class Watchdog {
public:
    Watchdog(std::chrono::seconds limit, std::string what)
        : thread([this, limit, what] {
              std::unique_lock<std::mutex> lock(mutex);
              if (!done.wait_for(lock, limit, [this] { return finished; })) {
                  std::fprintf(stderr, "watchdog: %s did not finish within %lld s\n", what.c_str(),
                               static_cast<long long>(limit.count()));
                  std::fflush(stderr);
                  std::_Exit(1);
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            finished = true;
        }
        done.notify_all();
        thread.join();
    }

private:
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::thread thread;
};

} // namespace capturetest
