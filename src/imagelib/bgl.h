// The whole picture library in one include.
#pragma once

#include "imagelib/bgl_convert.h"
#include "imagelib/bgl_filter.h"
#include "imagelib/bgl_gif.h"
#include "imagelib/bgl_image.h"
#include "imagelib/bgl_jpeg.h"
#include "imagelib/bgl_pcx.h"
#include "imagelib/bgl_tga.h"
#include "imagelib/bgl_transform.h"
