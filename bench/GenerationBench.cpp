// Generation against a plain copy: a Windows 7 theme with every slot chosen and a slideshow of a
// few hundred images (some hundreds of MB in all) is generated, and the same files are copied
// into the same folder layout with nothing but the platform's make-directory and copy calls, on
// the same disk in the same run. The result is the ratio of the two medians; the generator's
// fixed 500 ms pause is recorded, not slept, so the ratio is the cost of everything else.
//
// Built natively (host platform layer) and for Windows (Win32 layer, run under Wine):
//   quorvel_generation_bench [--images=N] [--image-kb=K] [--rounds=R] [--folder=DIR]
// Defaults: 300 images of 1,024 KB, 9 rounds, a scratch folder in the system's temporary folder.
#include "generator/Win7ThemeGenerator.h"
#include "model/ThemeRequest.h"
#include "platform/ForwardingPlatform.h"

#ifdef _WIN32
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"
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
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {
namespace {

// The platform of the build with a pause that is only counted and message boxes that are only
// remembered: a benchmark must neither sleep nor wait for a click.
class BenchPlatform : public ForwardingPlatform {
public:
    explicit BenchPlatform(Platform& real) : ForwardingPlatform(real) {}

    void messageBox(const std::string& text, MessageIcon, const std::string&) override {
        lastMessage = text;
    }
    void delay(int milliseconds) override { pausedMs += milliseconds; }
    void openWebAddress(const std::string&) override {}

    std::string lastMessage;
    int pausedMs = 0;
};

// A scratch folder reached through the real platform layer of the build, removed at the end.
class Scratch {
public:
    explicit Scratch(const std::string& where) {
        const std::filesystem::path base =
            where.empty() ? std::filesystem::temp_directory_path() : std::filesystem::path(where);
#ifdef _WIN32
        host_ = base / ("quorvel-bench-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(host_);
        root_ = toUtf8(host_.wstring());
        platform_ = std::make_unique<Win32Platform>();
#else
        std::string pattern = (base / "quorvel-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            throw std::runtime_error("cannot make a scratch folder in " + base.string());
        }
        host_ = pattern;
        auto host = std::make_unique<HostPlatform>(host_);
        root_ = "C:\\bench";
        std::filesystem::create_directories(host->hostPath(root_));
        platform_ = std::move(host);
#endif
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(host_, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    Platform& platform() {
        return *platform_;
    }
    const std::string& root() const {
        return root_;
    }
    std::filesystem::path hostFolder() const {
        return host_;
    }

    void remove(const std::string& path) {
        std::error_code ignored;
#ifdef _WIN32
        std::filesystem::remove_all(std::filesystem::path(toWide(path)), ignored);
#else
        std::filesystem::remove_all(static_cast<HostPlatform&>(*platform_).hostPath(path), ignored);
#endif
    }

private:
    std::filesystem::path host_;
    std::string root_;
    std::unique_ptr<Platform> platform_;
};

struct Options {
    int images = 300;
    int imageKb = 1024;
    int rounds = 9;
    std::string folder;
};

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const auto value = [&](std::string_view name) -> const char* {
            return arg.starts_with(name) ? argv[i] + name.size() : nullptr;
        };
        if (const char* v = value("--images=")) {
            options.images = std::atoi(v);
        } else if (const char* v = value("--image-kb=")) {
            options.imageKb = std::atoi(v);
        } else if (const char* v = value("--rounds=")) {
            options.rounds = std::atoi(v);
        } else if (const char* v = value("--folder=")) {
            options.folder = v;
        } else {
            std::fprintf(stderr,
                         "usage: %s [--images=N] [--image-kb=K] [--rounds=R] [--folder=DIR]\n",
                         argv[0]);
            std::exit(2);
        }
    }
    options.images = std::max(options.images, 1);
    options.imageKb = std::max(options.imageKb, 1);
    options.rounds = std::max(options.rounds, 1);
    return options;
}

// One chosen file: where it lies, the pack subfolder it goes to and the field that shows it.
struct Source {
    AssetRef asset;
    std::string subfolder; // "\ICON\", ... or "\" for the pack folder itself
};

class Workload {
public:
    Workload(Scratch& scratch, const Options& options) : scratch_(scratch) {
        Platform& fs = scratch.platform();
        sources_ = scratch.root() + "\\sources";
        fs.makeDirectory(sources_);
        std::mt19937 random(20260101);
        const auto make = [&](const std::string& name, std::size_t size,
                              const std::string& subfolder) {
            std::vector<std::uint8_t> bytes(size);
            for (std::size_t i = 0; i + 4 <= size; i += 4) {
                const std::uint32_t word = random();
                std::copy_n(reinterpret_cast<const std::uint8_t*>(&word), 4, bytes.data() + i);
            }
            const std::string path = sources_ + "\\" + name;
            if (!fs.writeFile(path, bytes)) {
                throw std::runtime_error("cannot write " + path);
            }
            totalBytes_ += size;
            files_.push_back({{path, name}, subfolder});
            return files_.back().asset;
        };
        for (std::size_t i = 0; i < project_.iconFiles.size(); ++i) {
            project_.iconFiles[i] =
                make("icon" + std::to_string(i) + ".ico", 100 << 10, "\\ICON\\");
        }
        for (std::size_t i = 0; i < project_.cursorFiles.size(); ++i) {
            project_.cursorFiles[i] =
                make("pointer" + std::to_string(i) + ".ani", 60 << 10, "\\Cursors\\");
        }
        for (std::size_t i = 0; i < project_.soundFiles.size(); ++i) {
            project_.soundFiles[i] =
                make("sound" + std::to_string(i) + ".wav", 1 << 20, "\\Sound\\");
        }
        project_.wallpaperFile = make("wallpaper.jpg", 2 << 20, "\\Wallpaper\\");
        for (int i = 1; i <= options.images; ++i) {
            project_.slideshowFiles.push_back(make("image" + std::to_string(i) + ".jpg",
                                                   static_cast<std::size_t>(options.imageKb) << 10,
                                                   "\\Wallpaper\\"));
        }
        project_.visualStyleFile = make("Bench.msstyles", 1 << 20, "\\");
        project_.screensaverFile = make("bench.scr", 512 << 10, "\\SCR\\");
        project_.cursorSchemeName = "Bench pointers";
        project_.soundSchemeName = "Bench sounds";
        project_.slideshowIntervalText = "60";
        project_.windowAlphaText = "7F";
        project_.windowColorText = "0066FF";
    }

    std::size_t totalBytes() const { return totalBytes_; }
    std::size_t fileCount() const { return files_.size(); }

    // The plain copy: the pack's folders, then each file copied into its place.
    void copy(const std::string& target) {
        Platform& fs = scratch_.platform();
        bool ok = fs.makeDirectory(target);
        for (const char* sub : {"\\ICON", "\\Cursors", "\\Sound", "\\Wallpaper", "\\SCR"}) {
            ok = fs.makeDirectory(target + sub) && ok;
        }
        for (const Source& file : files_) {
            ok =
                fs.copyFile(file.asset.sourcePath, target + file.subfolder + file.asset.fileName) &&
                ok;
        }
        if (!ok) {
            throw std::runtime_error("the plain copy failed");
        }
    }

    // A generation run into a new save location, every slot chosen.
    void generate(const std::string& saveLocation) {
        BenchPlatform platform(scratch_.platform());
        platform.makeDirectory(saveLocation);
        ThemeRequest request;
        request.project = project_;
        request.iconChosen.fill(true);
        request.pointerChosen.fill(true);
        request.soundChosen.fill(true);
        request.wallpaperChosen = true;
        request.slideshowChosen = true;
        request.project.cursorSchemeName = "picked";
        request.project.soundSchemeName = "picked";
        request.screensaver = ScreensaverSource::Own;
        request.project.themeName = "Bench";
        request.project.displayName = "基准主题";
        request.project.saveLocation = saveLocation;
        const GenerationReport report = generateWin7Theme(request, platform);
        platform.messageBox(report.message, report.icon, report.title);
        if (platform.lastMessage != "生成完毕!") {
            throw std::runtime_error("the generation failed: " + platform.lastMessage);
        }
        pausedMs_ = platform.pausedMs;
    }

    int pausedMs() const { return pausedMs_; }

private:
    Scratch& scratch_;
    std::string sources_;
    ThemeProject project_;
    std::vector<Source> files_;
    std::size_t totalBytes_ = 0;
    int pausedMs_ = 0;
};

// Natively, writes still waiting for the disk are written out before each timed step, so that
// no step pays for the one before it. The Windows build has no such call for the whole system.
void settle() {
#ifndef _WIN32
    ::sync();
#endif
}

double secondsOf(const std::function<void()>& work) {
    settle();
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int run(const Options& options) {
    Scratch scratch(options.folder);
    std::printf("generation bench: scratch folder %s\n", scratch.hostFolder().string().c_str());
    Workload work(scratch, options);
    const double megabytes = static_cast<double>(work.totalBytes()) / (1 << 20);
    std::printf("workload: %zu files, %.1f MB (%d slideshow images of %d KB)\n", work.fileCount(),
                megabytes, options.images, options.imageKb);

    // The first generation of a process also builds the support files; it is reported on its
    // own and not counted in the rounds.
    const std::string first = scratch.root() + "\\first";
    const double firstRun = secondsOf([&] { work.generate(first); });
    scratch.remove(first);
    std::printf("first generation in the process: %.3f s\n", firstRun);

    std::vector<double> copies;
    std::vector<double> generations;
    for (int round = 0; round < options.rounds; ++round) {
        const std::string copyTarget = scratch.root() + "\\copy";
        const std::string saveLocation = scratch.root() + "\\save";
        // Alternate the order, so that neither always meets the other's writes in flight.
        const auto timeCopy = [&] { copies.push_back(secondsOf([&] { work.copy(copyTarget); })); };
        const auto timeGeneration = [&] {
            generations.push_back(secondsOf([&] { work.generate(saveLocation); }));
        };
        if (round % 2 == 0) {
            timeCopy();
            timeGeneration();
        } else {
            timeGeneration();
            timeCopy();
        }
        std::printf("round %d: plain copy %.3f s, generation %.3f s\n", round + 1, copies.back(),
                    generations.back());
        scratch.remove(copyTarget);
        scratch.remove(saveLocation);
    }
    const double copy = median(copies);
    const double generation = median(generations);
    std::printf("median: plain copy %.3f s (%.0f MB/s), generation %.3f s (%.0f MB/s)\n", copy,
                megabytes / copy, generation, megabytes / generation);
    std::printf("pause asked for by each generation (not slept, not counted): %d ms\n",
                work.pausedMs());
    // On a disk that others use as well, the fastest round is the one least disturbed by them.
    const double fastestCopy = *std::min_element(copies.begin(), copies.end());
    const double fastestGeneration = *std::min_element(generations.begin(), generations.end());
    std::printf("fastest: plain copy %.3f s, generation %.3f s\n", fastestCopy, fastestGeneration);
    std::printf("ratio generation / plain copy: %.3f (medians), %.3f (fastest rounds)\n",
                generation / copy, fastestGeneration / fastestCopy);
    return 0;
}

} // namespace
} // namespace quorvel

int main(int argc, char** argv) {
    try {
        return quorvel::run(quorvel::parse(argc, argv));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "generation bench: %s\n", error.what());
        return 1;
    }
}
