#include "core/command_line.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/version.h"

namespace {

constexpr std::size_t kMinHelpColumn = 22;
constexpr std::size_t kMaxHelpColumn = 26;

std::string formatNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// "a", "a or b", "a, b or c".
std::string listOfWords(const std::vector<std::string>& words) {
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0) text += i + 1 == words.size() ? " or " : ", ";
        text += words[i];
    }
    return text;
}

bool startsWithDashes(const std::string& arg) {
    return arg.size() > 2 && arg[0] == '-' && arg[1] == '-';
}

} // namespace

CommandLine::CommandLine(std::string program, std::string operands, std::string summaryLine)
    : name(std::move(program)), operandsText(std::move(operands)), summary(std::move(summaryLine)) {}

CommandLine& CommandLine::flag(const std::string& option, const std::string& help, bool& out) {
    options.push_back({option, "", help, [&out](const std::string&, std::string&) {
                           out = true;
                           return true;
                       }});
    return *this;
}

CommandLine& CommandLine::integer(const std::string& option, const std::string& meta, const std::string& help,
                                  int low, int high, int& out) {
    options.push_back({option, meta, help, [low, high, &out](const std::string& value, std::string& why) {
                           why = "must be " + std::to_string(low) + " to " + std::to_string(high);
                           char* end = nullptr;
                           errno = 0;
                           const long n = std::strtol(value.c_str(), &end, 10);
                           if (errno != 0 || end == value.c_str() || *end != '\0' || n < low || n > high)
                               return false;
                           out = static_cast<int>(n);
                           return true;
                       }});
    return *this;
}

CommandLine& CommandLine::number(const std::string& option, const std::string& meta, const std::string& help,
                                 double low, bool lowExcluded, double high, double& out) {
    options.push_back(
        {option, meta, help, [low, lowExcluded, high, &out](const std::string& value, std::string& why) {
             why = lowExcluded ? "must be above " + formatNumber(low) + " and at most " + formatNumber(high)
                               : "must be " + formatNumber(low) + " to " + formatNumber(high);
             char* end = nullptr;
             const double x = std::strtod(value.c_str(), &end);
             if (end == value.c_str() || *end != '\0' || !std::isfinite(x)) return false;
             if (x > high || x < low || (lowExcluded && x == low)) return false;
             out = x;
             return true;
         }});
    return *this;
}

CommandLine& CommandLine::text(const std::string& option, const std::string& meta, const std::string& help,
                               std::string& out) {
    options.push_back({option, meta, help, [&out](const std::string& value, std::string& why) {
                           why = "must not be empty";
                           if (value.empty()) return false;
                           out = value;
                           return true;
                       }});
    return *this;
}

CommandLine& CommandLine::custom(const std::string& option, const std::string& meta, const std::string& help,
                                 std::function<bool(const std::string& value, std::string& why)> take) {
    options.push_back({option, meta, help, std::move(take)});
    return *this;
}

CommandLine& CommandLine::action(const std::string& option, const std::string& help,
                                 std::function<void()> act) {
    options.push_back({option, "", help, [act](const std::string&, std::string&) {
                           act();
                           return true;
                       }});
    return *this;
}

CommandLine& CommandLine::addChoice(const std::string& option, const std::string& help,
                                    const std::vector<std::string>& words,
                                    std::function<void(std::size_t)> pick) {
    std::string meta;
    for (const std::string& w : words) meta += (meta.empty() ? "" : "|") + w;
    options.push_back({option, meta, help, [words, pick](const std::string& value, std::string& why) {
                           why = "must be " + listOfWords(words);
                           for (std::size_t i = 0; i < words.size(); ++i) {
                               if (words[i] == value) {
                                   pick(i);
                                   return true;
                               }
                           }
                           return false;
                       }});
    return *this;
}

CommandLine& CommandLine::operand(const std::string& meta, std::string& out, bool required) {
    Operand o;
    o.meta = meta;
    o.one = &out;
    o.required = required;
    operandList.push_back(o);
    return *this;
}

CommandLine& CommandLine::rest(const std::string& meta, std::vector<std::string>& out, std::size_t least) {
    Operand o;
    o.meta = meta;
    o.many = &out;
    o.required = least > 0;
    o.least = least;
    operandList.push_back(o);
    return *this;
}

CommandLine& CommandLine::epilog(const std::string& textBlock) {
    epilogText = textBlock;
    return *this;
}

CommandLine::Option* CommandLine::find(const std::string& option) {
    for (Option& o : options)
        if (o.name == option) return &o;
    return nullptr;
}

const CommandLine::Option* CommandLine::find(const std::string& option) const {
    for (const Option& o : options)
        if (o.name == option) return &o;
    return nullptr;
}

bool CommandLine::given(const std::string& option) const {
    const Option* o = find(option);
    return o && o->given;
}

