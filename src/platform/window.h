#pragma once
// The main window as the shell sees it: a queue of messages and a place to show frames.
// Backends (an SDL window, the headless capture window, test fakes) turn their input into
// messages and show what the console presents.
#include <cstdint>
#include <deque>

enum class MessageKind { Close, Destroy, KeyDown, Quit };

// Key code of Escape in KeyDown messages; other keys carry the backend's own code.
inline constexpr int kKeyEscape = 27;

struct Message {
    MessageKind kind = MessageKind::Close;
    int key = 0;
};

class Window {
public:
    virtual ~Window() = default;

    // Takes the next pending message, after gathering the backend's new input. False when none waits.
    bool peekMessage(Message& message);
    void postMessage(const Message& message) { queue.push_back(message); }
    void postQuitMessage() { postMessage({MessageKind::Quit, 0}); }

    // Called once by the console when it opens on this window.
    virtual void attachConsole(int width, int height, bool fullscreen) = 0;
    // Shows one frame of 0x00RRGGBB pixels; pitch in bytes.
    virtual void present(const std::uint32_t* pixels, int width, int height, int pitch) = 0;

protected:
    // Turns input that arrived since the last call into posted messages.
    virtual void pumpEvents() = 0;

private:
    std::deque<Message> queue;
};
