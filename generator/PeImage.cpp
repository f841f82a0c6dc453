#include "generator/PeImage.h"

#include "model/AsciiCase.h"
#include "platform/LittleEndian.h"

#include <algorithm>
#include <stdexcept>

namespace quorvel::pe {

namespace {

using le::put16;
using le::put32;
using le::put64;

std::size_t alignUp(std::size_t value, std::size_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

// One level of the tree: a key and the range of resources below it.
struct Branch {
    ResourceKey key;
    std::size_t begin;
    std::size_t end;
};

std::vector<Branch> branches(const std::vector<Resource>& resources, std::size_t begin,
                             std::size_t end, const ResourceKey Resource::*field) {
    std::vector<Branch> result;
    for (std::size_t i = begin; i < end; ++i) {
        if (result.empty() || !(result.back().key == resources[i].*field)) {
            result.push_back({resources[i].*field, i, i + 1});
        } else {
            result.back().end = i + 1;
        }
    }
    return result;
}

std::size_t directorySize(std::size_t entries) {
    return 16 + 8 * entries;
}

// Where every part of the serialised tree goes.
struct Layout {
    std::vector<Branch> types;
    std::vector<std::vector<Branch>> names; // per type
    std::size_t dataEntries = 0;            // offset of the first data entry
    std::size_t strings = 0;                // offset of the first name string
    std::vector<std::size_t> blobs;         // offset of each resource's data
    std::size_t size = 0;
};

Layout layOut(const std::vector<Resource>& resources) {
    Layout layout;
    layout.types = branches(resources, 0, resources.size(), &Resource::type);
    std::size_t directories = directorySize(layout.types.size());
    for (const Branch& type : layout.types) {
        layout.names.push_back(branches(resources, type.begin, type.end, &Resource::name));
        directories += directorySize(layout.names.back().size());
        for (const Branch& name : layout.names.back()) {
            directories += directorySize(name.end - name.begin);
        }
    }
    layout.dataEntries = directories;
    layout.strings = layout.dataEntries + 16 * resources.size();
    std::size_t at = layout.strings;
    for (std::size_t t = 0; t < layout.types.size(); ++t) {
        if (layout.types[t].key.isName()) {
            at += 2 + 2 * layout.types[t].key.name().size();
        }
        for (const Branch& name : layout.names[t]) {
            if (name.key.isName()) {
                at += 2 + 2 * name.key.name().size();
            }
        }
    }
    for (const Resource& resource : resources) {
        at = alignUp(at, 8);
        layout.blobs.push_back(at);
        at += resource.data.size();
    }
    layout.size = at;
    return layout;
}

// The stub that runs when the file is started under DOS: it prints the message and ends.
constexpr std::uint8_t kStubCode[] = {
    0x0E,             // push cs
    0x1F,             // pop ds
    0xBA, 0x0E, 0x00, // mov dx, message (right after this code)
    0xB4, 0x09,       // mov ah, 9 (print string)
    0xCD, 0x21,       // int 21h
    0xB8, 0x01, 0x4C, // mov ax, 4C01h (end with exit code 1)
    0xCD, 0x21,       // int 21h
};
constexpr std::string_view kStubMessage = "Quorvel resource library, not a DOS program.\r\n$";
constexpr std::size_t kDosHeaderSize = 0x40;
constexpr std::size_t kPeOffset =
    (kDosHeaderSize + sizeof(kStubCode) + kStubMessage.size() + 7) / 8 * 8;
constexpr std::size_t kCoffHeaderSize = 20;
constexpr std::size_t kOptionalHeaderSize = 240;
constexpr std::size_t kOptionalHeader = kPeOffset + 4 + kCoffHeaderSize;
constexpr std::size_t kSectionHeader = kOptionalHeader + kOptionalHeaderSize;
static_assert(kSectionHeader + 40 <= kHeadersSize);

constexpr std::uint64_t kImageBase = 0x180000000;

} // namespace

ResourceKey::ResourceKey(const char* name) {
    for (const char* c = name; *c != 0; ++c) {
        if (static_cast<unsigned char>(*c) >= 0x80) {
            throw std::invalid_argument("a resource name must be ASCII");
        }
        name_.push_back(static_cast<char16_t>(static_cast<unsigned char>(upperAscii(*c))));
    }
    if (name_.empty()) {
        throw std::invalid_argument("a resource name must not be empty");
    }
}

bool ResourceKey::operator<(const ResourceKey& other) const {
    if (isName() != other.isName()) {
        return isName();
    }
    return isName() ? name_ < other.name_ : id_ < other.id_;
}

void ResourceTree::add(ResourceKey type, ResourceKey name, std::uint16_t language,
                       std::vector<std::uint8_t> data) {
    const auto before = [](const Resource& a, const Resource& b) {
        if (!(a.type == b.type)) {
            return a.type < b.type;
        }
        if (!(a.name == b.name)) {
            return a.name < b.name;
        }
        return a.language < b.language;
    };
    Resource resource{std::move(type), std::move(name), language, std::move(data)};
    const auto at = std::lower_bound(resources_.begin(), resources_.end(), resource, before);
    if (at != resources_.end() && !before(resource, *at)) {
        at->data = std::move(resource.data);
    } else {
        resources_.insert(at, std::move(resource));
    }
}

std::size_t ResourceTree::size() const {
    return layOut(resources_).size;
}

std::vector<std::uint8_t> ResourceTree::serialize(std::uint32_t sectionRva) const {
    const Layout layout = layOut(resources_);
    std::vector<std::uint8_t> out(layout.size, 0);

    std::size_t nextString = layout.strings;
    const auto nameField = [&](const ResourceKey& key) -> std::uint32_t {
        if (!key.isName()) {
            return key.id();
        }
        const std::size_t at = nextString;
        put16(out, at, static_cast<std::uint32_t>(key.name().size()));
        for (std::size_t i = 0; i < key.name().size(); ++i) {
            put16(out, at + 2 + 2 * i, key.name()[i]);
        }
        nextString += 2 + 2 * key.name().size();
        return 0x80000000u | static_cast<std::uint32_t>(at);
    };
    const auto directoryHeader = [&](std::size_t at, const std::vector<Branch>& entries) {
        const auto named = static_cast<std::size_t>(std::count_if(
            entries.begin(), entries.end(), [](const Branch& b) { return b.key.isName(); }));
        put16(out, at + 12, static_cast<std::uint32_t>(named));
        put16(out, at + 14, static_cast<std::uint32_t>(entries.size() - named));
    };

    // The root, then the directory of every type, then the directory of every name.
    std::size_t typeDirectory = directorySize(layout.types.size());
    std::size_t nameDirectory = typeDirectory;
    for (const auto& names : layout.names) {
        nameDirectory += directorySize(names.size());
    }
    directoryHeader(0, layout.types);
    for (std::size_t t = 0; t < layout.types.size(); ++t) {
        put32(out, 16 + 8 * t, nameField(layout.types[t].key));
        put32(out, 16 + 8 * t + 4, 0x80000000u | static_cast<std::uint32_t>(typeDirectory));
        const auto& names = layout.names[t];
        directoryHeader(typeDirectory, names);
        for (std::size_t n = 0; n < names.size(); ++n) {
            const std::size_t entry = typeDirectory + 16 + 8 * n;
            put32(out, entry, nameField(names[n].key));
            put32(out, entry + 4, 0x80000000u | static_cast<std::uint32_t>(nameDirectory));
            const std::size_t languages = names[n].end - names[n].begin;
            put16(out, nameDirectory + 14, static_cast<std::uint32_t>(languages));
            for (std::size_t r = names[n].begin; r < names[n].end; ++r) {
                const std::size_t leaf = nameDirectory + 16 + 8 * (r - names[n].begin);
                const std::size_t dataEntry = layout.dataEntries + 16 * r;
                put32(out, leaf, resources_[r].language);
                put32(out, leaf + 4, static_cast<std::uint32_t>(dataEntry));
                put32(out, dataEntry, sectionRva + static_cast<std::uint32_t>(layout.blobs[r]));
                put32(out, dataEntry + 4, static_cast<std::uint32_t>(resources_[r].data.size()));
                std::copy(resources_[r].data.begin(), resources_[r].data.end(),
                          out.begin() + static_cast<std::ptrdiff_t>(layout.blobs[r]));
            }
            nameDirectory += directorySize(languages);
        }
        typeDirectory += directorySize(names.size());
    }
    return out;
}

std::size_t resourceRoom(std::size_t fileSize) {
    return fileSize > kHeadersSize ? fileSize - kHeadersSize : 0;
}

std::vector<std::uint8_t> buildResourceDll(const ResourceTree& tree, std::size_t fileSize) {
    if (fileSize % kFileAlignment != 0 || fileSize <= kHeadersSize) {
        throw std::invalid_argument("a DLL size must be a whole number of file alignment units");
    }
    const std::vector<std::uint8_t> section = tree.serialize(kResourceRva);
    const std::size_t rawSize = resourceRoom(fileSize);
    if (section.size() > rawSize) {
        throw std::length_error("the resources do not fit into the DLL");
    }
    std::vector<std::uint8_t> file(fileSize, 0);

    // DOS header: a 128-byte DOS program made of this header and the stub.
    put16(file, 0x00, 0x5A4D); // "MZ"
    put16(file, 0x02, kPeOffset % 512);
    put16(file, 0x04, (kPeOffset + 511) / 512);
    put16(file, 0x08, kDosHeaderSize / 16);
    put16(file, 0x0C, 0xFFFF);
    put16(file, 0x10, 0xB8);
    put16(file, 0x18, kDosHeaderSize);
    put32(file, 0x3C, kPeOffset);
    std::copy(std::begin(kStubCode), std::end(kStubCode), file.begin() + kDosHeaderSize);
    std::copy(kStubMessage.begin(), kStubMessage.end(),
              file.begin() + kDosHeaderSize + sizeof(kStubCode));

    // PE signature and COFF header.
    put32(file, kPeOffset, 0x00004550); // "PE\0\0"
    const std::size_t coff = kPeOffset + 4;
    put16(file, coff + 0, 0x8664); // x64
    put16(file, coff + 2, 1);      // one section
    put32(file, coff + 4, kTimeDateStamp);
    put16(file, coff + 16, kOptionalHeaderSize);
    // EXECUTABLE_IMAGE | LARGE_ADDRESS_AWARE | DLL
    put16(file, coff + 18, 0x0002 | 0x0020 | 0x2000);

    // PE32+ optional header.
    const std::size_t opt = kOptionalHeader;
    const std::uint32_t imageSize =
        kResourceRva + static_cast<std::uint32_t>(alignUp(rawSize, kSectionAlignment));
    put16(file, opt + 0, 0x020B);
    file[opt + 2] = 1;                                         // the version of this writer
    put32(file, opt + 8, static_cast<std::uint32_t>(rawSize)); // initialised data
    // No code, no entry point.
    put64(file, opt + 24, kImageBase);
    put32(file, opt + 32, kSectionAlignment);
    put32(file, opt + 36, kFileAlignment);
    put16(file, opt + 40, 6); // operating system 6.1
    put16(file, opt + 42, 1);
    put16(file, opt + 48, 6); // subsystem 6.1
    put16(file, opt + 50, 1);
    put32(file, opt + 56, imageSize);
    put32(file, opt + 60, kHeadersSize);
    put16(file, opt + 68, 2); // Windows GUI
    // DYNAMIC_BASE | NX_COMPAT | NO_SEH. There is nothing to relocate, so any base will do.
    put16(file, opt + 70, 0x0040 | 0x0100 | 0x0400);
    put64(file, opt + 72, 0x40000);  // stack reserve
    put64(file, opt + 80, 0x1000);   // stack commit
    put64(file, opt + 88, 0x100000); // heap reserve
    put64(file, opt + 96, 0x1000);   // heap commit
    put32(file, opt + 108, 16);      // data directories
    put32(file, opt + 112 + 8 * 2, kResourceRva);
    put32(file, opt + 112 + 8 * 2 + 4, static_cast<std::uint32_t>(section.size()));

    // The one section. Its virtual size covers the whole raw data, padding included, so that
    // every byte of the file past the headers is mapped.
    const std::size_t header = kSectionHeader;
    const char name[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
    std::copy(std::begin(name), std::end(name), file.begin() + static_cast<std::ptrdiff_t>(header));
    put32(file, header + 8, static_cast<std::uint32_t>(rawSize));
    put32(file, header + 12, kResourceRva);
    put32(file, header + 16, static_cast<std::uint32_t>(rawSize));
    put32(file, header + 20, kHeadersSize);
    put32(file, header + 36, 0x00000040 | 0x40000000); // initialised data, readable

    std::copy(section.begin(), section.end(), file.begin() + kHeadersSize);
    put32(file, opt + 64, peChecksum(file, opt + 64));
    return file;
}

std::uint32_t peChecksum(std::span<const std::uint8_t> file, std::size_t checksumOffset) {
    std::uint32_t sum = 0;
    for (std::size_t at = 0; at < file.size(); at += 2) {
        if (at == checksumOffset || at == checksumOffset + 2) {
            continue;
        }
        std::uint32_t word = file[at];
        if (at + 1 < file.size()) {
            word |= static_cast<std::uint32_t>(file[at + 1]) << 8;
        }
        sum += word;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return sum + static_cast<std::uint32_t>(file.size());
}

} // namespace quorvel::pe
