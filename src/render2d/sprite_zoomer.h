#pragma once
// SpriteZoomer: the sequence of large pictures that fly towards the viewer. It keeps up to eight
// 512x512 pictures, picks the two on screen from two sequence positions, and draws one picture
// additively at a given depth and brightness into a 320x200 buffer. The callers own the depths.
#include "imagelib/bgl_image.h"
#include "render2d/pixel.h"

constexpr int kZoomPictureSide = 512;
constexpr int kZoomMaxPictures = 8;

class SpriteZoomer {
public:
    SpriteZoomer();

    // Appends a picture to the sequence. Only 32-bit pictures of kZoomPictureSide square are taken
    // (the drawing reads exactly that many pixels); a ninth picture is ignored. Returns whether the
    // picture was added.
    bool addPicture(const bglimage* picture);

    // Points pixelsA and pixelsB at the pictures of indexA and indexB (modulo count). With no
    // pictures both are null, and drawing them draws nothing.
    void select();

    // Adds the 512x512 picture pixels, centred on (x, y) in a view of scale 256 / depth about the
    // screen's centre, with each channel scaled by level / 256 (level held to 0..255), into a
    // kScreenWidth x kScreenHeight buffer. The screen's last column is never drawn; a depth
    // below 1 or a null picture draws nothing.
    void drawZoomed(Pixel* dst, const Pixel* pixels, int x, int y, int depth, int level) const;

    int rowOffsets[kScreenHeight];
    int count = 0;
    const Pixel* pixelsA = nullptr;
    const Pixel* pixelsB = nullptr;
    int indexA = 0;
    int indexB = 1;
    const bglimage* pictures[kZoomMaxPictures] = {};
};
