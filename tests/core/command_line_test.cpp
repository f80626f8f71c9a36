#include "core/command_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/version.h"

namespace {

enum class Shape { Square, FourThree };

// A program with one option of each kind, and what it printed.
struct Program {
    bool quiet = false;
    int scale = 1;
    double seconds = 0.0;
    std::string log;
    Shape shape = Shape::Square;
    std::string input;
    std::string output;
    CommandLine line{"prog", "INPUT [OUTPUT]", "Does a thing."};
    std::string out, err;

    Program() {
        line.flag("--quiet", "say nothing", quiet)
            .integer("--scale", "N", "N times larger", 1, 16, scale)
            .number("--seconds", "S", "how long", 0.0, true, 86400.0, seconds)
            .text("--log", "FILE", "a line per frame\nand more", log)
            .choice<Shape>("--aspect", "the frames' shape",
                           {{"square", Shape::Square}, {"4:3", Shape::FourThree}}, shape)
            .operand("INPUT", input)
            .operand("OUTPUT", output, false);
    }

    int run(std::initializer_list<const char*> args) {
        std::vector<const char*> argv{"prog"};
        argv.insert(argv.end(), args);
        std::FILE* o = std::tmpfile();
        std::FILE* e = std::tmpfile();
        const int code = line.parse(int(argv.size()), argv.data(), o, e);
        out = contents(o);
        err = contents(e);
        return code;
    }

    static std::string contents(std::FILE* f) {
        std::string text;
        std::rewind(f);
        for (int c; (c = std::fgetc(f)) != EOF;) text += char(c);
        std::fclose(f);
        return text;
    }
};

} // namespace

TEST(CommandLine, ValuesOfEveryKindInBothSpellings) {
    Program p;
    ASSERT_EQ(
        p.run({"--quiet", "--scale", "3", "--seconds=2.5", "--log", "a.txt", "--aspect=4:3", "in", "out"}),
        CommandLine::kGoOn)
        << p.err;
    EXPECT_TRUE(p.quiet);
    EXPECT_EQ(p.scale, 3);
    EXPECT_EQ(p.seconds, 2.5);
    EXPECT_EQ(p.log, "a.txt");
    EXPECT_EQ(p.shape, Shape::FourThree);
    EXPECT_EQ(p.input, "in");
    EXPECT_EQ(p.output, "out");
    EXPECT_TRUE(p.line.given("--scale"));
    EXPECT_FALSE(Program().line.given("--scale"));
    EXPECT_TRUE(p.err.empty());

    // "-" is an operand (standard input or output); after "--" everything is.
    Program q;
    ASSERT_EQ(q.run({"--", "--quiet", "-"}), CommandLine::kGoOn) << q.err;
    EXPECT_EQ(q.input, "--quiet");
    EXPECT_EQ(q.output, "-");
    EXPECT_FALSE(q.quiet);
}

TEST(CommandLine, HelpAndVersionGoToStandardOutput) {
    for (const char* ask : {"--help", "-h"}) {
        Program p;
        EXPECT_EQ(p.run({"--scale", "2", ask, "--bogus"}), 0);
        EXPECT_EQ(p.out.rfind("usage: prog [options] INPUT [OUTPUT]\nDoes a thing.\n", 0), 0u) << p.out;
        EXPECT_NE(p.out.find("--scale N"), std::string::npos);
        EXPECT_NE(p.out.find("--aspect square|4:3"), std::string::npos);
        EXPECT_NE(p.out.find("a line per frame\n"), std::string::npos);
        EXPECT_TRUE(p.err.empty());
    }
    Program p;
    EXPECT_EQ(p.run({"--version"}), 0);
    EXPECT_EQ(p.out, std::string("prog ") + projectVersion() + "\n");
}

