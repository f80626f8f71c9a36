// The one way a failed picture operation ends the show: the library's latest message in a box
// titled "BGL error!", then exit code 1. The box itself belongs to the shell, which installs it
// as the handler; tests install one that throws, to watch the failure without the process ending.
#pragma once

// Shows `text` under `title`. If it returns, the process ends with exit code 1.
using FatalErrorHandler = void (*)(const char* title, const char* text);

// Installs a handler (none: the default, which prints title and text on standard error).
// Returns the handler that was installed before.
FatalErrorHandler setFatalErrorHandler(FatalErrorHandler handler);

[[noreturn]] void showFatalError(const char* title, const char* text);

// bgl_last_error() under "BGL error!".
[[noreturn]] void bglErrorBox();
