// Child processes through the POSIX backend, with the system's own programs as children: inputs
// that end one at a time, a program that is not there or not a program, a child ended from
// another thread, and the promises that it stays out of the terminal's process group and does
// not outlive its parent. (child_process_test.cpp checks what every backend shares.)
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/child_process.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ChildProcessTest : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() / ("hv_child_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Field `n` (from 1) of /proc/PID/stat, or empty once the process is gone.
    static std::string statField(long pid, int n) {
        std::istringstream in(readText("/proc/" + std::to_string(pid) + "/stat"));
        std::string field;
        for (int i = 0; i < n && in >> field;) ++i;
        return in ? field : std::string();
    }
};

} // namespace

TEST_F(ChildProcessTest, EachInputEndsOnItsOwnAndTheChildSeesItsEnd) {
    // The child reads its first input to the end before it even looks at the second one.
    const std::string first = (dir / "first").string(), second = (dir / "second").string();
    ChildProcess::Failure failure;
    auto child =
        startChildProcess({"sh", "-c", "cat <&3 >\"$0\"; cat <&4 >\"$1\"", first, second}, 2, failure);
    ASSERT_TRUE(child) << failure.systemError;
    ASSERT_TRUE(child->write(0, "one", 3));
    child->closeInput(0);
    EXPECT_FALSE(child->write(0, "late", 4));
    const std::string big(1 << 21, 'x'); // more than a pipe holds: only taken once the first has ended
    ASSERT_TRUE(child->write(1, big.data(), big.size()));
    ChildProcess::Exit exit;
    ASSERT_TRUE(child->wait(exit, failure));
    EXPECT_TRUE(exit.exited);
    EXPECT_EQ(exit.code, 0);
    EXPECT_EQ(readText(first), "one");
    EXPECT_EQ(readText(second), big);
}

TEST_F(ChildProcessTest, AMissingProgramFailsToStartWithTheSystemsReason) {
    ChildProcess::Failure failure;
    EXPECT_FALSE(startChildProcess({"hv-no-such-program-anywhere"}, 1, failure));
    EXPECT_EQ(failure.step, ChildProcess::Failure::Step::Start);
    EXPECT_EQ(failure.systemError, ENOENT);
    EXPECT_FALSE(startChildProcess({(dir / "not-there").string()}, 1, failure));
    EXPECT_EQ(failure.systemError, ENOENT);
    // A file that is not a program fails too, before anything runs.
    std::ofstream(dir / "text") << "not a program";
    fs::permissions(dir / "text", fs::perms::owner_all);
    EXPECT_FALSE(startChildProcess({(dir / "text").string()}, 1, failure));
    EXPECT_EQ(failure.systemError, ENOEXEC);
}

TEST_F(ChildProcessTest, TheChildHasAGroupOfItsOwnAndDiesWithItsParent) {
    // A parent of our own (a fork of this test) starts the child, says its number, and is killed.
    const std::string pidFile = (dir / "pid").string();
    const pid_t parent = fork();
    ASSERT_GE(parent, 0);
    if (parent == 0) {
        ChildProcess::Failure failure;
        auto child = startChildProcess(
            {"sh", "-c", "echo $$ >\"$0\".new && mv \"$0\".new \"$0\" && exec sleep 600", pidFile}, 1,
            failure);
        if (!child) _exit(3);
        for (;;) pause();
    }
    long pid = 0;
    for (int i = 0; i < 500 && pid == 0; ++i) {
        std::this_thread::sleep_for(10ms);
        std::istringstream(readText(pidFile)) >> pid;
    }
    ASSERT_GT(pid, 0) << "the child never started";
    // Field 5 of its status is its process group: its own, not the test's.
    EXPECT_EQ(statField(pid, 5), std::to_string(pid));
    EXPECT_NE(statField(pid, 5), std::to_string(getpgrp()));

    kill(parent, SIGKILL);
    int status = 0;
    waitpid(parent, &status, 0);
    // Gone, or a zombie waiting to be collected by whoever inherited it.
    bool gone = false;
    for (int i = 0; i < 500 && !gone; ++i) {
        const std::string state = statField(pid, 3);
        gone = state.empty() || state == "Z";
        if (!gone) std::this_thread::sleep_for(10ms);
    }
    EXPECT_TRUE(gone) << "child " << pid << " outlived its parent";
    if (!gone) kill(static_cast<pid_t>(pid), SIGKILL);
}
