#pragma once
#include "platform/window.h"

// The main window's handling of one message. Closing and Escape only ask for Destroy, and Destroy
// asks for Quit, which the frame loop turns into the orderly end; every other key is swallowed.
void mainWindowProc(Window& window, const Message& message);
