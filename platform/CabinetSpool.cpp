#include "platform/CabinetSpool.h"

#include <algorithm>
#include <cstring>

namespace quorvel {

void SpoolFile::truncate() {
    extents_.clear();
    size_ = 0;
    store_.clear();
    stored_ = 0;
    windowSource_.reset();
    windowLength_ = 0;
}

std::size_t SpoolFile::extentAt(std::uint64_t at) const {
    const auto after = std::upper_bound(
        extents_.begin(), extents_.end(), at,
        [](std::uint64_t position, const Extent& extent) { return position < extent.start; });
    return static_cast<std::size_t>(after - extents_.begin()) - 1;
}

// Copies count bytes into the store at `at` (from `from`, zeros when null) or, with `to`, out of
// it.
void SpoolFile::storeCopy(std::uint64_t at, const std::uint8_t* from, std::uint8_t* to,
                          std::size_t count) {
    while (count > 0) {
        const std::size_t index = static_cast<std::size_t>(at / kPiece);
        const std::size_t offset = static_cast<std::size_t>(at % kPiece);
        const std::size_t part = std::min(count, kPiece - offset);
        while (store_.size() <= index) {
            store_.push_back(std::make_unique_for_overwrite<std::uint8_t[]>(kPiece));
        }
        std::uint8_t* piece = store_[index].get() + offset;
        if (to) {
            std::memcpy(to, piece, part);
            to += part;
        } else if (from) {
            std::memcpy(piece, from, part);
            from += part;
        } else {
            std::memset(piece, 0, part);
        }
        at += part;
        count -= part;
    }
}

void SpoolFile::appendBytes(const std::uint8_t* data, std::size_t count) {
    if (count == 0) {
        return;
    }
    if (!extents_.empty() && !extents_.back().source &&
        extents_.back().at + extents_.back().length == stored_) {
        extents_.back().length += count;
    } else {
        extents_.push_back({size_, count, nullptr, stored_});
    }
    storeCopy(stored_, data, nullptr, count);
    stored_ += count;
    size_ += count;
}

void SpoolFile::appendReference(const std::shared_ptr<SpoolSource>& source, std::uint64_t sourceAt,
                                std::size_t count) {
    if (!extents_.empty() && extents_.back().source == source &&
        extents_.back().at + extents_.back().length == sourceAt) {
        extents_.back().length += count;
    } else {
        extents_.push_back({size_, count, source, sourceAt});
    }
    size_ += count;
}

// Turns the references that overlap [from, to) into bytes of the store, read from their sources.
bool SpoolFile::ownBytesIn(std::uint64_t from, std::uint64_t to) {
    const std::uint64_t storedBefore = stored_;
    std::vector<std::pair<std::size_t, std::uint64_t>> owned; // extent, its place in the store
    for (std::size_t i = 0; i < extents_.size(); ++i) {
        const Extent& extent = extents_[i];
        if (!extent.source || extent.start >= to || from >= extent.start + extent.length) {
            continue;
        }
        owned.emplace_back(i, stored_);
        std::vector<std::uint8_t> bytes(kWindow);
        for (std::uint64_t done = 0; done < extent.length;) {
            const std::size_t part =
                static_cast<std::size_t>(std::min<std::uint64_t>(kWindow, extent.length - done));
            if (!readSource(extent, done, bytes.data(), part)) {
                stored_ = storedBefore; // what was stored beyond it is unused
                return false;
            }
            storeCopy(stored_, bytes.data(), nullptr, part);
            stored_ += part;
            done += part;
        }
    }
    for (const auto& [index, at] : owned) {
        extents_[index].source.reset();
        extents_[index].at = at;
    }
    return true;
}

bool SpoolFile::write(std::uint64_t at, const std::uint8_t* data, std::size_t count,
                      std::span<const HandedPiece> handed) {
    if (at == size_ && !handed.empty()) {
        std::size_t total = 0;
        for (const HandedPiece& piece : handed) {
            total += piece.length;
        }
        if (total == count) {
            for (const HandedPiece& piece : handed) {
                if (piece.source && piece.bytes &&
                    std::memcmp(piece.bytes, data, piece.length) == 0) {
                    appendReference(piece.source, piece.sourceAt, piece.length);
                } else {
                    appendBytes(data, piece.length);
                }
                data += piece.length;
            }
            return true;
        }
    }
    const std::uint64_t end = at + count;
    const std::uint64_t overwritten = std::min(end, size_);
    if (at < overwritten) {
        if (!ownBytesIn(at, overwritten)) {
            return false;
        }
        for (std::size_t i = extentAt(at); at < overwritten; ++i) {
            const Extent& extent = extents_[i];
            const std::uint64_t offset = at - extent.start;
            const std::size_t part =
                static_cast<std::size_t>(std::min(overwritten - at, extent.length - offset));
            storeCopy(extent.at + offset, data, nullptr, part);
            data += part;
            at += part;
        }
    }
    if (at > size_) {
        appendBytes(nullptr, static_cast<std::size_t>(at - size_));
    }
    if (end > at) {
        appendBytes(data, static_cast<std::size_t>(end - at));
    }
    return true;
}

bool SpoolFile::readSource(const Extent& extent, std::uint64_t offset, std::uint8_t* out,
                           std::size_t count) {
    std::uint64_t position = extent.at + offset;
    while (count > 0) {
        if (windowSource_ != extent.source || position < windowAt_ ||
            position >= windowAt_ + windowLength_) {
            if (!window_) {
                window_ = std::make_unique_for_overwrite<std::uint8_t[]>(kWindow);
            }
            const std::size_t length = static_cast<std::size_t>(
                std::min<std::uint64_t>(kWindow, extent.at + extent.length - position));
            windowSource_.reset();
            if (!extent.source->readAt(position, window_.get(), length)) {
                return false;
            }
            windowSource_ = extent.source;
            windowAt_ = position;
            windowLength_ = length;
        }
        const std::size_t from = static_cast<std::size_t>(position - windowAt_);
        const std::size_t part = std::min(count, windowLength_ - from);
        std::memcpy(out, window_.get() + from, part);
        out += part;
        position += part;
        count -= part;
    }
    return true;
}

std::int64_t SpoolFile::read(std::uint64_t at, std::uint8_t* out, std::size_t count) {
    if (at >= size_) {
        return 0;
    }
    count = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - at));
    std::size_t done = 0;
    for (std::size_t i = extentAt(at); done < count; ++i) {
        const Extent& extent = extents_[i];
        const std::uint64_t offset = at + done - extent.start;
        const std::size_t part =
            static_cast<std::size_t>(std::min<std::uint64_t>(count - done, extent.length - offset));
        if (!extent.source) {
            storeCopy(extent.at + offset, nullptr, out + done, part);
        } else if (!readSource(extent, offset, out + done, part)) {
            return -1;
        }
        done += part;
    }
    return static_cast<std::int64_t>(count);
}

