// Fuzz target: the JPEG reader over arbitrary bytes.
#include "fuzz/fuzz_picture_reader.h"
#include "imagelib/bgl_jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzPictureReader(bgl_decode_jpg, data, size);
}
