// Little-endian integers in byte vectors, the order of every binary format the generators write
// (the PE image and its resources, the WAV sound). A value wider than its field keeps its low
// bytes.
#pragma once

#include <cstddef>
#include <cstdint>
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

} // namespace quorvel::le
