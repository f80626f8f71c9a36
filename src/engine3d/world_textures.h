// Bringing every material's texture map into the one shape the fillers read.
#pragma once

#include "engine3d/world.h"

class ImageCache;

// For every material: texture = the cached picture its texture_name names (under "data/"),
// converted in place to 32 bits in the framebuffer's byte order when it is not 32 bits deep
// yet. A picture that is not 256x256 is not reshaped in the cache (other effects may hold
// views of its pixels): the material gets a scaled private copy, kept for the whole run.
// Materials without a texture name get none. A picture that cannot be read or prepared ends
// the show through the picture library's error box.
void world_load_textures(World* world, ImageCache* cache);
