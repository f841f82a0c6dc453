#include "generator/ResourceFormats.h"

#include "platform/LittleEndian.h"
#include "platform/Utf8.h"

#include <map>
#include <stdexcept>

namespace quorvel::pe {

namespace {

using le::append16;
using le::append32;

void padTo(std::vector<std::uint8_t>& out, std::size_t alignment) {
    while (out.size() % alignment != 0) {
        out.push_back(0);
    }
}

std::uint32_t high(const FileVersion& v) {
    return (static_cast<std::uint32_t>(v.major) << 16) | v.minor;
}
std::uint32_t low(const FileVersion& v) {
    return (static_cast<std::uint32_t>(v.build) << 16) | v.revision;
}

// A node of a version resource: length, value length, type, key, then its value and children,
// each starting on a 32-bit boundary. The length counts everything but the padding after the
// node's last byte.
struct VersionNode {
    std::string key;
    std::vector<std::uint8_t> value;
    std::uint16_t valueLength = 0; // in bytes for binary values, in UTF-16 units for texts
    bool text = false;
    std::vector<VersionNode> children;
};

void appendNode(std::vector<std::uint8_t>& out, const VersionNode& node) {
    padTo(out, 4);
    const std::size_t start = out.size();
    append16(out, 0); // length, patched below
    append16(out, node.valueLength);
    append16(out, node.text ? 1 : 0);
    appendUtf16(out, utf8::toUtf16(node.key), true);
    if (!node.value.empty()) {
        padTo(out, 4);
        out.insert(out.end(), node.value.begin(), node.value.end());
    }
    for (const VersionNode& child : node.children) {
        appendNode(out, child);
    }
    le::put16(out, start, static_cast<std::uint32_t>(out.size() - start));
}

std::string hex4(std::uint16_t value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (int shift = 12; shift >= 0; shift -= 4) {
        text.push_back(digits[(value >> shift) & 0xF]);
    }
    return text;
}

constexpr std::uint16_t kUnicodeCodePage = 1200;

} // namespace

void appendUtf16(std::vector<std::uint8_t>& out, std::u16string_view text, bool terminate) {
    for (char16_t unit : text) {
        append16(out, unit);
    }
    if (terminate) {
        append16(out, 0);
    }
}

std::vector<std::pair<std::uint16_t, std::vector<std::uint8_t>>>
stringTableBlocks(const std::vector<std::pair<std::uint16_t, std::string>>& strings) {
    std::map<std::uint16_t, std::map<int, std::u16string>> blocks;
    for (const auto& [id, text] : strings) {
        auto& block = blocks[static_cast<std::uint16_t>(id / 16 + 1)];
        if (!block.emplace(id % 16, utf8::toUtf16(text)).second) {
            throw std::invalid_argument("a string id is used twice");
        }
    }
    std::vector<std::pair<std::uint16_t, std::vector<std::uint8_t>>> result;
    for (const auto& [name, entries] : blocks) {
        std::vector<std::uint8_t> data;
        for (int slot = 0; slot < 16; ++slot) {
            const auto found = entries.find(slot);
            if (found == entries.end()) {
                append16(data, 0);
            } else {
                append16(data, static_cast<std::uint32_t>(found->second.size()));
                appendUtf16(data, found->second, false);
            }
        }
        result.emplace_back(name, std::move(data));
    }
    return result;
}

std::vector<std::uint8_t> versionResource(const VersionInfo& info) {
    VersionNode root;
    root.key = "VS_VERSION_INFO";
    append32(root.value, 0xFEEF04BD); // signature
    append32(root.value, 0x00010000); // structure version 1.0
    append32(root.value, high(info.fileVersion));
    append32(root.value, low(info.fileVersion));
    append32(root.value, high(info.productVersion));
    append32(root.value, low(info.productVersion));
    append32(root.value, 0x3F);       // all flags are meaningful...
    append32(root.value, 0);          // ...and none is set: a release build
    append32(root.value, 0x00040004); // Windows NT, 32-bit Windows API
    append32(root.value, 2);          // a DLL
    append32(root.value, 0);          // no subtype
    append32(root.value, 0);          // no file date
    append32(root.value, 0);
    root.valueLength = static_cast<std::uint16_t>(root.value.size());

    VersionNode table;
    table.key = hex4(info.language) + hex4(kUnicodeCodePage);
    table.text = true;
    for (const auto& [key, value] : info.strings) {
        VersionNode entry;
        entry.key = key;
        entry.text = true;
        const std::u16string text = utf8::toUtf16(value);
        appendUtf16(entry.value, text, true);
        entry.valueLength = static_cast<std::uint16_t>(text.size() + 1);
        table.children.push_back(std::move(entry));
    }
    VersionNode stringInfo;
    stringInfo.key = "StringFileInfo";
    stringInfo.text = true;
    stringInfo.children.push_back(std::move(table));

    VersionNode translation;
    translation.key = "Translation";
    append16(translation.value, info.language);
    append16(translation.value, kUnicodeCodePage);
    translation.valueLength = 4;
    VersionNode varInfo;
    varInfo.key = "VarFileInfo";
    varInfo.text = true;
    varInfo.children.push_back(std::move(translation));

    root.children.push_back(std::move(stringInfo));
    root.children.push_back(std::move(varInfo));
    std::vector<std::uint8_t> out;
    appendNode(out, root);
    return out;
}

std::vector<std::uint8_t> muiResource(const MuiConfig& config) {
    const bool neutral = config.kind == MuiConfig::Kind::LanguageNeutral;
    std::vector<std::uint8_t> out;
    append32(out, kMuiSignature);
    append32(out, 0);          // size, patched below
    append32(out, 0x00010000); // configuration version 1.0
    append32(out, 0);          // path type
    // Bit 0 marks the language-neutral file, bit 1 a language file; bit 4 says that the
    // configuration came from a resource configuration (not from an older splitting tool).
    append32(out, neutral ? 0x11 : 0x12);
    append32(out, 0); // system attributes
    // Where the last-resort resources lie: 2 = in a language file (the neutral file has none).
    append32(out, neutral ? 2 : 0);
    out.insert(out.end(), config.serviceChecksum.begin(), config.serviceChecksum.end());
    out.insert(out.end(), config.checksum.begin(), config.checksum.end());
    out.resize(kMuiHeaderSize, 0); // reserved, then the offset and size of each list below

    std::size_t field = 0x54;
    const auto place = [&](const std::vector<std::uint8_t>& bytes) {
        if (!bytes.empty()) {
            padTo(out, 8);
            le::put32(out, field, static_cast<std::uint32_t>(out.size()));
            le::put32(out, field + 4, static_cast<std::uint32_t>(bytes.size()));
            out.insert(out.end(), bytes.begin(), bytes.end());
        }
        field += 8;
    };
    const auto names = [](const std::vector<std::string>& list) {
        std::vector<std::uint8_t> bytes;
        for (const std::string& name : list) {
            appendUtf16(bytes, utf8::toUtf16(name), true);
        }
        if (!bytes.empty()) {
            append16(bytes, 0); // the list ends with an empty name
        }
        return bytes;
    };
    const auto ids = [](const std::vector<std::uint16_t>& list) {
        std::vector<std::uint8_t> bytes;
        for (std::uint16_t id : list) {
            append32(bytes, id);
        }
        return bytes;
    };
    const auto text = [](const std::string& value) {
        std::vector<std::uint8_t> bytes;
        if (!value.empty()) {
            appendUtf16(bytes, utf8::toUtf16(value), true);
        }
        return bytes;
    };
    place(names(config.mainTypeNames));
    place(ids(config.mainTypeIds));
    place(names(config.muiTypeNames));
    place(ids(config.muiTypeIds));
    place(text(config.language));
    place(text(config.fallbackLanguage));
    padTo(out, 8);
    le::put32(out, 4, static_cast<std::uint32_t>(out.size()));
    return out;
}

std::size_t dibRowBytes(int width, int bitsPerPixel) {
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) + 31) / 32 * 4;
}

