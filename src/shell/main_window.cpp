#include "shell/main_window.h"

void mainWindowProc(Window& window, const Message& message) {
    switch (message.kind) {
        case MessageKind::Destroy:
            window.postQuitMessage();
            break;
        case MessageKind::Close:
            window.postMessage({MessageKind::Destroy, 0});
            break;
        case MessageKind::KeyDown:
            if (message.key == kKeyEscape) window.postMessage({MessageKind::Destroy, 0});
            break;
        case MessageKind::Quit:
            break;
    }
}
