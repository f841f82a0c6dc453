// Generation measured from outside: the real program in its real window against the system's
// own copy of the same files, in the same run, on the same disk.
//
// A slideshow of N images is made twice, once small (1 MB in all) and once large (N images of
// M MB). For each size:
//  - copy: the images are copied with CopyFileW into a fresh folder, timed from the first call
//    to the last return;
//  - program: quorvel.exe is started as a Windows 7 system, walked through the Windows 7 pages
//    with default schemes, the images chosen in the slideshow's own open-file dialog (the
//    folder typed, then the names), the save location picked in the folder browser, and timed
//    from the release of the mouse button on "生  成" until its closing message box shows.
// The sizes, and within a size the copy and the program, take turns from round to round. The
// figure is the extra time the large run takes over the small one, program against copy, from
// the medians: the generator's fixed pause, the click and the message box cancel out.
//
// Each timed step starts S seconds (20 unless told) after the files of the step before it were
// removed, the program's walk through its pages included, so that the copy and the program meet
// the disk and the system's file cache in the same state: a copy timed right after the step
// before would be compared with a program that had its whole walk (about 17 s) to settle.
//
//   quorvel_outside_bench --program=quorvel.exe --work=DIR [--images=N] [--image-mb=M]
//                         [--rounds=R] [--settle=S]
#include "AppDriver.h"

#include "BenchClock.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using quorvel::bench::median;
using quorvel::bench::now;

using namespace std::chrono_literals;
using quorvel::e2e::App;
using quorvel::e2e::Kind;
using quorvel::e2e::narrow;
using quorvel::e2e::settings;
using quorvel::e2e::waitUntil;
using quorvel::e2e::widen;

struct Options {
    int images = 20;
    int imageMb = 20;
    int rounds = 9;
    int settleSeconds = 20;
    std::wstring work;
};

// Writes a file of pseudo-random bytes (so that no layer can skip or compress them).
bool writeImage(const std::wstring& path, std::size_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<std::uint32_t> block((1u << 20) / sizeof(std::uint32_t));
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool ok = true;
    for (std::size_t done = 0; ok && done < size;) {
        for (auto& word : block) {
            word = random();
        }
        const auto want =
            static_cast<DWORD>(std::min(size - done, block.size() * sizeof(std::uint32_t)));
        DWORD written = 0;
        ok = ::WriteFile(file, block.data(), want, &written, nullptr) && written == want;
        done += want;
    }
    ::CloseHandle(file);
    return ok;
}

void removeTree(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring child = path + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(child);
            } else {
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(path.c_str());
}

std::wstring imageName(int index) {
    return std::to_wstring(index + 1) + L".jpg";
}

// One set of slideshow images.
struct ImageSet {
    std::wstring folder;
    int count;
    std::uint64_t bytes;
};

double timeCopy(const ImageSet& set, const std::wstring& target) {
    const double start = now();
    bool ok = ::CreateDirectoryW(target.c_str(), nullptr) != FALSE;
    for (int i = 0; ok && i < set.count; ++i) {
        ok = ::CopyFileW((set.folder + L"\\" + imageName(i)).c_str(),
                         (target + L"\\" + imageName(i)).c_str(), FALSE) != FALSE;
    }
    const double elapsed = now() - start;
    if (!ok) {
        throw std::runtime_error("the plain copy failed");
    }
    return elapsed;
}

// The program's message box once it shows. Polled every few milliseconds with one call to the
// system each time: a busier watch would take processor time from the program it times.
HWND closingBox(DWORD process, double timeoutSeconds) {
    const double end = now() + timeoutSeconds;
    while (now() < end) {
        for (HWND box = ::FindWindowExW(nullptr, nullptr, L"#32770", nullptr); box;
             box = ::FindWindowExW(nullptr, box, L"#32770", nullptr)) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(box, &owner);
            if (owner == process && ::IsWindowVisible(box)) {
                return box;
            }
        }
        ::Sleep(5);
    }
    return nullptr;
}

void waitUntilTime(double time) {
    while (now() < time) {
        ::Sleep(static_cast<DWORD>(std::min(1000.0, (time - now()) * 1000) + 1));
    }
}

void require(bool condition, const char* what) {
    if (!condition) {
        throw std::runtime_error(std::string("driving the program failed: ") + what);
    }
}

void press(App& app, std::string_view caption, std::string_view nextButton) {
    const HWND button = app.find(Kind::Button, caption);
    require(button != nullptr, std::string(caption).c_str());
    app.click(button);
    require(waitUntil([&] { return app.find(Kind::Button, nextButton) != nullptr; }, 5000ms),
            std::string(nextButton).c_str());
}

