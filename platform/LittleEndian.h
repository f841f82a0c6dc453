// Little-endian integers, the order of every binary format the program reads or writes (the PE
// image and its resources, WAV and RIFF files, icon directories, cabinets). Writers append or
// put into byte vectors; a value wider than its field keeps its low bytes. Readers take the
// bytes from `at` on, which must exist.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quorvel::le {

// Appends the low 16 or 32 bits of value.
inline void append16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void append32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    append16(out, value & 0xFFFF);
    append16(out, value >> 16);
}

// Writes the low 16, 32 or 64 bits of value over the bytes from `at` on, which must exist.
inline void put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    put16(out, at, value & 0xFFFF);
    put16(out, at + 2, value >> 16);
}

inline void put64(std::vector<std::uint8_t>& out, std::size_t at, std::uint64_t value) {
    put32(out, at, static_cast<std::uint32_t>(value));
    put32(out, at + 4, static_cast<std::uint32_t>(value >> 32));
}

// The 16 or 32 bits from `at` on.
inline std::uint32_t get16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
}

inline std::uint32_t get32(std::string_view bytes, std::size_t at) {
    return get16(bytes, at) | get16(bytes, at + 2) << 16;
}

} // namespace quorvel::le
