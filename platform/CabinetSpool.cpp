#include "platform/CabinetSpool.h"

#include <algorithm>
#include <cstring>

namespace quorvel {

void SpoolFile::truncate() {
    extents_.clear();
    size_ = 0;
    windowSource_.reset();
    windowLength_ = 0;
}

std::size_t SpoolFile::extentAt(std::uint64_t at) const {
    const auto after = std::upper_bound(
        extents_.begin(), extents_.end(), at,
        [](std::uint64_t position, const Extent& extent) { return position < extent.start; });
    return static_cast<std::size_t>(after - extents_.begin()) - 1;
}

void SpoolFile::appendBytes(const std::uint8_t* data, std::size_t count) {
    while (count > 0) {
        if (extents_.empty() || !extents_.back().bytes || extents_.back().length == kPiece) {
            Extent piece;
            piece.start = size_;
            piece.bytes = std::make_unique_for_overwrite<std::uint8_t[]>(kPiece);
            extents_.push_back(std::move(piece));
        }
        Extent& last = extents_.back();
        const std::size_t part = std::min(count, kPiece - static_cast<std::size_t>(last.length));
        if (data) {
            std::memcpy(last.bytes.get() + last.length, data, part);
            data += part;
        } else {
            std::memset(last.bytes.get() + last.length, 0, part);
        }
        last.length += part;
        size_ += part;
        count -= part;
    }
}

void SpoolFile::appendReference(const std::shared_ptr<SpoolSource>& source, std::uint64_t sourceAt,
                                std::size_t count) {
    if (!extents_.empty()) {
        Extent& last = extents_.back();
        if (last.source == source && last.sourceAt + last.length == sourceAt) {
            last.length += count;
            size_ += count;
            return;
        }
    }
    Extent reference;
    reference.start = size_;
    reference.length = count;
    reference.source = source;
    reference.sourceAt = sourceAt;
    extents_.push_back(std::move(reference));
    size_ += count;
}

// Turns the references that overlap [from, to) into bytes of their own, read from their sources.
// On a failure the file is as it was.
bool SpoolFile::ownBytesIn(std::uint64_t from, std::uint64_t to) {
    for (std::size_t i = 0; i < extents_.size(); ++i) {
        const Extent& extent = extents_[i];
        if (extent.bytes || extent.start >= to || from >= extent.start + extent.length) {
            continue;
        }
        std::vector<Extent> pieces;
        for (std::uint64_t done = 0; done < extent.length;) {
            Extent piece;
            piece.start = extent.start + done;
            piece.length = std::min<std::uint64_t>(kPiece, extent.length - done);
            piece.bytes = std::make_unique_for_overwrite<std::uint8_t[]>(kPiece);
            if (!readSource(extent, done, piece.bytes.get(),
                            static_cast<std::size_t>(piece.length))) {
                return false;
            }
            done += piece.length;
            pieces.push_back(std::move(piece));
        }
        const auto at = extents_.erase(extents_.begin() + static_cast<std::ptrdiff_t>(i));
        extents_.insert(at, std::make_move_iterator(pieces.begin()),
                        std::make_move_iterator(pieces.end()));
        i += pieces.size() - 1;
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
    if (at > size_) {
        appendBytes(nullptr, static_cast<std::size_t>(at - size_));
    }
    const std::uint64_t end = at + count;
    const std::uint64_t overwritten = std::min(end, size_);
    if (at < overwritten) {
        if (!ownBytesIn(at, overwritten)) {
            return false;
        }
        for (std::size_t i = extentAt(at); at < overwritten; ++i) {
            Extent& extent = extents_[i];
            const std::uint64_t offset = at - extent.start;
            const std::size_t part =
                static_cast<std::size_t>(std::min(overwritten - at, extent.length - offset));
            std::memcpy(extent.bytes.get() + offset, data, part);
            data += part;
            at += part;
        }
    }
    if (end > at) {
        appendBytes(data, static_cast<std::size_t>(end - at));
    }
    return true;
}

bool SpoolFile::readSource(const Extent& extent, std::uint64_t offset, std::uint8_t* out,
                           std::size_t count) {
    std::uint64_t position = extent.sourceAt + offset;
    while (count > 0) {
        if (windowSource_ != extent.source || position < windowAt_ ||
            position >= windowAt_ + windowLength_) {
            if (!window_) {
                window_ = std::make_unique_for_overwrite<std::uint8_t[]>(kWindow);
            }
            const std::size_t length = static_cast<std::size_t>(
                std::min<std::uint64_t>(kWindow, extent.sourceAt + extent.length - position));
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
        if (extent.bytes) {
            std::memcpy(out + done, extent.bytes.get() + offset, part);
        } else if (!readSource(extent, offset, out + done, part)) {
            return -1;
        }
        done += part;
    }
    return static_cast<std::int64_t>(count);
}

std::uint64_t SpoolFile::bytesHeld() const {
    std::uint64_t held = 0;
    for (const Extent& extent : extents_) {
        held += extent.bytes ? kPiece : 0;
    }
    return held;
}

std::size_t SpoolFile::references() const {
    return static_cast<std::size_t>(std::count_if(
        extents_.begin(), extents_.end(), [](const Extent& extent) { return !extent.bytes; }));
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

} // namespace quorvel
