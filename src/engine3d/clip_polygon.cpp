#include "engine3d/clip_polygon.h"

#include "engine3d/transform.h"

#include <algorithm>
#include <cmath>

namespace {

// One screen edge: which coordinate it bounds and on which side the inside lies.
struct ClipEdge {
    uint32_t bit;
    bool vertical;  // bounds sx (left, right) rather than sy (top, bottom)
    bool keepAbove; // inside is at or above the edge value
};

constexpr ClipEdge kClipEdges[] = {
    {kClipLeft, true, true},
    {kClipRight, true, false},
    {kClipTop, false, true},
    {kClipBottom, false, false},
};

int edgeValue(const ClipEdge& edge, const Camera* camera) {
    if (edge.bit == kClipLeft) return camera->left;
    if (edge.bit == kClipRight) return camera->right;
    if (edge.bit == kClipTop) return camera->top;
    return camera->bottom;
}

bool inside(const Point& p, const ClipEdge& edge, int value) {
    const int32_t c = edge.vertical ? p.sx : p.sy;
    return edge.keepAbove ? c >= value : c <= value;
}

float mix(float a, float b, double t) {
    return float(a + (double(b) - a) * t);
}

// The corner where the segment cur-nxt meets the edge.
Point crossing(const Point& cur, const Point& nxt, const ClipEdge& edge, int value) {
    const int32_t c0 = edge.vertical ? cur.sx : cur.sy;
    const int32_t c1 = edge.vertical ? nxt.sx : nxt.sy;
    const double t = (double(value) - c0) / (double(c1) - c0);
    Point p = cur;
    const int32_t o0 = edge.vertical ? cur.sy : cur.sx;
    const int32_t o1 = edge.vertical ? nxt.sy : nxt.sx;
    // The two corners lie on opposite sides, so t is within 0..1 and the result within o0..o1.
    const int32_t other = int32_t(std::trunc(o0 + (double(o1) - o0) * t));
    if (edge.vertical) {
        p.sx = value;
        p.sy = other;
    } else {
        p.sy = value;
        p.sx = other;
    }
    p.cz = mix(cur.cz, nxt.cz, t);
    p.u = mix(cur.u, nxt.u, t);
    p.v = mix(cur.v, nxt.v, t);
    p.eu = mix(cur.eu, nxt.eu, t);
    p.ev = mix(cur.ev, nxt.ev, t);
    p.r = mix(cur.r, nxt.r, t);
    p.g = mix(cur.g, nxt.g, t);
    p.b = mix(cur.b, nxt.b, t);
    return p;
}

// Copies the corners in use only: the buffers are large next to the usual three corners.
void copyPolygon(ClipPolygon* dst, const ClipPolygon& src) {
    dst->count = std::clamp(src.count, 0, kClipPolygonCapacity);
    std::copy(src.corners, src.corners + dst->count, dst->corners);
}

void append(ClipPolygon* out, const Point& p) {
    if (out->count < kClipPolygonCapacity) out->corners[out->count++] = p;
}

void clipPass(const ClipPolygon& in, ClipPolygon* out, const ClipEdge& edge, int value) {
    out->count = 0;
    const int n = std::clamp(in.count, 0, kClipPolygonCapacity);
    for (int i = 0; i < n; ++i) {
        const Point& cur = in.corners[i];
        const Point& nxt = in.corners[(i + 1) % n];
        const bool curIn = inside(cur, edge, value);
        if (curIn) append(out, cur);
        if (curIn != inside(nxt, edge, value)) append(out, crossing(cur, nxt, edge, value));
    }
}

} // namespace

void clip_polygon(const ClipPolygon* in, ClipPolygon* out, uint32_t outcode, const Camera* camera) {
    ClipPolygon scratch;
    copyPolygon(out, *in);
    for (const ClipEdge& edge : kClipEdges) {
        if (!(outcode & edge.bit)) continue;
        copyPolygon(&scratch, *out);
        clipPass(scratch, out, edge, edgeValue(edge, camera));
    }
}

void clip_poly_to_screen(Poly* poly, const Camera* camera, ClipPolygon* out) {
    Point* corners[3] = {poly->a, poly->b, poly->c};
    if (poly->clip == 0) {
        out->count = 3;
        for (int i = 0; i < 3; ++i) out->corners[i] = *corners[i];
        return;
    }
    uint32_t all = ~0u, any = 0;
    for (Point* p : corners) {
        compute_outcode(p, camera);
        all &= p->clip;
        any |= p->clip;
    }
    // No near-plane clipping: a poly reaching in front of it is dropped whole.
    if (all != 0 || (any & kClipNear)) {
        out->count = 0;
        return;
    }
    out->count = 3;
    for (int i = 0; i < 3; ++i) out->corners[i] = *corners[i];
    if (any == 0) return;
    ClipPolygon in;
    copyPolygon(&in, *out);
    clip_polygon(&in, out, any, camera);
}
