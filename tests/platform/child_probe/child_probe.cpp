// child_probe REPORT CODE [INPUT...]: a stand-in for the encoder the mp4 writer starts. Reads each
// INPUT ("pipe:N", the descriptor N it was handed) to its end, one after the other, writes a line
// per input to REPORT (its byte count and the sum of its bytes), and exits with CODE. CODE "sleep":
// reads nothing and waits ten minutes, for whoever ends it.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

// Bytes from descriptor `fd`; read as they come, so a text-mode descriptor would show.
long long readAll(int fd, unsigned long long& sum) {
    unsigned char buffer[65536];
    long long total = 0;
    for (;;) {
#ifdef _WIN32
        const int n = _read(fd, buffer, sizeof buffer);
#else
        const long n = ::read(fd, buffer, sizeof buffer);
#endif
        if (n <= 0) return n < 0 ? -1 : total;
        for (long i = 0; i < n; ++i) sum += buffer[i];
        total += n;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 125;
    if (std::strcmp(argv[2], "sleep") == 0) {
        std::this_thread::sleep_for(std::chrono::minutes(10));
        return 0;
    }
    std::FILE* report = std::fopen(argv[1], "w");
    if (!report) return 126;
    for (int i = 3; i < argc; ++i) {
        if (std::strncmp(argv[i], "pipe:", 5) != 0) return 127;
        unsigned long long sum = 0;
        const long long bytes = readAll(std::atoi(argv[i] + 5), sum);
        std::fprintf(report, "%lld %llu\n", bytes, sum);
    }
    std::fclose(report);
    return std::atoi(argv[2]);
}