void pick(App& app, int left, int top, std::string_view item) {
    const HWND list = app.findAt(Kind::List, left, top);
    require(list != nullptr && app.pickItem(list, item), std::string(item).c_str());
}

void typeInto(App& app, int left, int top, std::string_view text) {
    const HWND field = app.findAt(Kind::Field, left, top);
    require(field != nullptr, "a field");
    app.type(field, text);
    require(app.text(field) == text, "typing into a field");
}

// Walks a fresh program to its last Windows 7 page as a user does, with the slideshow's images
// and the save location chosen in the system's dialogs, presses "生  成" and returns the time
// until the closing message box shows.
double timeProgram(const ImageSet& set, const std::wstring& style, const std::wstring& out,
                   double startAt) {
    require(::CreateDirectoryW(out.c_str(), nullptr) != FALSE, "making the save location");
    App app(L"win7");
    require(app.running(), "starting the program");
    press(app, "生成Win7主题", "下一步");
    press(app, "下一步", "下一步");
    pick(app, 138, 18, "系统默认鼠标方案");
    press(app, "下一步", "下一步");
    pick(app, 159, 91, "系统默认声音方案");
    press(app, "下一步", "下一步");

    const HWND browse = app.findAt(Kind::Button, 432, 198);
    require(browse != nullptr, "the slideshow's browse button");
    app.click(browse);
    const HWND images = app.fileDialog(5000ms);
    require(images != nullptr, "the slideshow's dialog");
    app.enterFileName(images, narrow(set.folder));
    std::string names;
    for (int i = 0; i < set.count; ++i) {
        names += (i ? " \"" : "\"") + narrow(imageName(i)) + "\"";
    }
    app.fillFileName(images, names);
    app.key(VK_RETURN);
    require(app.closed(images), "closing the slideshow's dialog");

    press(app, "下一步", "下一步");
    const HWND styleBrowse = app.findAt(Kind::Button, 432, 92);
    require(styleBrowse != nullptr, "the visual style's browse button");
    app.click(styleBrowse);
    const HWND styleDialog = app.fileDialog(5000ms);
    require(styleDialog != nullptr, "the visual style's dialog");
    app.enterFileName(styleDialog, narrow(style));
    require(app.closed(styleDialog), "closing the visual style's dialog");
    press(app, "下一步", "生  成");

    const HWND folder = app.findAt(Kind::Button, 432, 161);
    require(folder != nullptr, "the save location's browse button");
    app.click(folder);
    const HWND browser = app.folderBrowser(5000ms);
    require(browser != nullptr && app.selectFolder(browser, out), "the folder browser");
    app.click(app.dialogButton(browser, "确定"));
    require(app.closed(browser), "closing the folder browser");
    require(waitUntil([&] { return app.enabled(app.mainWindow()); }, 3000ms),
            "the window after the folder browser");
    typeInto(app, 159, 92, "幻灯片");
    typeInto(app, 159, 127, "幻灯片");

    if (now() > startAt) {
        std::printf("note: the walk through the pages took longer than the settling time\n");
    }
    waitUntilTime(startAt);
    // The button acts on the release of the mouse button: the clock starts just before it.
    const HWND generate = app.find(Kind::Button, "生  成");
    require(generate != nullptr, "the generate button");
    RECT rect{};
    ::GetWindowRect(generate, &rect);
    const POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    INPUT down = quorvel::e2e::mouseAt(centre, MOUSEEVENTF_LEFTDOWN);
    ::SendInput(1, &down, sizeof(INPUT));
    std::this_thread::sleep_for(100ms);
    app.settle();
    DWORD process = 0;
    ::GetWindowThreadProcessId(app.mainWindow(), &process);
    INPUT up = quorvel::e2e::mouseAt(centre, MOUSEEVENTF_LEFTUP);
    const double start = now();
    ::SendInput(1, &up, sizeof(INPUT));
    const HWND box = closingBox(process, 600);
    const double elapsed = now() - start;
    require(box != nullptr, "the closing message");
    const auto seen = app.messageBox(1000ms);
    if (!seen || seen->text != "生成完毕!") {
        throw std::runtime_error("the program closed with: " + (seen ? seen->text : "?"));
    }
    app.confirm(*seen);
    return elapsed;
}

void verifyPack(const ImageSet& set, const std::wstring& out) {
    for (int i = 0; i < set.count; ++i) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        const std::wstring copy = out + L"\\幻灯片\\Wallpaper\\" + imageName(i);
        const bool found = ::GetFileAttributesExW(copy.c_str(), GetFileExInfoStandard, &data);
        const std::uint64_t size = (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        require(found && size == set.bytes / static_cast<std::uint64_t>(set.count),
                "an image of the pack");
    }
}

