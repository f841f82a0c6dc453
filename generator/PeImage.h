// A writer for resource-only 64-bit Windows DLLs: a tree of resources (type, name, language) laid
// out as a ".rsrc" section, wrapped in the headers of a PE32+ image for x64 that has no code, no
// imports and no entry point. Everything it writes is fixed by its inputs, so equal inputs give
// equal files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::pe {

// Resource types that Windows numbers.
inline constexpr std::uint16_t kTypeBitmap = 2;
inline constexpr std::uint16_t kTypeString = 6;
inline constexpr std::uint16_t kTypeRcData = 10;
inline constexpr std::uint16_t kTypeVersion = 16;
inline constexpr std::uint16_t kTypeHtml = 23;

inline constexpr std::uint16_t kLanguageNeutral = 0x0000;
inline constexpr std::uint16_t kLanguageZhCn = 0x0804;

// The layout every DLL of ours shares.
inline constexpr std::uint32_t kFileAlignment = 0x200;
inline constexpr std::uint32_t kSectionAlignment = 0x1000;
inline constexpr std::uint32_t kHeadersSize = 0x200;
inline constexpr std::uint32_t kResourceRva = 0x1000;
// 2024-01-01 00:00:00 UTC: a fixed link time, so that the files do not depend on the clock.
inline constexpr std::uint32_t kTimeDateStamp = 1704067200;

// A resource type or name: a number, or an ASCII name, which is stored in upper case as the
// resource compiler does (Windows finds names regardless of case).
class ResourceKey {
public:
    ResourceKey(std::uint16_t id) : id_(id) {}
    ResourceKey(const char* name);

    bool isName() const { return !name_.empty(); }
    std::uint16_t id() const { return id_; }
    const std::u16string& name() const { return name_; }

    // Directory order: names first, by their UTF-16 units, then numbers, ascending.
    bool operator<(const ResourceKey& other) const;
    bool operator==(const ResourceKey& other) const = default;

private:
    std::uint16_t id_ = 0;
    std::u16string name_;
};

struct Resource {
    ResourceKey type;
    ResourceKey name;
    std::uint16_t language;
    std::vector<std::uint8_t> data;
};

class ResourceTree {
public:
    // Adds one resource. Adding the same type, name and language twice replaces the data.
    void add(ResourceKey type, ResourceKey name, std::uint16_t language,
             std::vector<std::uint8_t> data);

    // The resources in directory order: by type, then name, then language.
    const std::vector<Resource>& resources() const { return resources_; }

    // The bytes the tree takes in a section: directories, data entries, names and data.
    std::size_t size() const;

    // The section contents for a section that is mapped at sectionRva.
    std::vector<std::uint8_t> serialize(std::uint32_t sectionRva) const;

private:
    std::vector<Resource> resources_;
};

// The room a ".rsrc" section has in a DLL of fileSize bytes.
std::size_t resourceRoom(std::size_t fileSize);

// A resource-only x64 DLL holding the tree, exactly fileSize bytes long (a multiple of the file
// alignment). The section's raw data runs to the end of the file; the bytes after the tree are
// zero. Throws std::length_error when the tree does not fit.
std::vector<std::uint8_t> buildResourceDll(const ResourceTree& tree, std::size_t fileSize);

// The image checksum as Windows computes it (CheckSumMappedFile): the 16-bit one's complement
// style sum of the file, with the two words of the checksum field left out, plus the file length.
std::uint32_t peChecksum(std::span<const std::uint8_t> file, std::size_t checksumOffset);

} // namespace quorvel::pe
