#pragma once
// Message boxes: the start-up question and the fatal error boxes. A backend shows them its own
// way (platform/sdl/sdl_dialogs.h); the console's version below needs no display.
#include <string>

enum class Answer { Yes, No, Cancel, Other };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A Yes / No / Cancel question; Other when no box could be shown.
    virtual Answer askYesNoCancel(const std::string& title, const std::string& text) = 0;
    // A blocking error box with an OK button.
    virtual void showError(const std::string& title, const std::string& text) = 0;
};

// Error boxes on standard error only, for headless programs; the question answers Other silently.
class ConsoleDialogs : public Dialogs {
public:
    Answer askYesNoCancel(const std::string& title, const std::string& text) override;
    void showError(const std::string& title, const std::string& text) override;
};
