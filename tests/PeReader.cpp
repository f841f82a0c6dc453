#include "PeReader.h"

#include <algorithm>

namespace quorvel::test {

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        throw std::runtime_error(what);
    }
}

void requireRange(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t length,
                  const char* what) {
    require(at <= bytes.size() && length <= bytes.size() - at, what);
}

struct Reader {
    std::span<const std::uint8_t> file;
    PeFile pe;
    std::span<const std::uint8_t> section; // the raw data of the resource section
    std::uint32_t sectionRva = 0;

    std::string keyText(std::uint32_t field, std::string& sortKey, bool& named) {
        named = (field & 0x80000000u) != 0;
        if (!named) {
            require(field <= 0xFFFF, "a resource number is wider than 16 bits");
            sortKey.clear();
            return "#" + std::to_string(field);
        }
        const std::size_t at = field & 0x7FFFFFFFu;
        requireRange(section, at, 2, "a resource name lies outside the section");
        const std::size_t length = read16(section, at);
        requireRange(section, at + 2, 2 * length, "a resource name runs past the section");
        const auto units = section.subspan(at + 2, 2 * length);
        sortKey.assign(units.begin(), units.end());
        return utf8FromUtf16(units);
    }

    // Reads one directory; level 0 holds types, 1 names, 2 languages.
    void directory(std::size_t at, int level, const std::string& type, const std::string& name) {
        requireRange(section, at, 16, "a resource directory lies outside the section");
        const std::size_t named = read16(section, at + 12);
        const std::size_t numbered = read16(section, at + 14);
        requireRange(section, at + 16, 8 * (named + numbered),
                     "a resource directory's entries run past the section");
        std::u16string previousName;
        std::uint32_t previousId = 0;
        for (std::size_t i = 0; i < named + numbered; ++i) {
            const std::uint32_t field = read32(section, at + 16 + 8 * i);
            const std::uint32_t target = read32(section, at + 16 + 8 * i + 4);
            std::string sortBytes;
            bool isName = false;
            const std::string key = keyText(field, sortBytes, isName);
            require(isName == (i < named), "named and numbered entries are out of place");
            if (isName) {
                std::u16string units;
                for (std::size_t k = 0; k + 1 < sortBytes.size(); k += 2) {
                    units.push_back(
                        static_cast<char16_t>(static_cast<unsigned char>(sortBytes[k]) |
                                              (static_cast<unsigned char>(sortBytes[k + 1]) << 8)));
                }
                require(i == 0 || previousName < units, "named entries are not in order");
                previousName = units;
            } else {
                require(i == named || previousId < field, "numbered entries are not in order");
                previousId = field;
            }
            const bool subdirectory = (target & 0x80000000u) != 0;
            require(subdirectory == (level < 2), "a resource tree is not three levels deep");
            if (level == 0) {
                directory(target & 0x7FFFFFFFu, 1, key, "");
            } else if (level == 1) {
                directory(target & 0x7FFFFFFFu, 2, type, key);
            } else {
                require(!isName, "a language is given by name");
                requireRange(section, target, 16, "a data entry lies outside the section");
                PeResource resource;
                resource.type = type;
                resource.name = name;
                resource.language = static_cast<std::uint16_t>(field);
                resource.rva = read32(section, target);
                const std::uint32_t size = read32(section, target + 4);
                require(resource.rva >= sectionRva, "resource data lies before the section");
                requireRange(section, resource.rva - sectionRva, size,
                             "resource data lies outside the section");
                resource.data = section.subspan(resource.rva - sectionRva, size);
                pe.resources.push_back(resource);
            }
        }
    }

