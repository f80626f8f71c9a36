#include "effects/support/screen_picture.h"

#include "imagelib/bgl_image.h"

void ScreenPicture::assign(const bglimage* picture) {
    const Bitmap source(picture);
    if (source.width == kScreenWidth && source.height >= kScreenHeight) {
        copy.clear();
        bitmap = Bitmap(source.pixels, kScreenWidth, kScreenHeight);
        return;
    }
    copy.assign(kScreenPixels, 0);
    source.draw(copy.data(), kScreenWidth, kScreenHeight, 0, 0);
    bitmap = Bitmap(copy.data(), kScreenWidth, kScreenHeight);
}
