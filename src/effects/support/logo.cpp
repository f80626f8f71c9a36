#include "effects/support/logo.h"

#include "core/screen.h"
#include "effects/support/picture_prep.h"

Logo logo;

void Logo::load() {
    picture = fetchScreenPicture("zklogo.pcx");
    bitmap = Bitmap(picture);
}

void Logo::drawAdd(Pixel* screen, int x, int y) const {
    bitmap.drawAdd(screen, kScreenWidth, kScreenHeight, x, y);
}
