#pragma once
// SDL's message boxes. Where no display exists (SDL's video is not up, or runs a headless
// driver), every box prints "title: text" on standard error instead and the question answers Other.
#include "platform/dialogs.h"

Dialogs& systemDialogs();
