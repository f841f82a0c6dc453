// Time to the first preview of a large image against decoding it whole.
//
// The first preview is timed as the wizard gets it: from submitting the job to a preview worker
// (a thread of its own, which starts COM and the image decoders at its first image) until the
// worker's message arrives at the window and the thumbnail is taken. The first round starts from
// a process that has loaded no decoder yet; later rounds use a new worker each (a new thread,
// COM and decoder factory) with the system's libraries already loaded. The whole decode uses the
// same decoders at the image's own size. While a preview loads, the window's thread keeps
// answering: the longest wait of its message loop is given as well.
//
//   quorvel_preview_bench --image=big.jpg [--rounds=N]
#include "preview/win32/PreviewLoading.h"
#include "preview/win32/PreviewWorker.h"

#include "platform/win32/WideText.h"

#include "BenchClock.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using quorvel::bench::median;
using quorvel::bench::now;

using namespace quorvel;

constexpr UINT kReady = WM_APP + 1;

struct FirstPreview {
    double seconds = 0;
    double longestWait = 0; // the longest the message loop went without running
    bool ok = false;
    bool scaled = false;
    preview::Size size;
};

FirstPreview firstPreview(HWND window, const std::string& path) {
    FirstPreview result;
    const double start = now();
    PreviewWorker worker(window, kReady);
    PreviewJob job;
    job.files.emplace_back(path, preview::Kind::Image);
    job.box = preview::kImageBox;
    worker.submit(std::move(job));
    double last = now();
    for (;;) {
        // Wakes at least every 5 ms, as a window with input to answer would.
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        const double t = now();
        result.longestWait = std::max(result.longestWait, t - last);
        last = t;
        MSG message{};
        bool ready = false;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ready = ready || message.message == kReady;
            ::DispatchMessageW(&message);
        }
        if (!ready) {
            continue;
        }
        for (std::unique_ptr<PreviewResult>& done : worker.take()) {
            const LoadedItem& item = done->items.front();
            result.ok = !item.failure && !item.pixels.bgra.empty();
            result.scaled = item.scaledDecode;
            result.size = {item.pixels.width, item.pixels.height};
            result.seconds = now() - start;
            return result;
        }
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring image;
    int rounds = 7;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg.rfind(L"--image=", 0) == 0) {
            image = arg.substr(8);
        } else if (arg.rfind(L"--rounds=", 0) == 0) {
            rounds = std::max(1, _wtoi(arg.substr(9).c_str()));
        }
    }
    if (image.empty()) {
        std::fprintf(stderr, "usage: quorvel_preview_bench --image=FILE [--rounds=N]\n");
        return 2;
    }
    const std::string path = toUtf8(image);
    const HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                          nullptr, nullptr);

    const FirstPreview cold = firstPreview(window, path);
    if (!cold.ok) {
        std::fprintf(stderr, "the image could not be previewed\n");
        return 1;
    }
    std::vector<double> previews;
    double longestWait = cold.longestWait;
    for (int i = 0; i < rounds; ++i) {
        const FirstPreview warm = firstPreview(window, path);
        previews.push_back(warm.seconds);
        longestWait = std::max(longestWait, warm.longestWait);
    }

    const ComThread com;
    ImageDecoder decoder;
    std::vector<double> wholes;
    preview::Size whole;
    for (int i = 0; i < rounds; ++i) {
        LoadedItem item;
        const double start = now();
        decoder.whole(image, item);
        wholes.push_back(now() - start);
        whole = {item.pixels.width, item.pixels.height};
        if (item.failure) {
            std::fprintf(stderr, "the whole image could not be decoded\n");
            return 1;
        }
    }
    std::printf("image: %d x %d, decoders: %s, decoder's own scaled decode: %s\n", whole.width,
                whole.height, decoder.usesWic() ? "WIC" : "GDI+", cold.scaled ? "yes" : "no");
    std::printf("first preview (%d x %d), first in the process: %.1f ms\n", cold.size.width,
                cold.size.height, cold.seconds * 1000);
    std::printf("first preview, median of %d with a new worker each: %.1f ms\n", rounds,
                median(previews) * 1000);
    std::printf("whole decode, median of %d: %.1f ms\n", rounds, median(wholes) * 1000);
    std::printf("ratio first preview / whole decode: %.2f\n", median(previews) / median(wholes));
    std::printf("longest wait of the window's message loop while previews loaded: %.1f ms\n",
                longestWait * 1000);
    ::DestroyWindow(window);
    return 0;
}
