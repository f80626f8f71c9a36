// The picture cache.
#include "resources/image_cache.h"

#include "imagelib/bgl_gif.h"
#include "imagelib/bgl_jpeg.h"
#include "imagelib/bgl_pcx.h"
#include "imagelib/bgl_tga.h"
#include "resources/fatal_error.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace {

constexpr size_t kEndingLength = 3;
// The shortest name with something before its ending.
constexpr size_t kShortestName = kEndingLength + 1;
constexpr double kBytesPerMegabyte = 1048576.0;
constexpr const char* kStatsFile = "imgstats.txt";

using Reader = bglimage* (*)(const char*);

struct ReaderByEnding {
    const char* lower;
    const char* upper;
    Reader read;
};

constexpr ReaderByEnding kReaders[] = {
    {"tga", "TGA", bgl_load_tga},
    {"jpg", "JPG", bgl_load_jpg},
    {"gif", "GIF", bgl_load_gif},
    {"pcx", "PCX", bgl_load_pcx},
};

// The reader for a name's ending, all lower or all upper case; none for anything else.
Reader readerFor(const char* name, size_t length) {
    const char* ending = name + length - kEndingLength;
    for (const ReaderByEnding& r : kReaders) {
        if (std::strcmp(ending, r.lower) == 0 || std::strcmp(ending, r.upper) == 0) return r.read;
    }
    return nullptr;
}

// A failed read ends the show; the library's stack says why.
[[noreturn]] void failedRead(const char* message) {
    bgl_push_error(message);
    bglErrorBox();
}

} // namespace

bool ImageCache::quiet = false;

void ImageCache::setQuiet(bool on) {
    quiet = on;
}

ImageCache::~ImageCache() {
    while (head) {
        Entry* next = head->next;
        bgl_free_image(head->image);
        std::free(head->name);
        delete head;
        head = next;
    }
}

bglimage* ImageCache::get(const char* name, const char* prefix) {
    if (!name) failedRead("Image cache: No picture name");
    Entry* last = nullptr;
    for (Entry* e = head; e; e = e->next) {
        if (std::strcmp(e->name, name) == 0) {
            if (!quiet) std::printf("found image %s\n", e->name);
            return e->image;
        }
        last = e;
    }

    const size_t length = std::strlen(name);
    if (length < kShortestName) failedRead("Image cache: Picture name too short");
    const Reader read = readerFor(name, length);
    if (!read) failedRead("Image cache: No reader for this file ending");
    const std::string path = prefix ? std::string(prefix) + name : std::string(name);
    bglimage* image = read(path.c_str());
    if (!image) bglErrorBox();

    auto* entry = new (std::nothrow) Entry{strdup(name), image, nullptr};
    if (!entry || !entry->name) {
        std::printf("error! could not alloc image\n");
        if (entry) delete entry;
        bgl_free_image(image);
        failedRead("Image cache: Not enough memory for entry");
    }
    (last ? last->next : head) = entry;
    return image;
}

int ImageCache::release(const char* name) {
    Entry* previous = nullptr;
    for (Entry* e = head; e; previous = e, e = e->next) {
        if (std::strcmp(e->name, name) != 0) continue;
        bgl_free_image(e->image);
        std::free(e->name);
        (previous ? previous->next : head) = e->next;
        delete e;
        return 0;
    }
    std::printf("image to be freed (%s) was not found!", name);
    return 1;
}

void ImageCache::writeStatsTo(std::FILE* out) const {
    std::fprintf(out, "\nfiles loaded:\n");
    int files = 0;
    double bytes = 0;
    for (const Entry* e = head; e; e = e->next) {
        // Whole bytes per pixel, as the statistics have always counted them.
        const long long size = (long long)e->image->width * (e->image->bits_per_pixel / 8) * e->image->height;
        std::fprintf(out, "%s\t", e->name);
        std::fprintf(out, "size: %lld\n", size);
        bytes += double(size);
        ++files;
    }
    std::fprintf(out, "there are %d files loaded\n", files);
    std::fprintf(out, "they use %.2f mb\n", bytes / kBytesPerMegabyte);
}

void ImageCache::printStats() const {
    writeStatsTo(stdout);
}

bool ImageCache::writeStats() const {
    std::FILE* out = std::fopen(kStatsFile, "w");
    if (!out) return false;
    writeStatsTo(out);
    return std::fclose(out) == 0;
}
