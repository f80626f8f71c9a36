#include "effects/support/text_picture.h"

#include "effects/show_state.h"
#include "resources/bitmap_font.h"

TextPicture makeTextPicture(const char* text) {
    TextPicture result;
    if (font == nullptr) return result;
    result.picture.reset(font->makeTextImage(text));
    result.bitmap = Bitmap(result.picture.get());
    return result;
}