Options parse(int argc, wchar_t** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::wstring_view arg = argv[i];
        const auto value = [&](std::wstring_view prefix) {
            return std::wstring(arg.substr(prefix.size()));
        };
        if (arg.starts_with(L"--program=")) {
            settings().program = value(L"--program=");
        } else if (arg.starts_with(L"--work=")) {
            options.work = value(L"--work=");
        } else if (arg.starts_with(L"--images=")) {
            options.images = std::stoi(value(L"--images="));
        } else if (arg.starts_with(L"--image-mb=")) {
            options.imageMb = std::stoi(value(L"--image-mb="));
        } else if (arg.starts_with(L"--settle=")) {
            options.settleSeconds = std::stoi(value(L"--settle="));
        } else if (arg.starts_with(L"--rounds=")) {
            options.rounds = std::stoi(value(L"--rounds="));
        } else {
            throw std::invalid_argument("unknown argument " + narrow(arg));
        }
    }
    if (settings().program.empty() || options.work.empty() || options.images < 1 ||
        options.imageMb < 1 || options.rounds < 1 || options.settleSeconds < 0) {
        throw std::invalid_argument(
            "usage: quorvel_outside_bench --program=quorvel.exe --work=DIR [--images=N] "
            "[--image-mb=M] [--rounds=R] [--settle=S]");
    }
    return options;
}

int run(const Options& options) {
    const std::wstring work = options.work;
    removeTree(work);
    require(::CreateDirectoryW(work.c_str(), nullptr) != FALSE, "making the work folder");
    const std::uint64_t largeBytes = std::uint64_t(options.imageMb) << 20;
    const std::uint64_t smallBytes = (std::uint64_t(1) << 20) / std::uint64_t(options.images);
    ImageSet sets[2] = {
        {work + L"\\small", options.images, smallBytes * std::uint64_t(options.images)},
        {work + L"\\large", options.images, largeBytes * std::uint64_t(options.images)}};
    for (const ImageSet& set : sets) {
        require(::CreateDirectoryW(set.folder.c_str(), nullptr) != FALSE, "an image folder");
        for (int i = 0; i < set.count; ++i) {
            require(writeImage(set.folder + L"\\" + imageName(i),
                               set.bytes / std::uint64_t(set.count), std::uint32_t(i)),
                    "writing an image");
        }
    }
    const std::wstring style = work + L"\\aero.msstyles";
    require(writeImage(style, 4096, 7), "writing the visual style");

    std::printf("slideshow of %d images: small %.1f MB, large %.1f MB; %d rounds\n", options.images,
                double(sets[0].bytes) / (1 << 20), double(sets[1].bytes) / (1 << 20),
                options.rounds);
    std::vector<double> copies[2];
    std::vector<double> programs[2];
    std::vector<double> ratios; // each round's own: its program against its copy
    int folders = 0;
    double cleared = now();
    for (int round = 0; round < options.rounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const int size = (round + turn) % 2;
            for (int step = 0; step < 2; ++step) {
                const std::wstring out = work + L"\\out" + std::to_wstring(++folders);
                const bool copyFirst = (round / 2 + turn) % 2 == 0;
                const double startAt = cleared + options.settleSeconds;
                if ((step == 0) == copyFirst) {
                    waitUntilTime(startAt);
                    copies[size].push_back(timeCopy(sets[size], out));
                } else {
                    programs[size].push_back(timeProgram(sets[size], style, out, startAt));
                    verifyPack(sets[size], out);
                }
                removeTree(out);
                cleared = now();
            }
        }
        const double ratio =
            (programs[1].back() - programs[0].back()) / (copies[1].back() - copies[0].back());
        ratios.push_back(ratio);
        std::printf("round %d: copy %.3f s / %.3f s, program %.3f s / %.3f s (small / large), "
                    "ratio %.2f\n",
                    round + 1, copies[0].back(), copies[1].back(), programs[0].back(),
                    programs[1].back(), ratio);
        std::fflush(stdout);
    }
    const double copy = median(copies[1]) - median(copies[0]);
    const double program = median(programs[1]) - median(programs[0]);
    std::printf("medians: copy %.3f s / %.3f s, program %.3f s / %.3f s (small / large)\n",
                median(copies[0]), median(copies[1]), median(programs[0]), median(programs[1]));
    std::printf("large minus small: program %.3f s, copy %.3f s, ratio %.2f; median of the "
                "rounds' ratios %.2f\n",
                program, copy, program / copy, median(ratios));
    removeTree(work);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        return run(parse(argc, argv));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quorvel_outside_bench: %s\n", error.what());
        return 1;
    }
}
