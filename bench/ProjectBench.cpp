// Opening a project file with a large slideshow as the wizard opens it: the file is read through
// the platform layer of the build, parsed into a wizard state and put into the wizard's controls
// (in memory) and picks. The figure is the median of the rounds against a target of 0.2 s.
// With --missing=N it opens a .theme file instead whose slideshow names N images that do not
// exist, up to the message that lists them (the time should grow in step with N).
#include "MemoryControls.h"
#include "model/ProjectFile.h"
#include "model/SystemScreensavers.h"
#include "pages/ProjectSession.h"
#include "pages/RequestCapture.h"

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
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {
namespace {

struct Options {
    int images = 5000;
    int rounds = 21;
    int missing = 0;
};

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with("--images=")) {
            options.images = std::atoi(argv[i] + 9);
        } else if (arg.starts_with("--missing=")) {
            options.missing = std::max(1, std::atoi(argv[i] + 10));
        } else if (arg.starts_with("--rounds=")) {
            options.rounds = std::max(1, std::atoi(argv[i] + 9));
        } else {
            std::fprintf(stderr, "usage: %s [--images=N | --missing=N] [--rounds=R]\n", argv[0]);
            std::exit(64);
        }
    }
    return options;
}

// A state as a user builds it: every field filled, every slot picked, and the slideshow.
ThemeDocument bigState(int images) {
    ThemeDocument state;
    for (const PageSet set : {PageSet::Win7, PageSet::Xp}) {
        PageChoices& choices = state.choices(set);
        choices.pointerScheme.item = kCustomSchemeItem;
        choices.soundScheme.item = kCustomSchemeItem;
        choices.screensaver = ScreensaverSource::Own;
        choices.systemScreensaverItem = static_cast<int>(systemScreensavers(set).size());
        choices.transparencySlider = 255;
        for (const ProjectField& field : projectFields(set)) {
            if (field.role == FieldRole::Text) {
                field.text(choices) = "D:\\主题素材\\" + field.key + "\\文件.ico";
            }
        }
    }
    for (AssetRef& slot : state.picks.cursorFiles) {
        slot = {"D:\\主题素材\\指针\\港湾 指针.cur", "港湾 指针.cur"};
    }
    for (int i = 0; i < images; ++i) {
        const std::string name = "第" + std::to_string(i + 1) + "张 秋日港湾的风景.jpg";
        state.picks.slideshowFiles.push_back({"D:\\主题素材\\幻灯片壁纸\\" + name, name});
    }
    return state;
}

// A .theme file whose slideshow names `missing` images that are not there.
std::string themeWithMissingImages(int missing) {
    std::string text = "[Theme]\r\nDisplayName=港湾\r\n[Slideshow]\r\nInterval=600000\r\n";
    for (int i = 1; i <= missing; ++i) {
        const std::string number = std::to_string(i);
        text += "Item" + number + "Path=D:\\不在\\第" + number + "张 秋日港湾的风景.jpg\r\n";
    }
    return text;
}

int runMissing(Platform& platform, const std::string& folder, const Options& options) {
    const std::string path = folder + "\\missing.theme";
    const std::optional<std::string> text =
        platform.toAnsi(themeWithMissingImages(options.missing));
    if (!text || !platform.writeFile(
                     path, {reinterpret_cast<const std::uint8_t*>(text->data()), text->size()})) {
        std::fprintf(stderr, "cannot write the theme file\n");
        return 1;
    }
    std::vector<double> times;
    for (int round = 0; round < options.rounds; ++round) {
        MemoryWizardUi ui;
        AppState app;
        const auto started = std::chrono::steady_clock::now();
        const OpenedDocument read =
            readDocument(path, platform, PageSet::Win7, documentOfControls(ui, app, PageSet::Win7));
        if (read.document) {
            showDocument(*read.document, ui, app);
        }
        const std::string message = missingFilesMessage(read.missing);
        times.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
        if (!read.document || read.missing.size() != static_cast<std::size_t>(options.missing) ||
            message.empty()) {
            std::fprintf(stderr, "the theme did not open: %s\n", read.error.c_str());
            return 1;
        }
    }
    std::sort(times.begin(), times.end());
    std::printf("theme with %d missing slideshow images (%zu KB): opened in %.1f ms (median of "
                "%d), fastest %.1f ms, slowest %.1f ms\n",
                options.missing, text->size() / 1024, 1000 * times[times.size() / 2],
                options.rounds, 1000 * times.front(), 1000 * times.back());
    return 0;
}

int run(const Options& options) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("quorvel-project-bench-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder);
#ifdef _WIN32
    Win32Platform platform;
    const std::string path = toUtf8((folder / "bench.quorvel").wstring());
#else
    HostPlatform platform(folder);
    const std::string path = "C:\\bench.quorvel";
    std::filesystem::create_directories(platform.hostPath("C:\\"));
#endif
    if (options.missing > 0) {
#ifdef _WIN32
        const int result = runMissing(platform, toUtf8(folder.wstring()), options);
#else
        const int result = runMissing(platform, "C:", options);
#endif
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
        return result;
    }
    const ThemeDocument state = bigState(options.images);
    const ProjectText text = writeProjectFile(state);
    const auto* data = reinterpret_cast<const std::uint8_t*>(text.bytes.data());
    if (!text.error.empty() || !platform.writeFile(path, {data, text.bytes.size()})) {
        std::fprintf(stderr, "cannot write the project file\n");
        return 1;
    }

    std::vector<double> times;
    std::vector<double> readTimes;
    for (int round = 0; round < options.rounds; ++round) {
        MemoryWizardUi ui;
        AppState app;
        const auto started = std::chrono::steady_clock::now();
        const OpenedDocument read = readDocument(path, platform, PageSet::Win7);
        const auto readTook = std::chrono::steady_clock::now() - started;
        if (read.document) {
            showDocument(*read.document, ui, app);
            restorePickedColor(read.document->pickedColor, app.palette);
        }
        const auto took = std::chrono::steady_clock::now() - started;
        if (!read.document || !(*read.document == state) ||
            app.project.slideshowFiles != state.picks.slideshowFiles) {
            std::fprintf(stderr, "the project did not read back: %s\n", read.error.c_str());
            return 1;
        }
        times.push_back(std::chrono::duration<double>(took).count());
        readTimes.push_back(std::chrono::duration<double>(readTook).count());
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);

    std::sort(times.begin(), times.end());
    std::sort(readTimes.begin(), readTimes.end());
    std::printf("project with %d slideshow images (%zu KB): opened in %.1f ms (median of %d; read "
                "and parsed %.1f ms of it), fastest %.1f ms, slowest %.1f ms; target 200 ms\n",
                options.images, text.bytes.size() / 1024, 1000 * times[times.size() / 2],
                options.rounds, 1000 * readTimes[readTimes.size() / 2], 1000 * times.front(),
                1000 * times.back());
    return 0;
}

} // namespace
} // namespace quorvel

int main(int argc, char** argv) {
    return quorvel::run(quorvel::parse(argc, argv));
}
