#include "preview/win32/PreviewWorker.h"

#include <algorithm>

namespace quorvel {

PreviewWorker::PreviewWorker(HWND notify, UINT message)
    : notify_(notify), message_(message), thread_([this] { run(); }) {}

PreviewWorker::~PreviewWorker() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
        waiting_.clear();
    }
    wake_.notify_all();
    thread_.join();
}

std::uint64_t PreviewWorker::submit(PreviewJob job) {
    std::uint64_t serial = 0;
    {
        const std::lock_guard lock(mutex_);
        serial = ++serial_;
        latest_[job.channel] = serial;
        std::erase_if(waiting_,
                      [&](const auto& entry) { return entry.second.channel == job.channel; });
        waiting_.emplace_back(serial, std::move(job));
    }
    wake_.notify_all();
    return serial;
}

void PreviewWorker::cancel(int channel) {
    const std::lock_guard lock(mutex_);
    latest_[channel] = ++serial_;
    std::erase_if(waiting_, [&](const auto& entry) { return entry.second.channel == channel; });
    std::erase_if(finished_, [&](const auto& result) { return result->channel == channel; });
}

std::vector<std::unique_ptr<PreviewResult>> PreviewWorker::take() {
    const std::lock_guard lock(mutex_);
    std::vector<std::unique_ptr<PreviewResult>> results = std::move(finished_);
    finished_.clear();
    std::erase_if(
        results, [this](const auto& result) { return latest_[result->channel] != result->serial; });
    return results;
}

bool PreviewWorker::current(int channel, std::uint64_t serial) {
    const std::lock_guard lock(mutex_);
    return !stop_ && latest_[channel] == serial;
}

void PreviewWorker::run() {
    // COM for WIC on this thread; the decoder (and with it the codecs' library) is made at the
    // first image, so that nothing of it is loaded before a preview needs it.
    const ComThread com;
    std::unique_ptr<ImageDecoder> decoder;
    for (;;) {
        std::uint64_t serial = 0;
        PreviewJob job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stop_ || !waiting_.empty(); });
            if (stop_) {
                return;
            }
            serial = waiting_.front().first;
            job = std::move(waiting_.front().second);
            waiting_.pop_front();
        }
        auto result = std::make_unique<PreviewResult>();
        result->channel = job.channel;
        result->serial = serial;
        bool dropped = false;
        for (const auto& [path, kind] : job.files) {
            if (!current(job.channel, serial)) {
                dropped = true;
                break;
            }
            if (kind == preview::Kind::Image && !decoder) {
                decoder = std::make_unique<ImageDecoder>();
            }
            result->items.push_back(loadItem(path, kind, decoder.get(), job.box, job.cover));
        }
        if (dropped) {
            continue;
        }
        {
            const std::lock_guard lock(mutex_);
            if (stop_ || latest_[job.channel] != serial) {
                continue;
            }
            finished_.push_back(std::move(result));
        }
        ::PostMessageW(notify_, message_, 0, 0);
    }
}

} // namespace quorvel
