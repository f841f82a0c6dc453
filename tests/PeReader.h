// A small reader of PE32+ files for the tests: it checks and decodes the headers, the section
// table and the resource directory of a DLL, independently of the writer in generator/.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvel::test {

std::uint16_t read16(std::span<const std::uint8_t> bytes, std::size_t at);
std::uint32_t read32(std::span<const std::uint8_t> bytes, std::size_t at);
std::uint64_t read64(std::span<const std::uint8_t> bytes, std::size_t at);
// UTF-16LE code units to UTF-8.
std::string utf8FromUtf16(std::span<const std::uint8_t> bytes);

// A resource type or name: "#6" for a number, the name itself otherwise.
struct PeResource {
    std::string type;
    std::string name;
    std::uint16_t language = 0;
    std::uint32_t rva = 0;
    std::span<const std::uint8_t> data;
};

struct PeSection {
    std::string name;
    std::uint32_t virtualSize = 0;
    std::uint32_t virtualAddress = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawPointer = 0;
    std::uint32_t characteristics = 0;
};

struct PeFile {
    std::uint16_t machine = 0;
    std::uint16_t characteristics = 0;
    std::uint32_t timeDateStamp = 0;
    std::uint32_t symbolTable = 0;
    std::uint16_t magic = 0;
    std::uint32_t sizeOfCode = 0;
    std::uint32_t sizeOfInitializedData = 0;
    std::uint32_t entryPoint = 0;
    std::uint64_t imageBase = 0;
    std::uint32_t sectionAlignment = 0;
    std::uint32_t fileAlignment = 0;
    std::uint32_t sizeOfImage = 0;
    std::uint32_t sizeOfHeaders = 0;
    std::uint32_t checksum = 0;
    std::size_t checksumOffset = 0;
    std::uint16_t subsystem = 0;
    std::uint16_t dllCharacteristics = 0;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> directories; // RVA and size
    std::vector<PeSection> sections;
    // The resources in directory order (type, name, language), with their data.
    std::vector<PeResource> resources;

    // The distinct types in directory order.
    std::vector<std::string> resourceTypes() const;
    // The first resource of that type and name (any language), or nullptr.
    const PeResource* find(const std::string& type, const std::string& name) const;
};

// Decodes a PE32+ image. Throws std::runtime_error naming the first thing that is out of bounds
// or out of order.
PeFile readPe(std::span<const std::uint8_t> file);

} // namespace quorvel::test
