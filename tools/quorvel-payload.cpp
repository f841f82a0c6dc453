// Writes the four files that the program carries inside itself into a folder, for inspection and
// for comparing the output of two builds:
//
//   quorvel-payload OUTPUT-FOLDER
//
// The folder must exist. The files are written under their pack names: empty.wav,
// aero.msstyles.mui, shellstyle.dll and shellstyle.dll.mui.
#include "generator/Payload.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>

namespace {

bool writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

int run(const std::filesystem::path& folder) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        std::fprintf(stderr, "quorvel-payload: the output folder does not exist\n");
        return 2;
    }
    const struct {
        const char* name;
        std::span<const std::uint8_t> bytes;
    } files[] = {
        {"empty.wav", quorvel::payload::emptyWav()},
        {"aero.msstyles.mui", quorvel::payload::aeroMsstylesMui()},
        {"shellstyle.dll", quorvel::payload::shellStyleDll()},
        {"shellstyle.dll.mui", quorvel::payload::shellStyleDllMui()},
    };
    int status = 0;
    for (const auto& file : files) {
        if (!writeFile(folder / file.name, file.bytes)) {
            std::fprintf(stderr, "quorvel-payload: cannot write %s\n", file.name);
            status = 1;
        }
    }
    return status;
}

int usage() {
    std::fprintf(stderr, "usage: quorvel-payload OUTPUT-FOLDER\n");
    return 2;
}

} // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
#else
int main(int argc, char** argv) {
#endif
    if (argc != 2) {
        return usage();
    }
    return run(std::filesystem::path(argv[1]));
}
