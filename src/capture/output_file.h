#pragma once
// A file the capture writes under a temporary name beside its final one ("NAME.partial"), so
// that a failed or interrupted run neither leaves a half-written file nor spoils one that was
// there: it gets its final name once the whole capture has succeeded and is removed otherwise,
// also when the process ends from deep inside the show (see exit_cleanup.h).
#include <string>

class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Checks the final name (no folder there, its folder present) and creates the temporary file,
    // empty. False with a reason that names the file.
    bool create(const std::string& path, std::string& error);
    bool isCreated() const { return !temporaryPath.empty(); }
    // The final name, for messages; the temporary one, for the writer.
    const std::string& path() const { return finalPath; }
    const std::string& writingPath() const { return temporaryPath; }

    // Gives the finished file its final name, replacing what was there; false with a reason.
    bool commit(std::string& error);
    // Removes the temporary file (nothing once committed).
    void discard();

private:
    std::string finalPath, temporaryPath;
};

// "NAME.partial": where a file of that name is written until it is finished.
std::string partialPath(const std::string& path);