    void read() {
        requireRange(file, 0, 0x40, "the file is shorter than a DOS header");
        require(read16(file, 0) == 0x5A4D, "no MZ signature");
        const std::size_t peAt = read32(file, 0x3C);
        requireRange(file, peAt, 24, "the PE header lies outside the file");
        require(read32(file, peAt) == 0x00004550, "no PE signature");
        pe.machine = read16(file, peAt + 4);
        const std::size_t sectionCount = read16(file, peAt + 6);
        pe.timeDateStamp = read32(file, peAt + 8);
        pe.symbolTable = read32(file, peAt + 12);
        const std::size_t optionalSize = read16(file, peAt + 20);
        pe.characteristics = read16(file, peAt + 22);

        const std::size_t opt = peAt + 24;
        requireRange(file, opt, optionalSize, "the optional header lies outside the file");
        require(optionalSize >= 112, "the optional header is too short for PE32+");
        pe.magic = read16(file, opt);
        require(pe.magic == 0x20B, "not a PE32+ optional header");
        pe.sizeOfCode = read32(file, opt + 4);
        pe.sizeOfInitializedData = read32(file, opt + 8);
        pe.entryPoint = read32(file, opt + 16);
        pe.imageBase = read64(file, opt + 24);
        pe.sectionAlignment = read32(file, opt + 32);
        pe.fileAlignment = read32(file, opt + 36);
        pe.sizeOfImage = read32(file, opt + 56);
        pe.sizeOfHeaders = read32(file, opt + 60);
        pe.checksumOffset = opt + 64;
        pe.checksum = read32(file, opt + 64);
        pe.subsystem = read16(file, opt + 68);
        pe.dllCharacteristics = read16(file, opt + 70);
        const std::size_t directoryCount = read32(file, opt + 108);
        require(112 + 8 * directoryCount <= optionalSize,
                "the data directories run past the optional header");
        for (std::size_t i = 0; i < directoryCount; ++i) {
            pe.directories.emplace_back(read32(file, opt + 112 + 8 * i),
                                        read32(file, opt + 112 + 8 * i + 4));
        }

        const std::size_t table = opt + optionalSize;
        requireRange(file, table, 40 * sectionCount, "the section table lies outside the file");
        require(table + 40 * sectionCount <= pe.sizeOfHeaders,
                "the section table runs past the headers");
        for (std::size_t i = 0; i < sectionCount; ++i) {
            const std::size_t at = table + 40 * i;
            PeSection s;
            for (std::size_t k = 0; k < 8 && file[at + k] != 0; ++k) {
                s.name.push_back(static_cast<char>(file[at + k]));
            }
            s.virtualSize = read32(file, at + 8);
            s.virtualAddress = read32(file, at + 12);
            s.rawSize = read32(file, at + 16);
            s.rawPointer = read32(file, at + 20);
            s.characteristics = read32(file, at + 36);
            requireRange(file, s.rawPointer, s.rawSize, "a section's raw data lies outside");
            pe.sections.push_back(s);
        }

        require(pe.directories.size() > 2, "there is no resource directory entry");
        const auto [resourceRva, resourceSize] = pe.directories[2];
        const auto holder = std::find_if(pe.sections.begin(), pe.sections.end(), [&](auto& s) {
            return resourceRva >= s.virtualAddress &&
                   resourceRva + resourceSize <= s.virtualAddress + s.rawSize;
        });
        require(holder != pe.sections.end(), "no section holds the resource directory");
        sectionRva = resourceRva;
        section = file.subspan(holder->rawPointer + (resourceRva - holder->virtualAddress),
                               holder->rawSize - (resourceRva - holder->virtualAddress));
        directory(0, 0, "", "");
    }
};

} // namespace

std::uint16_t read16(std::span<const std::uint8_t> bytes, std::size_t at) {
    requireRange(bytes, at, 2, "read past the end");
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

std::uint32_t read32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return read16(bytes, at) | (static_cast<std::uint32_t>(read16(bytes, at + 2)) << 16);
}

std::uint64_t read64(std::span<const std::uint8_t> bytes, std::size_t at) {
    return read32(bytes, at) | (static_cast<std::uint64_t>(read32(bytes, at + 4)) << 32);
}

std::string utf8FromUtf16(std::span<const std::uint8_t> bytes) {
    std::string out;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t c = read16(bytes, i);
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size()) {
            const char32_t low = read16(bytes, i + 2);
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::vector<std::string> PeFile::resourceTypes() const {
    std::vector<std::string> types;
    for (const PeResource& r : resources) {
        if (types.empty() || types.back() != r.type) {
            types.push_back(r.type);
        }
    }
    return types;
}

const PeResource* PeFile::find(const std::string& type, const std::string& name) const {
    for (const PeResource& r : resources) {
        if (r.type == type && r.name == name) {
            return &r;
        }
    }
    return nullptr;
}

PeFile readPe(std::span<const std::uint8_t> file) {
    Reader reader{file, {}, {}, 0};
    reader.read();
    return reader.pe;
}

} // namespace quorvel::test
