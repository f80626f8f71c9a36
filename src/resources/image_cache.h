// The picture cache: each picture file is read once, by name, with the reader its ending picks,
// and every later request for that name gets the same record. Callers that convert a cached
// picture in place change it for everyone after them.
#pragma once

#include "imagelib/bgl_image.h"

#include <cstdio>

class ImageCache {
public:
    ImageCache() = default;
    ~ImageCache();
    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;

    // The picture `name` (compared case-sensitively), read from prefix + name on first request;
    // a later request prints "found image NAME" unless the caches are quiet. A picture that
    // cannot be read ends the show through bglErrorBox().
    bglimage* get(const char* name, const char* prefix);
    // Quiet: no "found image" lines from any cache (the capture's --quiet). Off by default.
    static void setQuiet(bool quiet);
    // 0 when the entry was found and freed, 1 when no entry has that name.
    int release(const char* name);
    void printStats() const;
    // The same lines into "imgstats.txt" in the working folder; false if it cannot be written.
    bool writeStats() const;

private:
    struct Entry {
        char* name; // as requested, without the prefix
        bglimage* image;
        Entry* next;
    };

    void writeStatsTo(std::FILE* out) const;

    Entry* head = nullptr; // in order of first loading
    static bool quiet;
};
