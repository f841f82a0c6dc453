// Exporting a theme pack against a plain copy: a Windows 7 theme whose slideshow holds N images
// of M MB (random bytes, so stored as they are, as JPEG files are) is exported as a .themepack,
// and the same files are copied into one folder with the platform's copy, on the same disk in the
// same run. The result is the ratio of the medians (and of the fastest rounds); the order of the
// two alternates from round to round.
//
// Built natively (the host's uncompressed writer) and for Windows (the cabinet library's FCI,
// run under Wine):
//   quorvel_pack_export_bench [--images=N] [--image-mb=M] [--rounds=R]
// Defaults: 20 images of 20 MB, 5 rounds, a scratch folder in the system's temporary folder.
#include "generator/PackExport.h"

#ifdef _WIN32
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"

#include <windows.h>

#include <psapi.h>
#else
#include "platform/host/HostPlatform.h"
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvel {
namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int run(int images, int imageMb, int rounds) {
    const std::filesystem::path host =
        std::filesystem::temp_directory_path() /
        ("quorvel-pack-bench-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(host);
#ifdef _WIN32
    Win32Platform platform;
    const std::string root = toUtf8(host.wstring());
    const auto remove = [&](const std::string& path) {
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(toWide(path)), ignored);
    };
#else
    HostPlatform platform(host);
    const std::string root = "C:\\bench";
    std::filesystem::create_directories(platform.hostPath(root));
    const auto remove = [&](const std::string& path) {
        std::error_code ignored;
        std::filesystem::remove_all(platform.hostPath(path), ignored);
    };
#endif
    std::printf("pack bench: scratch folder %s\n", host.string().c_str());

    ThemeRequest request;
    request.pageSet = PageSet::Win7;
    request.project.themeName = "Bench";
    request.project.displayName = "基准主题";
    request.project.slideshowIntervalText = "60";
    request.project.windowAlphaText = "7F";
    request.project.windowColorText = "0066FF";
    request.slideshowChosen = true;
    request.wallpaperChosen = true;
    platform.makeDirectory(root + "\\sources");
    std::mt19937 random(20260101);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(imageMb) << 20);
    for (int i = 0; i < images; ++i) {
        for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4) {
            const std::uint32_t word = random();
            std::copy_n(reinterpret_cast<const std::uint8_t*>(&word), 4, bytes.data() + at);
        }
        const std::string name = "image" + std::to_string(i + 1) + ".jpg";
        const std::string path = root + "\\sources\\" + name;
        if (!platform.writeFile(path, bytes)) {
            throw std::runtime_error("cannot write " + path);
        }
        request.project.slideshowFiles.push_back({path, name});
    }
    request.project.wallpaperFile = request.project.slideshowFiles.front();

    const auto timed = [](const std::function<void()>& work) {
#ifndef _WIN32
        ::sync();
#endif
        const auto start = std::chrono::steady_clock::now();
        work();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    const std::string copyFolder = root + "\\copy";
    const std::string pack = root + "\\Bench.themepack";
    const auto copy = [&] {
        bool ok = platform.makeDirectory(copyFolder);
        for (const AssetRef& image : request.project.slideshowFiles) {
            ok = platform.copyFile(image.sourcePath, copyFolder + "\\" + image.fileName) && ok;
        }
        if (!ok) {
            throw std::runtime_error("the plain copy failed");
        }
    };
    const auto exportIt = [&] {
        const GenerationReport report = exportPack(request, pack, platform);
        if (report.outcome != GenerationOutcome::Complete) {
            throw std::runtime_error("the export failed: " + report.message);
        }
    };
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS before{};
    before.cb = sizeof before;
    ::K32GetProcessMemoryInfo(::GetCurrentProcess(), &before, sizeof before);
    const SIZE_T peakBefore = before.PeakWorkingSetSize;
#endif
    std::vector<double> copies;
    std::vector<double> exports;
    for (int round = 0; round < rounds; ++round) {
        if (round % 2 == 0) {
            copies.push_back(timed(copy));
            exports.push_back(timed(exportIt));
        } else {
            exports.push_back(timed(exportIt));
            copies.push_back(timed(copy));
        }
        std::printf("round %d: plain copy %.3f s, export %.3f s\n", round + 1, copies.back(),
                    exports.back());
        remove(copyFolder);
        remove(pack);
    }
    const double c = median(copies);
    const double e = median(exports);
    const double fastestCopy = *std::min_element(copies.begin(), copies.end());
    const double fastestExport = *std::min_element(exports.begin(), exports.end());
    std::printf("workload: %d images of %d MB\n", images, imageMb);
    std::printf("median: plain copy %.3f s, export %.3f s\n", c, e);
    std::printf("ratio export / plain copy: %.3f (medians), %.3f (fastest rounds)\n", e / c,
                fastestExport / fastestCopy);
#ifdef _WIN32
    // What the export added to the process's working set at its peak (the bench itself holds
    // one image's bytes, allocated before the first round).
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (::K32GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof memory)) {
        std::printf("peak working set: %.1f MB (before the rounds %.1f MB)\n",
                    static_cast<double>(memory.PeakWorkingSetSize) / (1 << 20),
                    static_cast<double>(peakBefore) / (1 << 20));
    }
#endif
    std::error_code ignored;
    std::filesystem::remove_all(host, ignored);
    return 0;
}

} // namespace
} // namespace quorvel

int main(int argc, char** argv) {
    int images = 20;
    int imageMb = 20;
    int rounds = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.starts_with("--images=")) {
            images = std::max(1, std::atoi(arg.c_str() + 9));
        } else if (arg.starts_with("--image-mb=")) {
            imageMb = std::max(1, std::atoi(arg.c_str() + 11));
        } else if (arg.starts_with("--rounds=")) {
            rounds = std::max(1, std::atoi(arg.c_str() + 9));
        } else {
            std::fprintf(stderr, "usage: %s [--images=N] [--image-mb=M] [--rounds=R]\n", argv[0]);
            return 2;
        }
    }
    try {
        return quorvel::run(images, imageMb, rounds);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pack bench: %s\n", error.what());
        return 1;
    }
}
