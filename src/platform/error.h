#pragma once
// The toolkit's exception: thrown by the console, the surfaces and the window, caught once by the entry.
#include <stdexcept>
#include <string>

class Dialogs;

class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
    const char* message() const { return what(); }

    // Shows the message in an error box of the given dialogs.
    void report(Dialogs& dialogs) const;
};

// Title of the box that report() shows.
inline constexpr const char* kErrorBoxTitle = "Error";
