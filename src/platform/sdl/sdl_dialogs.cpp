#include "platform/sdl/sdl_dialogs.h"

#include <SDL.h>

#include <cstring>

namespace {

// A box needs a real display: the headless drivers have none, and SDL would otherwise try to
// open one of its own (which could block a test on a developer's desktop).
bool displayAvailable() {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return false;
    return std::strcmp(driver, "dummy") != 0 && std::strcmp(driver, "offscreen") != 0 &&
           std::strcmp(driver, "evdev") != 0;
}

class SdlDialogs : public Dialogs {
public:
    Answer askYesNoCancel(const std::string& title, const std::string& text) override {
        if (!displayAvailable()) {
            ConsoleDialogs().showError(title, text);
            return Answer::Other;
        }
        enum { kYes = 1, kNo, kCancel };
        const SDL_MessageBoxButtonData buttons[] = {
            {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kYes, "Yes"},
            {0, kNo, "No"},
            {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kCancel, "Cancel"},
        };
        SDL_MessageBoxData box = {};
        box.flags = SDL_MESSAGEBOX_INFORMATION;
        box.title = title.c_str();
        box.message = text.c_str();
        box.numbuttons = SDL_arraysize(buttons);
        box.buttons = buttons;
        int pressed = -1;
        if (SDL_ShowMessageBox(&box, &pressed) != 0) {
            ConsoleDialogs().showError(title, text);
            return Answer::Other;
        }
        switch (pressed) {
            case kYes:
                return Answer::Yes;
            case kNo:
                return Answer::No;
            case kCancel:
                return Answer::Cancel;
            default:
                return Answer::Other;
        }
    }

    void showError(const std::string& title, const std::string& text) override {
        if (!displayAvailable() ||
            SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr) != 0)
            ConsoleDialogs().showError(title, text);
    }
};

} // namespace

Dialogs& systemDialogs() {
    static SdlDialogs dialogs;
    return dialogs;
}
