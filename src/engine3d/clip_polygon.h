// Cutting polys to the screen rectangle before they are drawn.
#pragma once

#include "engine3d/world.h"

#include <cstdint>

// A triangle cut by the four screen edges has at most 7 corners; the buffer holds more, and
// every pass stops appending at the capacity.
constexpr int kClipPolygonCapacity = 12;

struct ClipPolygon {
    int32_t count;
    Point corners[kClipPolygonCapacity];
};

// Sutherland-Hodgman against each screen edge whose bit (left, right, top, bottom) is in
// outcode, in that order. New corners get the edge coordinate; the other screen coordinate and
// cz, u, v, eu, ev, r, g, b are interpolated. An input count beyond the capacity is read as
// the capacity; out may not be in.
void clip_polygon(const ClipPolygon* in, ClipPolygon* out, uint32_t outcode, const Camera* camera);

// The clipping stage every filler and outline runs first: the poly's corners as they are (a
// poly of an object wholly inside the viewport), the clipped polygon, or nothing (count 0)
// when the poly lies beyond one edge or has a corner nearer than the near plane. Writes the
// corners' outcodes.
void clip_poly_to_screen(Poly* poly, const Camera* camera, ClipPolygon* out);
