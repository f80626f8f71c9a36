// Fuzz target: the TGA reader over arbitrary bytes.
#include "fuzz/fuzz_picture_reader.h"
#include "imagelib/bgl_tga.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzPictureReader(bgl_decode_tga, data, size);
}