std::string CommandLine::usageLine() const {
    std::string line = "usage: " + name;
    if (!options.empty()) line += " [options]";
    if (!operandsText.empty()) line += " " + operandsText;
    return line;
}

std::string CommandLine::helpText() const {
    struct Row {
        std::string left, help;
    };
    std::vector<Row> rows;
    for (const Option& o : options) rows.push_back({o.name + (o.meta.empty() ? "" : " " + o.meta), o.help});
    rows.push_back({"--help", "this text"});
    rows.push_back({"--version", "the program's name and version"});
    std::size_t column = kMinHelpColumn;
    for (const Row& r : rows)
        if (r.left.size() + 4 > column && r.left.size() + 4 <= kMaxHelpColumn) column = r.left.size() + 4;

    std::string text = usageLine() + "\n" + summary + "\n";
    if (!rows.empty()) text += "\n";
    for (const Row& r : rows) {
        std::string line = "  " + r.left;
        // A long option name puts its help on the next line.
        if (line.size() + 2 > column) {
            text += line + "\n";
            line.clear();
        }
        line.resize(column, ' ');
        // Help texts may run over several lines; each continues under the first.
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = r.help.find('\n', start);
            text += line + r.help.substr(start, end == std::string::npos ? std::string::npos : end - start) +
                    "\n";
            if (end == std::string::npos) break;
            start = end + 1;
            line.assign(column, ' ');
        }
    }
    if (!epilogText.empty()) text += "\n" + epilogText + (epilogText.back() == '\n' ? "" : "\n");
    return text;
}

int CommandLine::usageError(const std::string& message, std::FILE* err) const {
    std::fprintf(err, "%s: %s\n%s (--help for more)\n", name.c_str(), message.c_str(), usageLine().c_str());
    return 2;
}

int CommandLine::failure(const std::string& message, std::FILE* err) const {
    std::fprintf(err, "%s: %s\n", name.c_str(), message.c_str());
    return 1;
}

int CommandLine::parse(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (optionsEnded || !startsWithDashes(arg)) {
            if (arg == "-h" && !optionsEnded) {
                std::fputs(helpText().c_str(), out);
                return 0;
            }
            if (!optionsEnded && arg.size() > 1 && arg[0] == '-' && arg != "--")
                return usageError("unknown option " + arg, err);
            if (arg == "--" && !optionsEnded) {
                optionsEnded = true;
                continue;
            }
            operands.push_back(arg);
            continue;
        }
        // --name VALUE or --name=VALUE.
        const std::size_t equals = arg.find('=');
        const std::string option = arg.substr(0, equals);
        if (option == "--help" || option == "--version") {
            if (option == "--help")
                std::fputs(helpText().c_str(), out);
            else
                std::fprintf(out, "%s %s\n", name.c_str(), projectVersion());
            return 0;
        }
        Option* o = find(option);
        if (!o) return usageError("unknown option " + option, err);
        std::string value;
        if (o->meta.empty()) {
            if (equals != std::string::npos) return usageError(option + " takes no value", err);
        } else if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < argc) {
            value = argv[++i];
        } else {
            return usageError(option + " needs a value (" + o->meta + ")", err);
        }
        std::string why;
        if (!o->take(value, why))
            return usageError(option + " " + (value.empty() ? "''" : value) + ": " + why, err);
        o->given = true;
    }

    std::size_t next = 0;
    for (const Operand& o : operandList) {
        if (o.many) {
            if (operands.size() - next < o.least) return usageError("missing " + o.meta, err);
            o.many->assign(operands.begin() + static_cast<std::ptrdiff_t>(next), operands.end());
            next = operands.size();
        } else if (next < operands.size()) {
            *o.one = operands[next++];
        } else if (o.required) {
            return usageError("missing " + o.meta, err);
        }
    }
    if (next < operands.size()) return usageError("unexpected argument '" + operands[next] + "'", err);
    return kGoOn;
}

std::string inputFileProblem(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::is_directory(path, ec)) return "is a directory";
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::strerror(errno);
    std::fclose(file);
    return {};
}

std::string outputFileProblem(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::is_directory(path, ec)) return "is a directory";
    const bool existed = fs::exists(path, ec);
    // Appending changes nothing in a file that is there; a file made only to try is removed again.
    std::FILE* file = std::fopen(path.c_str(), existed ? "ab" : "wb");
    if (!file) {
        const int error = errno;
        // Windows says only "no such file" where a file stands in its folder's place.
        const fs::path folder = fs::path(path).parent_path();
        if (error == ENOENT && !folder.empty() && fs::exists(folder, ec) && !fs::is_directory(folder, ec))
            return std::strerror(ENOTDIR);
        return std::strerror(error);
    }
    std::fclose(file);
    if (!existed) fs::remove(path, ec);
    return {};
}
