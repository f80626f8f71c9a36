#pragma once
// What the capture has begun but not finished, removed should the process end before it is
// finished: the show ends from deep inside (a picture it cannot read, a broken scene) through
// exit(), which unwinds nothing, so the files' own destructors never run. One list for the
// process, used from the main thread only; entries go in the reverse order of their coming, so
// frames go before the folder they were written into.
#include <string>

// Removes `path` (a file, or a folder once empty) at exit unless forgotten before.
void removeAtExit(const std::string& path);
// Takes `path` off the list (it was finished, or removed already).
void forgetAtExit(const std::string& path);
