#include "engine3d/world_textures.h"

#include "engine3d/raster.h"
#include "imagelib/bgl_convert.h"
#include "imagelib/bgl_image.h"
#include "imagelib/bgl_transform.h"
#include "resources/fatal_error.h"
#include "resources/image_cache.h"

#include <memory>
#include <vector>

namespace {

constexpr char kDataPrefix[] = "data/";

struct ImageDeleter {
    void operator()(bglimage* image) const { bgl_free_image(image); }
};

// Scaled copies of shared pictures, owned here for the whole run (worlds are never released
// while the show runs, and a released world leaves textures alone).
std::vector<std::unique_ptr<bglimage, ImageDeleter>>& privateTextures() {
    static std::vector<std::unique_ptr<bglimage, ImageDeleter>> textures;
    return textures;
}

bool isTextureShaped(const bglimage* image) {
    return image->width == kTextureSide && image->height == kTextureSide;
}

bglimage* prepareTexture(bglimage* shared) {
    if (shared->bits_per_pixel != kScreenDepth) {
        if (!bgl_convert_to_32bit(shared)) bglErrorBox();
        toScreenOrder(shared);
    }
    if (isTextureShaped(shared)) return shared;
    std::unique_ptr<bglimage, ImageDeleter> copy(bgl_duplicate_image(shared));
    if (!copy || !bgl_scale_size(kTextureSide, kTextureSide, copy.get())) bglErrorBox();
    privateTextures().push_back(std::move(copy));
    return privateTextures().back().get();
}

} // namespace

void world_load_textures(World* world, ImageCache* cache) {
    for (Material* m = world->materials; m; m = m->next) {
        m->texture = nullptr;
        if (!m->texture_name) continue;
        m->texture = prepareTexture(cache->get(m->texture_name, kDataPrefix));
    }
}
