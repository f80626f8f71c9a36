#include "platform/web/web_dialogs.h"

#include "platform/web/web_page.h"

namespace {

class PageDialogs : public Dialogs {
public:
    Answer askYesNoCancel(const std::string&, const std::string&) override { return Answer::Other; }

    void showError(const std::string& title, const std::string& text) override {
        ConsoleDialogs().showError(title, text);
        pageShowError(title, text);
    }
};

} // namespace

Dialogs& pageDialogs() {
    static PageDialogs dialogs;
    return dialogs;
}
