#pragma once
// Textures of the lit block grids: pictures from the image cache made 256x256, 32 bits deep,
// tileable and in framebuffer order.
struct bglimage;

enum class TextureSoftening { None, Blur };

// The picture `name` from the image cache. Unless it is already 32 bits deep (prepared by an
// earlier effect that shares it): scaled to 256x256, converted to 32 bits, made tileable,
// softened when asked, and brought into framebuffer order, in that order.
bglimage* fetchGridTexture(const char* name, TextureSoftening softening = TextureSoftening::None);
