#include "platform/mp4_writer.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// The child reads the picture on descriptor 3 and the sound on 4; everything above is closed.
constexpr int kChildVideoFd = 3;
constexpr int kChildAudioFd = 4;
constexpr int kFirstFreeFd = 5;

constexpr const char* kEncoderProgram = "ffmpeg";
// Pixel-art frames compress well: a low constant rate factor keeps the edges crisp at small cost.
constexpr const char* kVideoQuality = "20";
constexpr const char* kVideoPreset = "veryfast";
constexpr const char* kAudioBitrate = "192k";
// Packets of 1,024 sample frames: about twenty seconds of sound.
constexpr const char* kAudioQueuePackets = "1024";

// Pixels 0x00RRGGBB as they lie in memory.
constexpr const char* kRawPixelFormat =
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    "0rgb";
#else
    "bgr0";
#endif

struct Pipe {
    int read = -1, write = -1;
};

// A pipe whose ends do not leak into other children, with the read end above the child's
// target descriptors so the dup2 calls cannot clobber each other.
bool makePipe(Pipe& p) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    p.read = fcntl(fds[0], F_DUPFD_CLOEXEC, kFirstFreeFd);
    ::close(fds[0]);
    p.write = fds[1];
    if (p.read < 0) {
        ::close(p.write);
        p.write = -1;
        return false;
    }
    return true;
}

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

} // namespace

Mp4Writer::~Mp4Writer() {
    std::string ignored;
    close(ignored);
}

bool Mp4Writer::open(const std::string& outputPath, int w, int h, int fps, int sampleRate, int ch,
                     std::string& error) {
    path = outputPath;
    width = w;
    height = h;
    channels = ch;
    // A dying encoder must come back as a failed write, not end the whole program.
    std::signal(SIGPIPE, SIG_IGN);

    Pipe video, audio;
    if (!makePipe(video) || !makePipe(audio)) {
        error = std::string("could not create pipes for ffmpeg: ") + std::strerror(errno);
        closeFd(video.read), closeFd(video.write), closeFd(audio.read), closeFd(audio.write);
        return false;
    }

    const std::string size = std::to_string(w) + "x" + std::to_string(h);
    const std::string rate = std::to_string(fps);
    const std::string samples = std::to_string(sampleRate);
    const std::string channelCount = std::to_string(ch);
    const std::string videoIn = "pipe:" + std::to_string(kChildVideoFd);
    const std::string audioIn = "pipe:" + std::to_string(kChildAudioFd);
    const std::vector<std::string> args = {
        kEncoderProgram, "-hide_banner", "-nostdin", "-loglevel", "error", "-y",
        // Both inputs are fully described, so nothing needs probing: ffmpeg must not wait for more of
        // one stream than the writer has given it while the writer waits on the other.
        // The picture: raw frames at their final size.
        "-probesize", "32", "-analyzeduration", "0", "-f", "rawvideo", "-pix_fmt", kRawPixelFormat,
        "-video_size", size, "-framerate", rate, "-i", videoIn,
        // The sound: interleaved little-endian 16-bit samples.
        // The encoder holds back some frames before its first packet, while the sound keeps coming:
        // room for many seconds of sound, so its pipe never fills while ffmpeg waits for pictures.
        "-thread_queue_size", kAudioQueuePackets, "-probesize", "32", "-analyzeduration", "0", "-f", "s16le",
        "-ar", samples, "-ac", channelCount, "-i", audioIn, "-map", "0:v", "-map", "1:a", "-vf",
        "scale=out_color_matrix=bt709:out_range=tv,format=yuv420p", "-c:v", "libx264", "-preset",
        kVideoPreset, "-crf", kVideoQuality, "-colorspace", "bt709", "-color_primaries", "bt709",
        "-color_trc", "bt709", "-color_range", "tv", "-c:a", "aac", "-b:a", kAudioBitrate,
        // The index first, so players can start before the whole file has arrived.
        "-movflags", "+faststart", outputPath};
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, video.read, kChildVideoFd);
    posix_spawn_file_actions_adddup2(&actions, audio.read, kChildAudioFd);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, kFirstFreeFd);
    const int spawned = posix_spawnp(&child, kEncoderProgram, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    closeFd(video.read);
    closeFd(audio.read);
    if (spawned != 0) {
        child = -1;
        closeFd(video.write);
        closeFd(audio.write);
        error = std::string("could not start ffmpeg (Debian package ffmpeg): ") + std::strerror(spawned);
        return false;
    }
    videoFd = video.write;
    audioFd = audio.write;
    broken = false;
    return true;
}

bool Mp4Writer::writeAll(int fd, const void* data, std::size_t bytes) {
    const auto* p = static_cast<const unsigned char*>(data);
    while (bytes > 0 && !broken) {
        const ssize_t n = ::write(fd, p, bytes);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            broken = true;
            break;
        }
        p += n;
        bytes -= static_cast<std::size_t>(n);
    }
    return !broken;
}

bool Mp4Writer::writeFrame(const std::uint32_t* pixels) {
    return isOpen() && writeAll(videoFd, pixels, sizeof(std::uint32_t) * width * height);
}

bool Mp4Writer::writeAudio(const std::int16_t* samples, std::size_t frames) {
    if (!isOpen()) return false;
    const std::size_t count = frames * channels;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    std::vector<std::int16_t> swapped(samples, samples + count);
    for (std::int16_t& s : swapped)
        s = static_cast<std::int16_t>(__builtin_bswap16(static_cast<std::uint16_t>(s)));
    samples = swapped.data();
#endif
    return writeAll(audioFd, samples, count * sizeof(std::int16_t));
}

bool Mp4Writer::close(std::string& error) {
    if (!isOpen()) return true;
    // Closing both pipes ends the streams; ffmpeg then finishes the file and exits.
    closeFd(videoFd);
    closeFd(audioFd);
    int status = 0;
    pid_t waited;
    do waited = waitpid(child, &status, 0);
    while (waited < 0 && errno == EINTR);
    child = -1;
    if (waited < 0) {
        error = "could not wait for ffmpeg: " + std::string(std::strerror(errno));
        return false;
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        if (!broken) return true;
        error = "ffmpeg stopped taking data for " + path;
        return false;
    }
    if (WIFEXITED(status))
        error = "ffmpeg could not write " + path + " (exit code " + std::to_string(WEXITSTATUS(status)) + ")";
    else
        error = "ffmpeg ended abnormally while writing " + path;
    return false;
}
