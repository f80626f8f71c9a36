#pragma once
// The headless window of capture mode: frames go to the session, and once it is finished the
// window asks to close (the same orderly path as closing a real window).
#include <memory>

#include "platform/window.h"

class CaptureSession;

std::unique_ptr<Window> createCaptureWindow(CaptureSession& session);
