// JPEG reading and writing. libjpeg reports fatal errors through a routine that must not
// return; ours jumps back to the one function that started the work. Those functions hold no
// C++ objects and keep every resource in a plain job record that outlives the jump, so the
// caller releases decoder, buffers and file on every path.
#include "imagelib/bgl_jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>
#include <sys/stat.h>

namespace {

constexpr int kDefaultQuality = 75;
constexpr int kGrayEntries = 256;
// libjpeg's own working memory (progressive coefficient buffers) may take this many times the
// picture's bytes before it gives up instead of growing without end.
constexpr uint64_t kWorkingMemoryFactor = 3;

int jpegQuality = kDefaultQuality;

struct ErrorTrap {
    jpeg_error_mgr manager; // first: libjpeg hands back a pointer to it
    std::jmp_buf returnPoint;
};

[[noreturn]] void jumpToReturnPoint(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->returnPoint, 1);
}

struct DecodeJob {
    jpeg_decompress_struct info;
    ErrorTrap trap;
    bool created;
    std::FILE* file; // the source: a file, or else data/size
    const uint8_t* data;
    size_t size;
    BglReadLimits limits;
    uint8_t* buffer;
    JSAMPROW* rows;
    bglimage* image;
    const char* error; // pushed by the caller when the decode fails
};

// The only setjmp of the reader. Everything it allocates goes into *job.
bool runDecoder(DecodeJob* job) {
    jpeg_decompress_struct* info = &job->info;
    info->err = jpeg_std_error(&job->trap.manager);
    job->trap.manager.error_exit = jumpToReturnPoint;
    if (setjmp(job->trap.returnPoint)) {
        job->error = "JPG: Unsupported file format";
        return false;
    }
    jpeg_create_decompress(info);
    job->created = true;
    if (job->file) {
        jpeg_stdio_src(info, job->file);
    } else {
        jpeg_mem_src(info, job->data, static_cast<unsigned long>(job->size));
    }
    jpeg_read_header(info, TRUE);
    const uint64_t headerBytes = uint64_t(info->image_width) * info->image_height * info->num_components;
    if (!job->limits.fits(info->image_width, info->image_height, headerBytes)) {
        job->error = "JPG: Image too large";
        return false;
    }
    info->mem->max_memory_to_use = long(job->limits.maxBytes * kWorkingMemoryFactor);
    jpeg_start_decompress(info);

    const int components = info->output_components;
    const size_t rowBytes = size_t(components) * info->output_width;
    if (components != 1 && components != 3) {
        job->error = "JPG: Unsupported bitdepth!";
        return false;
    }
    job->buffer = static_cast<uint8_t*>(std::malloc(rowBytes * info->output_height + 1));
    if (!job->buffer) {
        job->error = "JPG: Not enough memory for buffer";
        return false;
    }
    job->rows = static_cast<JSAMPROW*>(std::malloc(sizeof(JSAMPROW) * (info->output_height + 1)));
    if (!job->rows) {
        job->error = "JPG: Not enough memory for rowbuf";
        return false;
    }
    for (JDIMENSION i = 0; i < info->output_height; ++i) job->rows[i] = job->buffer + i * rowBytes;

    const uint16_t width = uint16_t(info->output_width), height = uint16_t(info->output_height);
    job->image = components == 1 ? bgl_create_image(width, height, 8, kGrayEntries)
                                 : bgl_create_image(width, height, 24, 0);
    if (!job->image) {
        job->error = "JPG: Not enough memory for bglimage";
        return false;
    }
    if (components == 1) {
        for (int i = 0; i < kGrayEntries; ++i) std::memset(job->image->palette + i * 3, i, 3);
    }
    bgl_verbose("JPG: dimensions: %ix%ix%ibit\n", width, height, components * 8);

    while (info->output_scanline < info->output_height) {
        jpeg_read_scanlines(info, &job->rows[info->output_scanline], 1);
    }
    std::memcpy(job->image->image, job->buffer, rowBytes * info->output_height);
    jpeg_finish_decompress(info);
    return true;
}

