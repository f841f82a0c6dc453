// Opening a project file with a large slideshow: the file is read through the platform layer of
// the build and parsed into a wizard state, as opening it from the wizard does. The figure is
// the median of the rounds against a target of 0.2 s.
#include "model/ProjectFile.h"

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
};

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with("--images=")) {
            options.images = std::atoi(argv[i] + 9);
        } else if (arg.starts_with("--rounds=")) {
            options.rounds = std::max(1, std::atoi(argv[i] + 9));
        } else {
            std::fprintf(stderr, "usage: %s [--images=N] [--rounds=R]\n", argv[0]);
            std::exit(64);
        }
    }
    return options;
}

// A state as a user builds it: every field filled, every slot picked, and the slideshow.
ProjectState bigState(int images) {
    ProjectState state;
    for (std::size_t i = 0; i < kProjectFieldCount; ++i) {
        const ProjectField& field = projectFields()[i];
        if (field.kind == FieldKind::Text) {
            state.controls[i] = "D:\\主题素材\\" + std::string(field.key) + "\\文件.ico";
        } else if (field.kind == FieldKind::Tick) {
            state.controls[i] = true;
        } else {
            state.controls[i] = field.maximum;
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
    const ProjectState state = bigState(options.images);
    const ProjectText text = writeProjectFile(state);
    const auto* data = reinterpret_cast<const std::uint8_t*>(text.bytes.data());
    if (!text.error.empty() || !platform.writeFile(path, {data, text.bytes.size()})) {
        std::fprintf(stderr, "cannot write the project file\n");
        return 1;
    }

    std::vector<double> times;
    for (int round = 0; round < options.rounds; ++round) {
        const auto started = std::chrono::steady_clock::now();
        const std::optional<std::string> bytes = platform.readFile(path);
        const ProjectReadResult read = readProjectFile(bytes ? *bytes : std::string());
        const auto took = std::chrono::steady_clock::now() - started;
        if (!read.state || !(*read.state == state)) {
            std::fprintf(stderr, "the project did not read back: %s\n", read.error.c_str());
            return 1;
        }
        times.push_back(std::chrono::duration<double>(took).count());
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);

    std::sort(times.begin(), times.end());
    std::printf("project with %d slideshow images (%zu KB): read and parsed in %.1f ms (median of "
                "%d), fastest %.1f ms, slowest %.1f ms; target 200 ms\n",
                options.images, text.bytes.size() / 1024, 1000 * times[times.size() / 2],
                options.rounds, 1000 * times.front(), 1000 * times.back());
    return 0;
}

} // namespace
} // namespace quorvel

int main(int argc, char** argv) {
    return quorvel::run(quorvel::parse(argc, argv));
}