TEST(CommandLine, UsageErrorsNameTheOptionTheValueAndTheRange) {
    struct Case {
        std::vector<const char*> args;
        std::string first;
    };
    const std::vector<Case> cases = {
        {{"--scale", "0", "in"}, "prog: --scale 0: must be 1 to 16"},
        {{"--scale", "3x", "in"}, "prog: --scale 3x: must be 1 to 16"},
        {{"--scale", "99999999999999999999", "in"}, "prog: --scale 99999999999999999999: must be 1 to 16"},
        {{"--seconds", "0", "in"}, "prog: --seconds 0: must be above 0 and at most 86400"},
        {{"--seconds", "nan", "in"}, "prog: --seconds nan: must be above 0 and at most 86400"},
        {{"--aspect", "wide", "in"}, "prog: --aspect wide: must be square or 4:3"},
        {{"--log=", "in"}, "prog: --log '': must not be empty"},
        {{"--scale"}, "prog: --scale needs a value (N)"},
        {{"--quiet=yes", "in"}, "prog: --quiet takes no value"},
        {{"--frobnicate", "in"}, "prog: unknown option --frobnicate"},
        {{"-x", "in"}, "prog: unknown option -x"},
        {{}, "prog: missing INPUT"},
        {{"a", "b", "c"}, "prog: unexpected argument 'c'"},
    };
    for (const Case& c : cases) {
        Program p;
        std::vector<const char*> argv{"prog"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        std::FILE* o = std::tmpfile();
        std::FILE* e = std::tmpfile();
        EXPECT_EQ(p.line.parse(int(argv.size()), argv.data(), o, e), 2) << c.first;
        EXPECT_EQ(Program::contents(o), "");
        EXPECT_EQ(Program::contents(e),
                  c.first + "\nusage: prog [options] INPUT [OUTPUT] (--help for more)\n");
    }
    Program p;
    std::FILE* e = std::tmpfile();
    EXPECT_EQ(p.line.usageError("--a and --b exclude each other", e), 2);
    EXPECT_EQ(Program::contents(e).rfind("prog: --a and --b exclude each other\nusage: ", 0), 0u);
}

TEST(CommandLine, RestTakesEveryFurtherOperand) {
    std::string command;
    std::vector<std::string> files;
    CommandLine line("tool", "COMMAND FILE...", "x");
    line.operand("COMMAND", command).rest("FILE", files, 1);
    const char* argv[] = {"tool", "info", "a", "b"};
    std::FILE* e = std::tmpfile();
    ASSERT_EQ(line.parse(4, argv, stdout, e), CommandLine::kGoOn);
    EXPECT_EQ(command, "info");
    EXPECT_EQ(files, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(line.parse(2, argv, stdout, e), 2);
    std::fclose(e);
}

TEST(CommandLine, ActionsRunInTheOrderGivenAndCustomValuesExplainThemselves) {
    std::string steps, file;
    CommandLine line("tool", "FILE", "x");
    line.operand("FILE", file);
    line.action("--blur", "soften", [&steps] { steps += "blur "; })
        .action("--invert", "invert", [&steps] { steps += "invert "; })
        .custom("--size", "WxH", "a size", [&steps](const std::string& value, std::string& why) {
            why = "must be WIDTHxHEIGHT";
            if (value.find('x') == std::string::npos) return false;
            steps += "size " + value + " ";
            return true;
        });
    const char* good[] = {"tool", "--invert", "--size", "4x2", "--blur", "--invert", "f"};
    ASSERT_EQ(line.parse(7, good, stdout, stderr), CommandLine::kGoOn);
    EXPECT_EQ(steps, "invert size 4x2 blur invert ");

    const char* bad[] = {"tool", "--size", "4", "f"};
    std::FILE* e = std::tmpfile();
    EXPECT_EQ(line.parse(4, bad, stdout, e), 2);
    EXPECT_EQ(Program::contents(e).rfind("tool: --size 4: must be WIDTHxHEIGHT\n", 0), 0u);
}

TEST(CommandLine, FileChecksNameTheReasonAndLeaveNothingBehind) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("hv_command_line_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string file = (dir / "there.txt").string();
    std::FILE* f = std::fopen(file.c_str(), "wb");
    std::fputs("kept", f);
    std::fclose(f);

    EXPECT_EQ(inputFileProblem(file), "");
    EXPECT_EQ(inputFileProblem((dir / "missing").string()), "No such file or directory");
    EXPECT_EQ(inputFileProblem(dir.string()), "is a directory");

    EXPECT_EQ(outputFileProblem(file), "");
    EXPECT_EQ(fs::file_size(file), 4u); // looked at, not touched
    EXPECT_EQ(outputFileProblem((dir / "new.txt").string()), "");
    EXPECT_FALSE(fs::exists(dir / "new.txt"));
    EXPECT_EQ(outputFileProblem(dir.string()), "is a directory");
    EXPECT_EQ(outputFileProblem((dir / "no" / "such.txt").string()), "No such file or directory");
    EXPECT_EQ(outputFileProblem(file + "/under-a-file.txt"), "Not a directory");
    fs::remove_all(dir);
}
