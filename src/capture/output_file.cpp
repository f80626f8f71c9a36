#include "capture/output_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "capture/exit_cleanup.h"
#include "core/command_line.h"

namespace fs = std::filesystem;

std::string partialPath(const std::string& path) {
    return path + ".partial";
}

OutputFile::~OutputFile() {
    discard();
}

bool OutputFile::create(const std::string& path, std::string& error) {
    discard();
    finalPath = path;
    if (const std::string problem = outputFileProblem(path); !problem.empty()) {
        error = "cannot write " + path + ": " + problem;
        return false;
    }
    const std::string temporary = partialPath(path);
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    std::fclose(file);
    temporaryPath = temporary;
    removeAtExit(temporaryPath);
    return true;
}

bool OutputFile::commit(std::string& error) {
    if (!isCreated()) return true;
    std::error_code ec;
    fs::rename(temporaryPath, finalPath, ec);
    if (ec) {
        error = "could not give " + finalPath + " its name: " + ec.message();
        return false;
    }
    forgetAtExit(temporaryPath);
    temporaryPath.clear();
    return true;
}

void OutputFile::discard() {
    if (!isCreated()) return;
    std::error_code ignored;
    fs::remove(temporaryPath, ignored);
    forgetAtExit(temporaryPath);
    temporaryPath.clear();
}
