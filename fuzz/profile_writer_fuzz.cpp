// Fuzzes the INI writer with arbitrary existing file content and a sequence of key writes, and
// checks the result against a simple model: every written key reads back with its last value,
// and the lines before the first section are kept.
#include "generator/ProfileWriter.h"
#include "platform/host/HostPlatform.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace {

// The host layer's GBK text rules, with the theme file kept in memory.
class MemoryFilePlatform : public quorvel::HostPlatform {
public:
    MemoryFilePlatform() : HostPlatform("/nonexistent") {}
    std::optional<std::string> readFile(const std::string&) override { return file; }
    bool writeFile(const std::string&, std::span<const std::uint8_t> bytes) override {
        file = std::string(bytes.begin(), bytes.end());
        return true;
    }
    std::optional<std::string> file;
};

std::string fold(const std::string& text, quorvel::Platform& platform) {
    std::string folded = text;
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const auto byte = static_cast<unsigned char>(folded[i]);
        if (platform.isAnsiLeadByte(byte) && i + 1 < folded.size()) {
            ++i;
        } else if (byte >= 'A' && byte <= 'Z') {
            folded[i] = static_cast<char>(byte - 'A' + 'a');
        }
    }
    return folded;
}

// The first "]" that is a character of its own, not the second byte of a GBK character.
std::size_t closeBracket(const std::string& text, quorvel::Platform& platform) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (platform.isAnsiLeadByte(byte) && i + 1 < text.size()) {
            ++i;
        } else if (byte == ']') {
            return i;
        }
    }
    return std::string::npos;
}

std::string trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// What the file says a key holds: the first section of that name, the first key line in it.
std::optional<std::string> readBack(const std::string& file, const std::string& section,
                                    const std::string& key, quorvel::Platform& platform) {
    bool inSection = false;
    bool sectionSeen = false;
    std::size_t pos = 0;
    while (pos < file.size()) {
        std::size_t end = file.find_first_of("\r\n", pos);
        if (end == std::string::npos) {
            end = file.size();
        }
        const std::string line = file.substr(pos, end - pos);
        pos = end + 1;
        if (end < file.size() && file[end] == '\r' && pos < file.size() && file[pos] == '\n') {
            ++pos;
        }
        const std::string t = trim(line);
        if (!t.empty() && t[0] == '[' && closeBracket(t, platform) != std::string::npos) {
            if (inSection) {
                return std::nullopt;
            }
            const std::string name = trim(t.substr(1, closeBracket(t, platform) - 1));
            inSection = !sectionSeen && fold(name, platform) == fold(section, platform);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (inSection && equals != std::string::npos &&
            fold(trim(line.substr(0, equals)), platform) == fold(key, platform)) {
            return line.substr(equals + 1);
        }
    }
    return std::nullopt;
}

std::string pickName(FuzzedDataProvider& data) {
    // Short names from a small alphabet collide often, which is what the writer must handle.
    static const char* const kNames[] = {"a",  "A",  "b",  "Theme", "THEME", "x y",
                                         "丄", "乤", "键", "乚",    "乚乚"};
    if (data.ConsumeBool()) {
        return kNames[data.ConsumeIntegralInRange<std::size_t>(0, std::size(kNames) - 1)];
    }
    return data.ConsumeRandomLengthString(12);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    MemoryFilePlatform platform;
    if (data.ConsumeBool()) {
        platform.file = data.ConsumeRandomLengthString(512);
    }
    const std::optional<std::string> original = platform.file;

    quorvel::ProfileWriter writer(platform, "C:\\fuzz.theme");
    // Model: (folded section, folded key) -> (ANSI section, ANSI key, ANSI value).
    std::map<std::pair<std::string, std::string>, std::tuple<std::string, std::string, std::string>>
        written;
    const int operations = data.ConsumeIntegralInRange(0, 40);
    for (int i = 0; i < operations && data.remaining_bytes() > 0; ++i) {
        const std::string section = pickName(data);
        const std::string key = pickName(data);
        const std::string value = data.ConsumeRandomLengthString(16);
        if (!writer.write(section, key, value)) {
            continue;
        }
        const std::string s = *platform.toAnsi(section);
        const std::string k = *platform.toAnsi(key);
        const std::string v = *platform.toAnsi(value);
        written[{fold(s, platform), fold(k, platform)}] = {s, k, v};
    }
    if (!writer.flush()) {
        std::abort();
    }
    const std::string result = platform.file.value_or("");
    for (const auto& [folded, entry] : written) {
        const auto& [section, key, value] = entry;
        const std::optional<std::string> back = readBack(result, section, key, platform);
        if (!back || *back != value) {
            if (std::getenv("QUORVEL_FUZZ_DEBUG")) {
                std::fprintf(stderr, "section [%s] key [%s] value [%s] read back [%s]\nfile:\n%s\n",
                             section.c_str(), key.c_str(), value.c_str(),
                             back ? back->c_str() : "(none)", result.c_str());
            }
            std::abort();
        }
    }
    // Everything before the first section of the original is kept (its last line end may be
    // completed).
    if (original && !written.empty()) {
        std::size_t headerEnd = original->find('[');
        const std::string header =
            original->substr(0, headerEnd == std::string::npos ? original->size() : headerEnd);
        if (header.find('[') == std::string::npos &&
            result.compare(0, header.size(), header) != 0) {
            std::abort();
        }
    }
    return 0;
}
