#pragma once
// The page's boxes. The page asks its own start-up question (its three buttons) before the program
// runs, and passes the answer on the command line, so the question here answers Other. An error
// box becomes a message in the page, with the same title and text, and a line on standard error.
#include "platform/dialogs.h"

Dialogs& pageDialogs();
