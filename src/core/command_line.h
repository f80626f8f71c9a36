#pragma once
// A program's command line, declared once as a table of options: the same table parses the
// arguments, checks every value against its range and writes the --help text, so that all our
// programs answer alike (--help and --version on standard output with code 0; a usage error on
// standard error, naming the option, the bad value and what it must be, then a one-line usage
// hint, with code 2).
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class CommandLine {
public:
    // program: the name used in messages; operands: what follows the options in the usage line
    // (for example "FILE"); summary: one line saying what the program does.
    CommandLine(std::string program, std::string operands, std::string summary);

    // --name with no value.
    CommandLine& flag(const std::string& name, const std::string& help, bool& out);
    // --name N, a whole number from low to high.
    CommandLine& integer(const std::string& name, const std::string& meta, const std::string& help, int low,
                         int high, int& out);
    // --name X, a number from low (or above it, when lowExcluded) to high.
    CommandLine& number(const std::string& name, const std::string& meta, const std::string& help, double low,
                        bool lowExcluded, double high, double& out);
    // --name TEXT, any non-empty text (a path, usually).
    CommandLine& text(const std::string& name, const std::string& meta, const std::string& help,
                      std::string& out);
    // --name VALUE of a form of the program's own: `take` keeps the value, or returns false with
    // the reason ("must be WIDTHxHEIGHT").
    CommandLine& custom(const std::string& name, const std::string& meta, const std::string& help,
                        std::function<bool(const std::string& value, std::string& why)> take);
    // --name with no value that does something as it is met, so that such options take effect in
    // the order given (imgtool's conversions).
    CommandLine& action(const std::string& name, const std::string& help, std::function<void()> act);
    // --name WORD, one of the given words; out becomes the value paired with it.
    template <class T>
    CommandLine& choice(const std::string& name, const std::string& help,
                        std::vector<std::pair<std::string, T>> words, T& out) {
        std::vector<std::string> names;
        for (const auto& w : words) names.push_back(w.first);
        return addChoice(name, help, names, [words, &out](std::size_t index) { out = words[index].second; });
    }
    // Operands after the options, in order: required ones first, then optional ones.
    CommandLine& operand(const std::string& meta, std::string& out, bool required = true);
    // Any number of further operands (at least `least`).
    CommandLine& rest(const std::string& meta, std::vector<std::string>& out, std::size_t least = 0);
    // Text printed at the end of --help (examples, notes).
    CommandLine& epilog(const std::string& text);

    // Reads argv. Returns kGoOn when the program should run; otherwise the code to exit with
    // (0 after --help or --version, 2 after a usage error), the text already printed.
    static constexpr int kGoOn = -1;
    int parse(int argc, const char* const* argv, std::FILE* out = stdout, std::FILE* err = stderr);

    // Whether the option appeared on the command line.
    bool given(const std::string& name) const;
    // Reports a usage error found after parsing ("--a and --b exclude each other") the same way
    // as parse() reports its own; returns 2.
    int usageError(const std::string& message, std::FILE* err = stderr) const;
    // Reports a failure that is not a usage error as "program: message"; returns 1.
    int failure(const std::string& message, std::FILE* err = stderr) const;

    std::string helpText() const;
    // The help's first line: "usage: program [options] OPERANDS".
    std::string usageLine() const;
    const std::string& program() const { return name; }

private:
    struct Option {
        std::string name, meta, help;
        // Takes the value; false with the reason ("must be 1 to 16") when it is not acceptable.
        std::function<bool(const std::string& value, std::string& why)> take;
        bool given = false;
    };
    struct Operand {
        std::string meta;
        std::string* one = nullptr;
        std::vector<std::string>* many = nullptr;
        bool required = true;
        std::size_t least = 0;
    };

    CommandLine& addChoice(const std::string& name, const std::string& help,
                           const std::vector<std::string>& words, std::function<void(std::size_t)> pick);
    Option* find(const std::string& name);
    const Option* find(const std::string& name) const;

    std::string name, operandsText, summary, epilogText;
    std::vector<Option> options;
    std::vector<Operand> operandList;
};

// Why `path` cannot be read as a file ("No such file or directory", "is a directory"), or empty
// when it can: the check a program makes at its edge before a reader sees the name.
std::string inputFileProblem(const std::string& path);
// Why no file can be written at `path` (its folder is missing, a folder stands there, or it
// cannot be opened for writing), or empty when it can. Leaves no file behind.
std::string outputFileProblem(const std::string& path);
