#include "effects/logo.h"

#include "effects/picture_prep.h"
#include "platform/format.h"

Logo logo;

void Logo::load() {
    picture = fetchScreenPicture("zklogo.pcx");
    bitmap = Bitmap(picture);
}

void Logo::drawAdd(Pixel* screen, int x, int y) const {
    bitmap.drawAdd(screen, kScreenWidth, kScreenHeight, x, y);
}
