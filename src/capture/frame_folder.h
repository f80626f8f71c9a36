#pragma once
// The PNG frames' folder. It is made when missing; each frame is written under a temporary name
// and renamed at once, so a frame file is whole or absent; and a capture that fails takes its
// frames back (and the folder, when it made it), also when the process ends from deep inside
// the show (see exit_cleanup.h). An interrupted capture keeps the frames it finished.
#include <cstdint>
#include <string>
#include <vector>

class FrameFolder {
public:
    FrameFolder() = default;
    ~FrameFolder();
    FrameFolder(const FrameFolder&) = delete;
    FrameFolder& operator=(const FrameFolder&) = delete;

    // Makes the folder if needed and checks that files can be written there; false with a reason.
    bool open(const std::string& folder, std::string& error);
    bool isOpen() const { return !folder.empty(); }

    // Writes written frame `index` as frameNNNNNN.png (pitch in bytes); false with a reason.
    bool write(long index, const std::uint32_t* pixels, int width, int height, int pitch, std::string& error);
    long written() const { return count; }
    const std::string& path() const { return folder; }

    // The capture succeeded: the frames stay.
    void keep();
    // The capture failed: the frames go, and the folder if this run made it.
    void discard();

private:
    std::string folder;
    bool madeFolder = false;
    std::vector<std::string> frames; // this run's, until kept
    long count = 0;
};
