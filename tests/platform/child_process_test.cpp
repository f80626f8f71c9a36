// What every child process backend (posix/, windows/) shares, with a probe in the encoder's place:
// every input arrives whole, in binary, at the descriptor the child's command line names, and
// each ends on its own; the exit code comes back; a program that is not there fails to start; a
// child that has gone fails a write instead of ending this process; and terminate() frees a write
// blocked on a child that reads nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "endtoend/program_run.h"
#include "platform/child_process.h"

namespace {

using endtoend::ScratchFolder;
using namespace std::chrono_literals;

const endtoend::fs::path kProbe = endtoend::builtProgram("child_probe");

// Bytes of every value, "\r\n" pairs and ^Z among them: what a text-mode pipe would change.
std::vector<std::uint8_t> pattern(std::size_t size, unsigned seed) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * seed + (i >> 8));
    for (std::size_t i = 0; i + 1 < size; i += 1000) bytes[i] = '\r', bytes[i + 1] = '\n';
    return bytes;
}

std::string line(const std::vector<std::uint8_t>& bytes) {
    unsigned long long sum = 0;
    for (std::uint8_t b : bytes) sum += b;
    return std::to_string(bytes.size()) + " " + std::to_string(sum) + "\n";
}

} // namespace

TEST(ChildProcess, FeedsEveryInputWholeEachEndingOnItsOwnAndGivesBackTheExitCode) {
    ScratchFolder scratch("child_inputs");
    const std::string report = (scratch.path / "report.txt").string();
    ChildProcess::Failure failure;
    const std::unique_ptr<ChildProcess> child =
        startChildProcess({kProbe.string(), report, "3", childInputName(0), childInputName(1)}, 2, failure);
    ASSERT_TRUE(child) << systemErrorText(failure.systemError);
    // The probe reads its first input to the end before the second: the second, larger than any
    // pipe, goes through only once the first has ended.
    const std::vector<std::uint8_t> video = pattern(3000000, 7), audio = pattern(5000000, 13);
    EXPECT_TRUE(child->write(0, video.data(), video.size()));
    child->closeInput(0);
    EXPECT_FALSE(child->write(0, video.data(), 1));
    EXPECT_TRUE(child->write(1, audio.data(), audio.size()));
    ChildProcess::Exit exit;
    ASSERT_TRUE(child->wait(exit, failure)) << systemErrorText(failure.systemError);
    EXPECT_TRUE(exit.exited);
    EXPECT_EQ(exit.code, 3);
    EXPECT_EQ(endtoend::asText(endtoend::readText(report)), line(video) + line(audio));
}

TEST(ChildProcess, AProgramThatIsNotThereFailsToStartWithTheSystemsWords) {
    ChildProcess::Failure failure;
    EXPECT_FALSE(startChildProcess({"hv-no-such-program"}, 1, failure));
    EXPECT_EQ(failure.step, ChildProcess::Failure::Step::Start);
    EXPECT_NE(failure.systemError, 0);
    EXPECT_FALSE(systemErrorText(failure.systemError).empty());
}

TEST(ChildProcess, AChildThatHasGoneFailsTheWriteAndThisProcessGoesOn) {
    ScratchFolder scratch("child_gone");
    ChildProcess::Failure failure;
    // The probe reads nothing and exits at once.
    const std::unique_ptr<ChildProcess> child =
        startChildProcess({kProbe.string(), (scratch.path / "report.txt").string(), "0"}, 1, failure);
    ASSERT_TRUE(child) << systemErrorText(failure.systemError);
    const std::vector<std::uint8_t> bytes = pattern(8000000, 3);
    EXPECT_FALSE(child->write(0, bytes.data(), bytes.size()));
    ChildProcess::Exit exit;
    ASSERT_TRUE(child->wait(exit, failure));
    EXPECT_TRUE(exit.exited);
    EXPECT_EQ(exit.code, 0);
}

TEST(ChildProcess, TerminateFreesAWriteBlockedOnAChildThatReadsNothing) {
    ScratchFolder scratch("child_terminate");
    ChildProcess::Failure failure;
    const std::unique_ptr<ChildProcess> child =
        startChildProcess({kProbe.string(), (scratch.path / "report.txt").string(), "sleep"}, 1, failure);
    ASSERT_TRUE(child) << systemErrorText(failure.systemError);
    bool written = true;
    std::thread writer([&] {
        const std::vector<std::uint8_t> bytes = pattern(8000000, 5);
        written = child->write(0, bytes.data(), bytes.size());
    });
    std::this_thread::sleep_for(100ms);
    child->terminate();
    writer.join();
    EXPECT_FALSE(written);
    ChildProcess::Exit exit;
    ASSERT_TRUE(child->wait(exit, failure));
    EXPECT_FALSE(exit.exited);
}
