#pragma once
// What every program of the project answers on its command line, checked alike for each: --help
// on standard output with code 0, --version with the project's version, usage errors on standard
// error (the option, the value, what it must be, then a usage hint) with code 2, and failures
// that name the program, the file and the reason, with code 1.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/version.h"
#include "program_run.h"

namespace endtoend {

// A tool runs briefly: a minute is a hang.
constexpr std::chrono::seconds kToolDeadline{60};

inline ProgramRun runTool(const std::string& name, const std::vector<std::string>& args,
                          const fs::path& scratch) {
    return runProgram(builtProgram(name), args, scratch, kToolDeadline);
}

inline void expectHelpAndVersion(const std::string& name, const std::string& usageLine,
                                 const fs::path& scratch) {
    ProgramRun run = runTool(name, {"--help"}, scratch);
    EXPECT_EQ(run.exitCode, 0) << describe(run);
    const std::string help = asText(run.out);
    EXPECT_EQ(help.substr(0, help.find('\n') + 1), usageLine + "\n") << describe(run);
    EXPECT_EQ(run.err, "");
    run = runTool(name, {"--version"}, scratch);
    EXPECT_EQ(run.exitCode, 0) << describe(run);
    EXPECT_EQ(asText(run.out), name + " " + projectVersion() + "\n");
}

// A usage error: nothing on standard output, `message` after the program's name, then the hint.
inline void expectUsageError(const std::string& name, const std::vector<std::string>& args,
                             const std::string& message, const fs::path& scratch) {
    const ProgramRun run = runTool(name, args, scratch);
    EXPECT_EQ(run.exitCode, 2) << describe(run);
    EXPECT_EQ(run.out, "") << describe(run);
    EXPECT_EQ(run.err.rfind(name + ": " + message + "\nusage: " + name, 0), 0u) << describe(run);
    EXPECT_NE(run.err.find("(--help for more)\n"), std::string::npos) << describe(run);
}

// The whole command line of a tool that takes exactly one argument, ARG: its help and version,
// an unknown option, no argument, a second argument, and "--help" never taken for the argument.
inline void expectOneArgumentCommandLine(const std::string& name, const std::string& argName,
                                         const fs::path& scratch) {
    expectHelpAndVersion(name, "usage: " + name + " " + argName, scratch);
    expectUsageError(name, {"--frobnicate", "x"}, "unknown option --frobnicate", scratch);
    expectUsageError(name, {}, "missing " + argName, scratch);
    expectUsageError(name, {"a", "b"}, "unexpected argument 'b'", scratch);
    EXPECT_FALSE(fs::exists(scratch / "--help"));
}

// A failure: code 1 and `message` on standard error after the program's name.
inline void expectFailure(const std::string& name, const std::vector<std::string>& args,
                          const std::string& message, const fs::path& scratch) {
    const ProgramRun run = runTool(name, args, scratch);
    EXPECT_EQ(run.exitCode, 1) << describe(run);
    EXPECT_NE(run.err.find(name + ": " + message), std::string::npos) << describe(run);
}

} // namespace endtoend
