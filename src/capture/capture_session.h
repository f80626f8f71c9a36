#pragma once
// Capture mode's output: the presented frames (PNG files, a y4m video, an mp4 made by ffmpeg) and
// the music (a wav file, the mp4's sound), on a virtual clock of exactly fps frames per second.
// Deterministic: the same show and the same options write the same frames and samples.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "capture/frame_folder.h"
#include "capture/frame_scaler.h"
#include "capture/mp4_writer.h"
#include "capture/wav_writer.h"
#include "capture/y4m_writer.h"

struct CaptureOptions {
    int fps = 60;
    double seconds = 0.0;     // length of the output; 0 or less: until the show ends
    double songSeconds = 0.0; // also stop once the music has played this long (0: no such limit)
    std::string pngDir;       // one PNG per kept frame, named frame000000.png by written frame
    int every = 1;            // write only every N-th frame as a PNG
    std::string y4mPath;      // every frame, as a y4m video
    std::string wavPath;
    std::string mp4Path; // every frame at 4:3 in 1440x1080, with the music, encoded by ffmpeg
    int scale = 1;       // enlargement of the PNG and y4m frames
    FrameAspect aspect = FrameAspect::Square;
    // Where the output begins (the show runs up to there unwritten): at the first frame that hears
    // this sync value, or the first frame at or after this many seconds of music. Negative: from
    // the first frame, the loading screen included.
    int startSync = -1;
    double startSeconds = -1.0;
};

// One presented frame as the session saw it, for observers (progress, logs, contact sheets).
struct CapturedFrame {
    const std::uint32_t* pixels;
    int width, height, pitch;
    long frame;      // frames presented before this one
    long written;    // frames written before this one; -1 when this one was not written
    long musicFrame; // frames since the music started; -1 before it
};

class CaptureSession {
public:
    // The mp4 is the 320x200 picture at 4:3 on a 1080-line screen.
    static constexpr int kMp4Width = 1440;
    static constexpr int kMp4Height = 1080;

    explicit CaptureSession(CaptureOptions options);
    ~CaptureSession();
    CaptureSession(const CaptureSession&) = delete;
    CaptureSession& operator=(const CaptureSession&) = delete;

    // Creates the output files under their temporary names (see output_file.h) and starts
    // ffmpeg; false with a reason when one cannot be created, and then none is left.
    bool open(std::string& error);
    // Finishes the files (the wav header's sizes, the mp4); false with the first error of the run.
    bool close(std::string& error);
    // Gives the finished files their names and keeps the PNG frames; false with a reason.
    bool commit(std::string& error);
    // Removes every file of the run (ffmpeg is ended at once). Also what the destructor does
    // with files not committed.
    void discard();

    // The music player's news: it starts now (the next frame is the music's first), and it heard
    // a sync command with this value in the current frame.
    void musicStarted();
    void noteSync(int value);

    // Sample frames of music still owed to the current video frame (0 once written).
    std::size_t audioFramesDue() const;
    void writeAudio(const std::int16_t* samples, std::size_t frames);

    // Takes one presented frame (frames past the time limit are dropped). A frame that got no
    // music gets silence, so sound and picture stay in step.
    void present(const std::uint32_t* pixels, int width, int height, int pitch);

    // Called for every frame presented until the session finishes, written or not.
    void setFrameObserver(std::function<void(const CapturedFrame&)> observer) {
        onFrame = std::move(observer);
    }

    // True once the time limit is reached, writing failed or a stop was asked for (see
    // stop_request.h): the show should end.
    bool finished() const;
    // Whether a stop signal ended the capture.
    bool stoppedBySignal() const { return stopped; }
    long framesPresented() const { return frame; }
    long framesWritten() const { return written; }
    long pngFramesWritten() const { return pngs.written(); }
    // False while the output waits for its start (sync value or music time).
    bool outputBegan() const { return outputStartFrame >= 0; }
    int fps() const { return options.fps; }
    // Whether any output takes the sound (the wav file, the mp4).
    bool writesSound() const { return !options.wavPath.empty() || !options.mp4Path.empty(); }

private:
    std::size_t samplesForFrame(long index) const;
    bool outputStarted();
    void fail(const std::string& message);
    void writeFrameFiles(const std::uint32_t* pixels, int width, int height, int pitch);

    CaptureOptions options;
    long frameLimit = -1;
    long songFrameLimit = -1;
    long frame = 0;
    long written = 0;
    long musicStartFrame = -1;
    long outputStartFrame = -1;
    bool audioWritten = false;
    bool stopped = false;
    Y4mWriter y4m;
    WavWriter wav;
    Mp4Writer mp4;
    FrameFolder pngs;
    std::unique_ptr<FrameScaler> fileScaler;
    std::vector<std::uint32_t> scaled;
    std::function<void(const CapturedFrame&)> onFrame;
    std::string firstError;
};
