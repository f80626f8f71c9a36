#include "forge/pictures/grey_jpeg_writer.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace forge {

namespace {

// libjpeg reports fatal errors by calling error_exit, which must not return: jump back instead.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf recover;
};

void onFatalError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->recover, 1);
}

} // namespace

std::string encodeGreyJpeg(int width, int height, const std::vector<uint8_t>& levels, int quality,
                           std::vector<uint8_t>* file) {
    if (width <= 0 || height <= 0 || levels.size() != size_t(width) * size_t(height))
        return "grey JPEG: picture size does not match its pixels";
    jpeg_compress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onFatalError;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(errors.recover)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return "grey JPEG: the encoder failed";
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(levels.data() + size_t(info.next_scanline) * size_t(width));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    file->assign(buffer, buffer + size);
    std::free(buffer);
    return {};
}

} // namespace forge
