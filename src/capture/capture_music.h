#pragma once
// The show's music in capture mode: rendered on the calling thread, exactly one video frame's
// worth of samples per poll, handed to the capture session with the sync commands it heard.
#include <memory>

#include "music/music.h"

class CaptureSession;

std::unique_ptr<Music> createCaptureMusic(CaptureSession& session);
