#pragma once
// A y4m video of 0x00RRGGBB frames: 4:2:0 in BT.601 studio range, the colour space y4m players
// assume, with a pixel aspect that shows the picture at 4:3, as it was made to be seen.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "capture/output_file.h"

class Y4mWriter {
public:
    Y4mWriter() = default;
    ~Y4mWriter();
    Y4mWriter(const Y4mWriter&) = delete;
    Y4mWriter& operator=(const Y4mWriter&) = delete;

    // Creates the file (under its temporary name, see output_file.h); false with a reason.
    bool open(const std::string& path, int fps, std::string& error);
    bool isOpen() const { return file != nullptr; }

    // One frame (pitch in bytes); the first one's size goes into the header. False with a reason.
    bool writeFrame(const std::uint32_t* pixels, int width, int height, int pitch, std::string& error);

    // Finishes the file; false with a reason. commit() then gives it its name, or discard()
    // removes it.
    bool close(std::string& error);
    bool commit(std::string& error) { return output.commit(error); }
    void discard();

private:
    OutputFile output;
    std::FILE* file = nullptr;
    int fps = 0;
    bool headerWritten = false;
    std::vector<unsigned char> planes;
};
