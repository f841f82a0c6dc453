// MD5 (RFC 1321). The support DLLs use it for the 128-bit checksums that tie a language-neutral
// file to its language files; it is not used for anything that needs to resist an attacker.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace quorvel::pe {

std::array<std::uint8_t, 16> md5(std::span<const std::uint8_t> data);

} // namespace quorvel::pe
