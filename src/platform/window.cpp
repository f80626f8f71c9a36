#include "platform/window.h"

bool Window::peekMessage(Message& message) {
    if (queue.empty()) pumpEvents();
    if (queue.empty()) return false;
    message = queue.front();
    queue.pop_front();
    return true;
}
