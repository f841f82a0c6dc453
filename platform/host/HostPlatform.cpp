#include "platform/host/HostPlatform.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <iconv.h>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel {

namespace {

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    });
    return text;
}

} // namespace

HostPlatform::HostPlatform(std::filesystem::path root) : root_(std::move(root)) {
    environment_["SYSTEMROOT"] = "C:\\Windows";
    environment_["LOCALAPPDATA"] = "C:\\Users\\Quorvel\\AppData\\Local";
}

std::filesystem::path HostPlatform::hostPath(const std::string& path) const {
    // "C:\a\b" -> root/C/a/b; a path without a drive is taken below the root as well.
    std::string rest = path;
    std::filesystem::path result = root_;
    if (rest.size() >= 2 && rest[1] == ':') {
        result /=
            std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(rest[0]))));
        rest = rest.substr(2);
    }
    std::string component;
    for (char c : rest) {
        if (c == '\\' || c == '/') {
            if (!component.empty()) {
                result /= component;
            }
            component.clear();
        } else {
            component += c;
        }
    }
    if (!component.empty()) {
        result /= component;
    }
    return result;
}

bool HostPlatform::makeDirectory(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    return ::mkdir(hostPath(path).c_str(), 0777) == 0;
}

bool HostPlatform::isDirectory(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    struct stat info {};
    return ::stat(hostPath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool HostPlatform::copyFile(const std::string& source, const std::string& target) {
    if (source.empty() || target.empty()) {
        return false;
    }
    std::error_code error;
    const auto from = hostPath(source);
    if (!std::filesystem::is_regular_file(from, error)) {
        return false;
    }
    return std::filesystem::copy_file(from, hostPath(target),
                                      std::filesystem::copy_options::overwrite_existing, error);
}

bool HostPlatform::writeFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    if (path.empty()) {
        return false;
    }
    // Written over in place and cut where the new content ends, as on Windows: ext4 pushes a
    // file that was emptied and written again to the disk when it is closed.
    const int fd = ::open(hostPath(path).c_str(), O_WRONLY | O_CREAT, 0666);
    if (fd < 0) {
        return false;
    }
    struct stat old {};
    bool ok = ::fstat(fd, &old) == 0;
    std::size_t written = 0;
    while (ok && written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            ok = errno == EINTR;
            continue;
        }
        written += static_cast<std::size_t>(n);
    }
    if (ok && static_cast<std::uint64_t>(old.st_size) > written) {
        ok = ::ftruncate(fd, static_cast<off_t>(written)) == 0;
    }
    return ::close(fd) == 0 && ok;
}

bool HostPlatform::replaceFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    if (path.empty()) {
        return false;
    }
    const std::string temporary = path + std::string(kReplacementSuffix);
    if (!writeFile(temporary, bytes)) {
        ::unlink(hostPath(temporary).c_str());
        return false;
    }
    if (::rename(hostPath(temporary).c_str(), hostPath(path).c_str()) != 0) {
        ::unlink(hostPath(temporary).c_str());
        return false;
    }
    return true;
}

