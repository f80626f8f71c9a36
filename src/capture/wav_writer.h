#pragma once
// A wav file of interleaved 16-bit stereo samples at the show's rate (core/audio_format.h): the
// header goes first with sizes of 0 and is written again with the real sizes on close.
#include <cstdint>
#include <cstdio>
#include <string>

#include "capture/output_file.h"

class WavWriter {
public:
    WavWriter() = default;
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // Creates the file (under its temporary name, see output_file.h); false with a reason.
    bool open(const std::string& path, std::string& error);
    bool isOpen() const { return file != nullptr; }

    // Appends sample frames, little-endian whatever the host; false with a reason.
    bool write(const std::int16_t* samples, std::size_t frames, std::string& error);

    // Writes the header's sizes and closes the file; false with a reason. commit() then gives it
    // its name, or discard() removes it.
    bool close(std::string& error);
    bool commit(std::string& error) { return output.commit(error); }
    void discard();

private:
    OutputFile output;
    std::FILE* file = nullptr;
    std::uint64_t dataBytes = 0;
};