bglimage* decode(DecodeJob* job) {
    const bool ok = runDecoder(job);
    if (job->created) jpeg_destroy_decompress(&job->info);
    std::free(job->rows);
    std::free(job->buffer);
    if (ok) return job->image;
    bgl_free_image(job->image);
    bgl_push_error(job->error);
    return nullptr;
}

struct EncodeJob {
    jpeg_compress_struct info;
    ErrorTrap trap;
    bool created;
    std::FILE* file;
    const bglimage* image;
    uint8_t* row;
    const char* error;
};

// The only setjmp of the writer. A libjpeg failure (a full disk, say) comes back here.
bool runEncoder(EncodeJob* job, const char* filename) {
    jpeg_compress_struct* info = &job->info;
    info->err = jpeg_std_error(&job->trap.manager);
    job->trap.manager.error_exit = jumpToReturnPoint;
    if (setjmp(job->trap.returnPoint)) {
        job->error = "JPG: Could not write file";
        return false;
    }
    jpeg_create_compress(info);
    job->created = true;
    bgl_verbose("JPG: Saving file \"%s\"...\n", filename);

    const bglimage* image = job->image;
    const int bpp = bgl_bytes_per_pixel(image);
    if (bpp == 1) {
        job->error = "JPG: Indexed color images not supported";
        return false;
    }
    if (bpp != 3 && bpp != 4) {
        job->error = "JPG: Unknown image type";
        return false;
    }
    job->file = std::fopen(filename, "wb");
    if (!job->file) {
        job->error = "JPG: Cannot open file for writing";
        return false;
    }
    jpeg_stdio_dest(info, job->file);
    info->image_width = image->width;
    info->image_height = image->height;
    info->input_components = 3;
    info->in_color_space = JCS_RGB;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, jpegQuality, TRUE);
    jpeg_start_compress(info, TRUE);

    job->row = static_cast<uint8_t*>(std::malloc(size_t(image->width) * 3 + 1));
    if (!job->row) {
        job->error = "JPG: Not enough memory for temp";
        return false;
    }
    const int skip = bpp == 4 ? 1 : 0; // the unused leading byte of 32-bit pixels
    while (info->next_scanline < info->image_height) {
        const uint8_t* in = image->image + size_t(info->next_scanline) * image->width * bpp;
        uint8_t* out = job->row;
        for (int x = 0; x < image->width; ++x, in += bpp, out += 3) std::memcpy(out, in + skip, 3);
        JSAMPROW row = job->row;
        jpeg_write_scanlines(info, &row, 1);
    }
    jpeg_finish_compress(info);
    return true;
}

} // namespace

bglimage* bgl_load_jpg(const char* filename) {
    bgl_verbose("JPG: Loading file \"%s\"...\n", filename);
    DecodeJob job{};
    job.file = std::fopen(filename, "rb");
    if (!job.file) {
        bgl_push_error("JPG: File not found");
        return nullptr;
    }
    bglimage* image = decode(&job);
    std::fclose(job.file);
    return image;
}

bglimage* bgl_decode_jpg(const uint8_t* data, size_t size, const BglReadLimits& limits) {
    DecodeJob job{};
    job.data = data;
    job.size = size;
    job.limits = limits;
    return decode(&job);
}

int bgl_save_jpg(const char* filename, bglimage* image) {
    EncodeJob job{};
    job.image = image;
    bool ok = runEncoder(&job, filename);
    if (job.created) jpeg_destroy_compress(&job.info);
    std::free(job.row);
    if (job.file) {
        if (std::fclose(job.file) != 0 && ok) {
            ok = false;
            job.error = "JPG: Could not write file";
        }
        // A half-written file would only mislead a later reader (devices and pipes stay).
        struct stat info;
        if (!ok && ::stat(filename, &info) == 0 && S_ISREG(info.st_mode)) std::remove(filename);
    }
    if (!ok) bgl_push_error(job.error);
    return ok ? 1 : 0;
}

void bgl_set_jpeg_quality(int quality) {
    jpegQuality = quality;
}