bool HostPlatform::fileExists(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    struct stat info {};
    return ::stat(hostPath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<std::string> HostPlatform::readFile(const std::string& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    std::ifstream in(hostPath(path), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return content;
}

namespace {

// A regular file open for reading; anything else is refused before a byte is read from it.
class RegularFile {
public:
    explicit RegularFile(const std::filesystem::path& path)
        // O_NONBLOCK: opening a pipe without a writer (or a device) would otherwise wait.
        : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {
        struct stat info {};
        if (fd_ < 0 || ::fstat(fd_, &info) != 0) {
            refusal_ = ReadRefusal::Unreadable;
        } else if (!S_ISREG(info.st_mode)) {
            refusal_ = ReadRefusal::NotAFile;
        } else {
            size_ = static_cast<std::uint64_t>(info.st_size);
        }
    }
    ~RegularFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    ReadRefusal refusal() const { return refusal_; }
    std::uint64_t size() const { return size_; }
    // Appends up to `count` bytes from `offset`; false when a read fails.
    bool readAt(std::uint64_t offset, std::size_t count, std::string& into) const {
        char buffer[64 * 1024];
        while (count > 0) {
            const ssize_t n =
                ::pread(fd_, buffer, std::min(count, sizeof buffer), static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                return false;
            }
            if (n == 0) {
                break;
            }
            into.append(buffer, static_cast<std::size_t>(n));
            offset += static_cast<std::uint64_t>(n);
            count -= static_cast<std::size_t>(n);
        }
        return true;
    }

private:
    int fd_;
    ReadRefusal refusal_ = ReadRefusal::None;
    std::uint64_t size_ = 0;
};

} // namespace

BoundedRead HostPlatform::readRegularFile(const std::string& path, std::uint64_t maxBytes) {
    if (path.empty()) {
        return {std::nullopt, ReadRefusal::Unreadable};
    }
    const RegularFile file(hostPath(path));
    if (file.refusal() != ReadRefusal::None) {
        return {std::nullopt, file.refusal()};
    }
    if (file.size() > maxBytes) {
        return {std::nullopt, ReadRefusal::TooLarge};
    }
    std::string content;
    content.reserve(static_cast<std::size_t>(file.size()));
    // One byte beyond the limit tells a file that grew since its size was taken.
    if (!file.readAt(0, static_cast<std::size_t>(maxBytes) + 1, content)) {
        return {std::nullopt, ReadRefusal::Unreadable};
    }
    if (content.size() > maxBytes) {
        return {std::nullopt, ReadRefusal::TooLarge};
    }
    return {std::move(content), ReadRefusal::None};
}

FilePart HostPlatform::readFilePart(const std::string& path, std::uint64_t offset,
                                    std::size_t count) {
    FilePart part;
    if (path.empty()) {
        part.refusal = ReadRefusal::Unreadable;
        return part;
    }
    const RegularFile file(hostPath(path));
    part.refusal = file.refusal();
    part.fileSize = file.size();
    if (part.refusal == ReadRefusal::None && offset < part.fileSize &&
        !file.readAt(
            offset,
            static_cast<std::size_t>(std::min<std::uint64_t>(count, part.fileSize - offset)),
            part.bytes)) {
        part.refusal = ReadRefusal::Unreadable;
        part.bytes.clear();
    }
    return part;
}

std::optional<std::vector<DirectoryEntry>> HostPlatform::listDirectory(const std::string& path) {
    std::error_code error;
    std::filesystem::directory_iterator it(hostPath(path), error);
    if (error) {
        return std::nullopt;
    }
    std::vector<DirectoryEntry> entries;
    for (const auto& entry : it) {
        const bool link = entry.is_symlink(error);
        entries.push_back({entry.path().filename().string(), entry.is_directory(error), link});
    }
    return entries;
}

std::string HostPlatform::expandEnvironment(const std::string& text) {
    std::string result;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t open = text.find('%', pos);
        if (open == std::string::npos) {
            break;
        }
        const std::size_t close = text.find('%', open + 1);
        if (close == std::string::npos) {
            break;
        }
        const std::string name = text.substr(open + 1, close - open - 1);
        auto it = environment_.find(upper(name));
        if (it != environment_.end()) {
            result += text.substr(pos, open - pos) + it->second;
            pos = close + 1;
        } else {
            // Not a known variable: keep the first "%" and look again from the second one.
            result += text.substr(pos, close - pos);
            pos = close;
        }
    }
    result += text.substr(pos);
    return result;
}

bool HostPlatform::movePath(const std::string& from, const std::string& to) {
    if (from.empty() || to.empty()) {
        return false;
    }
    // rename() would replace an existing file or empty directory; MoveFileExW without
    // MOVEFILE_REPLACE_EXISTING does not.
    const auto target = hostPath(to);
    struct stat info {};
    if (::lstat(target.c_str(), &info) == 0) {
        return false;
    }
    return ::rename(hostPath(from).c_str(), target.c_str()) == 0;
}

bool HostPlatform::removePath(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    const auto host = hostPath(path);
    struct stat info {};
    if (::lstat(host.c_str(), &info) != 0) {
        return false;
    }
    return S_ISDIR(info.st_mode) ? ::rmdir(host.c_str()) == 0 : ::unlink(host.c_str()) == 0;
}

std::optional<std::uint64_t> HostPlatform::freeSpace(const std::string& folder) {
    std::error_code error;
    const std::filesystem::space_info space = std::filesystem::space(hostPath(folder), error);
    if (error) {
        return std::nullopt;
    }
    return space.available;
}

std::string HostPlatform::localDataFolder() {
    return expandEnvironment("%LOCALAPPDATA%");
}

void HostPlatform::setEnvironment(const std::string& name, const std::string& value) {
    environment_[upper(name)] = value;
}

namespace {

// The whole text through iconv, or nothing when it holds a sequence the source encoding lacks.
std::optional<std::string> convert(const char* to, const char* from, std::string_view text,
                                   std::size_t growth) {
    if (text.empty()) {
        return std::string();
    }
    iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string input(text);
    std::string output(input.size() * growth + 4, '\0');
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    const std::size_t result = ::iconv(cd, &in, &inLeft, &out, &outLeft);
    ::iconv_close(cd);
    if (result == static_cast<std::size_t>(-1) || inLeft != 0) {
        return std::nullopt;
    }
    output.resize(output.size() - outLeft);
    return output;
}

} // namespace

std::optional<std::string> HostPlatform::toAnsi(std::string_view utf8) {
    return convert("GBK", "UTF-8", utf8, 2);
}

std::optional<std::string> HostPlatform::fromAnsi(std::string_view ansi) {
    // One GBK byte becomes at most three UTF-8 bytes.
    return convert("UTF-8", "GBK", ansi, 3);
}

bool HostPlatform::isAnsiLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

void HostPlatform::messageBox(const std::string& text, MessageIcon icon, const std::string& title) {
    messages_.push_back({text, icon, title});
}

void HostPlatform::delay(int milliseconds) {
    delays_.push_back(milliseconds);
}

void HostPlatform::openWebAddress(const std::string& address) {
    openedAddresses_.push_back(address);
}

} // namespace quorvel
