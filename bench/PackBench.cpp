// Opening a theme pack as the wizard opens it (listing, checks, extraction into the folder of
// packs, reading its theme into a wizard state) against copying the pack's bytes into a new file
// of the same disk with the platform layer's copy. The pack is stored (as packs with JPEG images
// are), a theme and a slideshow of 20 images of 20 MB by default. The figure is the ratio of the
// medians of the rounds, which alternate which of the two goes first; target 1.30.
#include "model/ThemePack.h"
#include "pages/ProjectSession.h"

#include "CabinetWriter.h"
#include "platform/ForwardingPlatform.h"

#ifdef _WIN32
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"
#else
#include "platform/host/HostPlatform.h"
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {
namespace {

struct Options {
    int images = 20;
    int imageMb = 20;
    int rounds = 9;
};

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with("--images=")) {
            options.images = std::max(1, std::atoi(argv[i] + 9));
        } else if (arg.starts_with("--image-mb=")) {
            options.imageMb = std::max(1, std::atoi(argv[i] + 11));
        } else if (arg.starts_with("--rounds=")) {
            options.rounds = std::max(1, std::atoi(argv[i] + 9));
        } else {
            std::fprintf(stderr, "usage: %s [--images=N] [--image-mb=M] [--rounds=R]\n", argv[0]);
            std::exit(64);
        }
    }
    return options;
}

// The platform of the build with the folder of packs inside the bench's folder.
class BenchPlatform : public ForwardingPlatform {
public:
    BenchPlatform(Platform& real, std::string data)
        : ForwardingPlatform(real), data_(std::move(data)) {}
    std::string localDataFolder() override { return data_; }

private:
    std::string data_;
};

std::string utf16(std::string_view ascii) {
    std::string out = "\xFF\xFE";
    for (const char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int run(const Options& options) {
    const std::filesystem::path host =
        std::filesystem::temp_directory_path() /
        ("quorvel-pack-bench-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(host);
#ifdef _WIN32
    Win32Platform real;
    const std::string root = toUtf8(host.wstring());
#else
    HostPlatform real(host);
    const std::string root = "C:\\bench";
    std::filesystem::create_directories(real.hostPath(root));
#endif
    BenchPlatform platform(real, root + "\\Local");
    platform.makeDirectory(root + "\\Local");

    std::string theme =
        "[Theme]\r\nDisplayName=Bench\r\n[Control Panel\\Desktop]\r\n"
        "Wallpaper=DesktopBackground\\img0.jpg\r\n[Slideshow]\r\nInterval=600000\r\n";
    std::vector<test::CabinetEntry> entries{{"bench.theme", {}}};
    std::mt19937 random(7);
    for (int i = 0; i < options.images; ++i) {
        theme += "Item" + std::to_string(i) + "Path=DesktopBackground\\img" + std::to_string(i) +
                 ".jpg\r\n";
        std::string bytes(static_cast<std::size_t>(options.imageMb) << 20, '\0');
        for (char& c : bytes) {
            c = static_cast<char>(random() & 0xFF);
        }
        entries.push_back(
            {"DesktopBackground\\img" + std::to_string(i) + ".jpg", std::move(bytes)});
    }
    entries[0].bytes = utf16(theme + "[MasterThemeSelector]\r\nMTSM=DABJDKT\r\n");
    const std::string pack = root + "\\bench.themepack";
    {
        const std::string cabinet = test::writeCabinet(entries);
        entries.clear();
        if (!platform.writeFile(
                pack, {reinterpret_cast<const std::uint8_t*>(cabinet.data()), cabinet.size()})) {
            std::fprintf(stderr, "cannot write the pack\n");
            return 1;
        }
    }
    const std::string packs = packsFolder(platform);
    const std::string copy = root + "\\copy.themepack";

    std::vector<double> opens;
    std::vector<double> copies;
    std::vector<double> listings;
    for (int round = 0; round < options.rounds; ++round) {
        removeFolderTree(packs + "\\bench", platform);
        platform.removePath(copy);
        const auto open = [&] {
            const auto started = std::chrono::steady_clock::now();
            const OpenedDocument document = readDocument(pack, platform, PageSet::Win7);
            opens.push_back(seconds(std::chrono::steady_clock::now() - started));
            return document.document && document.document->picks.slideshowFiles.size() ==
                                            static_cast<std::size_t>(options.images);
        };
        const auto copyPack = [&] {
            const auto started = std::chrono::steady_clock::now();
            const bool copied = platform.copyFile(pack, copy);
            copies.push_back(seconds(std::chrono::steady_clock::now() - started));
            return copied;
        };
        const bool ok = round % 2 == 0 ? open() && copyPack() : copyPack() && open();
        // The directory alone, every member skipped, as the first step of opening reads it.
        const auto started = std::chrono::steady_clock::now();
        platform.readCabinet(pack, [](const CabinetMember&) { return CabinetDecision{}; });
        listings.push_back(seconds(std::chrono::steady_clock::now() - started));
        if (!ok) {
            std::fprintf(stderr, "round %d failed\n", round + 1);
            return 1;
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(host, ignored);
    const double open = median(opens);
    const double copied = median(copies);
    std::printf("pack of %d images of %d MB: opened in %.3f s, copied in %.3f s (medians of %d) = "
                "%.2f; fastest rounds %.3f / %.3f s = %.2f; target 1.30; listing the members "
                "alone %.3f s\n",
                options.images, options.imageMb, open, copied, options.rounds, open / copied,
                *std::min_element(opens.begin(), opens.end()),
                *std::min_element(copies.begin(), copies.end()),
                *std::min_element(opens.begin(), opens.end()) /
                    *std::min_element(copies.begin(), copies.end()),
                median(listings));
    return 0;
}

} // namespace
} // namespace quorvel

int main(int argc, char** argv) {
    return quorvel::run(quorvel::parse(argc, argv));
}