std::vector<std::uint8_t> packedDib(int width, int height, int bitsPerPixel,
                                    const PixelFunction& pixel) {
    if (width <= 0 || height <= 0 || (bitsPerPixel != 24 && bitsPerPixel != 32)) {
        throw std::invalid_argument("unsupported bitmap shape");
    }
    const std::size_t rowBytes = dibRowBytes(width, bitsPerPixel);
    const std::size_t imageBytes = rowBytes * static_cast<std::size_t>(height);
    std::vector<std::uint8_t> out;
    out.reserve(40 + imageBytes);
    append32(out, 40); // BITMAPINFOHEADER
    append32(out, static_cast<std::uint32_t>(width));
    append32(out, static_cast<std::uint32_t>(height)); // positive: rows run bottom-up
    append16(out, 1);                                  // planes
    append16(out, static_cast<std::uint32_t>(bitsPerPixel));
    append32(out, 0); // BI_RGB
    append32(out, static_cast<std::uint32_t>(imageBytes));
    append32(out, 3780); // 96 pixels per inch, in pixels per metre
    append32(out, 3780);
    append32(out, 0); // no colour table
    append32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < width; ++x) {
            const std::uint32_t argb = pixel(x, y);
            out.push_back(static_cast<std::uint8_t>(argb));       // blue
            out.push_back(static_cast<std::uint8_t>(argb >> 8));  // green
            out.push_back(static_cast<std::uint8_t>(argb >> 16)); // red
            if (bitsPerPixel == 32) {
                out.push_back(static_cast<std::uint8_t>(argb >> 24));
            }
        }
        out.resize(rowStart + rowBytes, 0);
    }
    return out;
}

std::vector<std::uint8_t> bmpFile(int width, int height, int bitsPerPixel,
                                  const PixelFunction& pixel) {
    const std::vector<std::uint8_t> dib = packedDib(width, height, bitsPerPixel, pixel);
    std::vector<std::uint8_t> out;
    out.reserve(14 + dib.size());
    out.push_back('B');
    out.push_back('M');
    append32(out, static_cast<std::uint32_t>(14 + dib.size()));
    append32(out, 0);       // reserved
    append32(out, 14 + 40); // the pixels follow the two headers
    out.insert(out.end(), dib.begin(), dib.end());
    return out;
}

} // namespace quorvel::pe