std::size_t SpoolFile::references() const {
    return static_cast<std::size_t>(
        std::count_if(extents_.begin(), extents_.end(),
                      [](const Extent& extent) { return extent.source != nullptr; }));
}

BackgroundWriter::BackgroundWriter(Sink sink, std::size_t bufferBytes, std::size_t buffers)
    : sink_(std::move(sink)), bufferBytes_(bufferBytes) {
    free_.resize(std::max<std::size_t>(buffers, 1));
    for (std::vector<std::uint8_t>& buffer : free_) {
        buffer.reserve(bufferBytes_);
    }
    thread_ = std::thread([this] { run(); });
}

BackgroundWriter::~BackgroundWriter() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void BackgroundWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !full_.empty(); });
        if (stopping_) {
            return;
        }
        std::vector<std::uint8_t> buffer = std::move(full_.front());
        full_.pop_front();
        writing_ = true;
        const bool skip = failed_;
        lock.unlock();
        const bool written = skip || sink_(buffer.data(), buffer.size());
        lock.lock();
        failed_ = failed_ || !written;
        writing_ = false;
        buffer.clear();
        free_.push_back(std::move(buffer));
        changed_.notify_all();
    }
}

void BackgroundWriter::handOver(std::unique_lock<std::mutex>&) {
    full_.push_back(std::move(filling_));
    filling_ = {};
    haveFilling_ = false;
    changed_.notify_all();
}

bool BackgroundWriter::write(const std::uint8_t* data, std::size_t count) {
    while (count > 0) {
        if (!haveFilling_) {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return !free_.empty(); });
            filling_ = std::move(free_.back());
            free_.pop_back();
            haveFilling_ = true;
        }
        const std::size_t part = std::min(count, bufferBytes_ - filling_.size());
        filling_.insert(filling_.end(), data, data + part);
        data += part;
        count -= part;
        if (filling_.size() == bufferBytes_) {
            std::unique_lock lock(mutex_);
            handOver(lock);
        }
    }
    const std::lock_guard lock(mutex_);
    return !failed_;
}

bool BackgroundWriter::finish() {
    std::unique_lock lock(mutex_);
    if (haveFilling_ && !filling_.empty()) {
        handOver(lock);
    }
    changed_.wait(lock, [this] { return full_.empty() && !writing_; });
    return !failed_;
}

BackgroundRepeat::BackgroundRepeat(std::function<void()> work) : work_(std::move(work)) {
    thread_ = std::thread([this] {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return stopping_ || poked_; });
            if (stopping_) {
                return;
            }
            poked_ = false;
            lock.unlock();
            work_();
            lock.lock();
        }
    });
}

BackgroundRepeat::~BackgroundRepeat() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void BackgroundRepeat::poke() {
    {
        const std::lock_guard lock(mutex_);
        poked_ = true;
    }
    changed_.notify_all();
}

} // namespace quorvel
