#include "capture/exit_cleanup.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

std::vector<std::string>& pending() {
    // Never destroyed: the list must outlive every static destructor that could still exit().
    static auto* paths = new std::vector<std::string>;
    return *paths;
}

void removePending() {
    std::vector<std::string>& paths = pending();
#ifdef _WIN32
    // Windows removes no file that is still open, and exit() closes the streams only after the
    // functions registered here: the writers' files are closed first (the process is ending).
    if (!paths.empty()) _fcloseall();
#endif
    for (auto it = paths.rbegin(); it != paths.rend(); ++it) {
        std::error_code ignored;
        std::filesystem::remove(*it, ignored);
    }
    paths.clear();
}

} // namespace

void removeAtExit(const std::string& path) {
    static const bool registered = std::atexit(removePending) == 0;
    (void)registered;
    pending().push_back(path);
}

void forgetAtExit(const std::string& path) {
    std::vector<std::string>& paths = pending();
    // The latest entries are the likeliest to go first.
    for (auto it = paths.rbegin(); it != paths.rend(); ++it) {
        if (*it == path) {
            paths.erase(std::next(it).base());
            return;
        }
    }
}
