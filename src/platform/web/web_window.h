#pragma once
// The show's window in a web page: the page's 4:3 canvas, filled as the desktop's window is (the
// picture at 4:3, scaled as the scaler says), and the keys pressed in the page. Each presented
// frame gives the page back to the browser until its next animation frame, which paces the show
// and lets the page draw meanwhile (also during loading).
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/sharp_scale.h"
#include "platform/window.h"

// Told of every frame before it is drawn, with the frame's 0x00RRGGBB pixels.
using FrameListener = std::function<void(const std::uint32_t* pixels, int width, int height, int pitch)>;

std::unique_ptr<Window> createWebWindow(Scaler scaler = Scaler::Sharp, FrameListener listener = nullptr);
