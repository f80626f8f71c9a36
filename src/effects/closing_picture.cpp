#include "effects/closing_picture.h"

#include "core/screen.h"
#include "effects/show_state.h"
#include "effects/support/picture_prep.h"
#include "platform/surface.h"

void ClosingPicture::load() {
    picture = fetchScreenPicture("corpse2.jpg");
    bitmap = Bitmap(picture);
}

void ClosingPicture::start() {
    startTime = static_cast<int>(showTime);
}

void ClosingPicture::render() {
    auto* screen = static_cast<Pixel*>(backSurface->lock());
    bitmap.draw(screen, kScreenWidth, kScreenHeight, 0, 0);
    backSurface->unlock();
}
