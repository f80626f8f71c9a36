#include "platform/dialogs.h"

#include <cstdio>

#include "platform/error.h"

namespace {

void printBox(const std::string& title, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    std::fflush(stderr);
}

} // namespace

// A headless program has no one to ask: the question keeps its default answer silently.
Answer ConsoleDialogs::askYesNoCancel(const std::string&, const std::string&) {
    return Answer::Other;
}

void ConsoleDialogs::showError(const std::string& title, const std::string& text) {
    printBox(title, text);
}

void Error::report(Dialogs& dialogs) const {
    dialogs.showError(kErrorBoxTitle, message());
}
