// A thread that loads previews off the GUI thread. The window submits jobs; the worker loads
// their files (decoding images with the system's decoders), keeps the finished result and posts
// a message to the window, which takes the result on its own thread. The worker never touches a
// window beyond that one posted message.
#pragma once

#include "preview/win32/PreviewLoading.h"

#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace quorvel {

struct PreviewJob {
    // A newer job of the same channel replaces one still waiting and stops one being loaded at
    // its next file; its result is never delivered.
    int channel = 0;
    std::vector<std::pair<std::string, preview::Kind>> files;
    preview::Size box;  // images: the box of the thumbnail
    bool cover = false; // images: cover the box rather than fit inside it
};

struct PreviewResult {
    int channel = 0;
    std::uint64_t serial = 0;
    std::vector<LoadedItem> items; // one for each file of the job, in order
};

class PreviewWorker {
public:
    // Results are announced by posting `message` to `notify`.
    PreviewWorker(HWND notify, UINT message);
    // Waits for the file being loaded (if any) and ends the thread.
    ~PreviewWorker();
    PreviewWorker(const PreviewWorker&) = delete;
    PreviewWorker& operator=(const PreviewWorker&) = delete;

    // Queues a job; its serial is returned and comes back with the result.
    std::uint64_t submit(PreviewJob job);
    // Drops what a channel waits for or loads.
    void cancel(int channel);
    // The results finished since the last call, oldest first.
    std::vector<std::unique_ptr<PreviewResult>> take();

private:
    void run();
    bool current(int channel, std::uint64_t serial);

    HWND notify_;
    UINT message_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::pair<std::uint64_t, PreviewJob>> waiting_;
    std::vector<std::unique_ptr<PreviewResult>> finished_;
    std::map<int, std::uint64_t> latest_;
    std::uint64_t serial_ = 0;
    bool stop_ = false;
    std::thread thread_;
};

} // namespace quorvel
