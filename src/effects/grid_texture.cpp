#include "effects/grid_texture.h"

#include "core/screen.h"
#include "effects/picture_prep.h"
#include "imagelib/bgl_image.h"
#include "imagelib/bgl_transform.h"

bglimage* fetchGridTexture(const char* name, TextureSoftening softening) {
    bglimage* texture = fetchPicture(name);
    if (texture->bits_per_pixel != kScreenDepth) {
        scalePicture(texture, kTextureSide, kTextureSide);
        convertTo32Bits(texture);
        tilePicture(texture);
        if (softening == TextureSoftening::Blur) blurPicture(texture);
        toScreenOrder(texture);
    }
    return texture;
}
