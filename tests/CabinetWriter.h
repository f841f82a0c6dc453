// A tiny writer of cabinets for the tests: one folder stored without compression, data blocks of
// at most 32 KB, no checksums. A member may state a size other than its bytes, to make the
// damaged cabinets the readers must refuse.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvel::test {

struct CabinetEntry {
    std::string name;  // as stored; marked UTF-8 when it holds a byte above 0x7F
    std::string bytes; // the member's content
    std::optional<std::uint32_t> statedSize = std::nullopt; // a size field that lies
};

inline std::string writeCabinet(const std::vector<CabinetEntry>& entries) {
    const auto put16 = [](std::string& out, std::uint32_t v) {
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>((v >> 8) & 0xFF);
    };
    const auto put32 = [&](std::string& out, std::uint32_t v) {
        put16(out, v & 0xFFFF);
        put16(out, v >> 16);
    };
    std::string data;
    for (const CabinetEntry& entry : entries) {
        data += entry.bytes;
    }
    std::string files;
    std::uint32_t offset = 0;
    for (const CabinetEntry& entry : entries) {
        const bool utf8 = std::any_of(entry.name.begin(), entry.name.end(),
                                      [](char c) { return static_cast<unsigned char>(c) > 0x7F; });
        put32(files, entry.statedSize.value_or(static_cast<std::uint32_t>(entry.bytes.size())));
        put32(files, offset);
        put16(files, 0);      // the folder
        put16(files, 0x5988); // 2024-12-08
        put16(files, 0x6000); // 12:00
        put16(files, 0x20 | (utf8 ? 0x80 : 0));
        files += entry.name;
        files += '\0';
        offset += static_cast<std::uint32_t>(entry.bytes.size());
    }
    constexpr std::size_t kBlock = 32768;
    const std::size_t blocks = (data.size() + kBlock - 1) / kBlock;
    const std::uint32_t filesAt = 36 + 8;
    const std::uint32_t dataAt = filesAt + static_cast<std::uint32_t>(files.size());
    const std::uint32_t total = dataAt + static_cast<std::uint32_t>(blocks * 8 + data.size());

    std::string out = "MSCF";
    put32(out, 0);
    put32(out, total);
    put32(out, 0);
    put32(out, filesAt);
    put32(out, 0);
    out += '\x03'; // version 1.3
    out += '\x01';
    put16(out, 1); // folders
    put16(out, static_cast<std::uint32_t>(entries.size()));
    put16(out, 0); // flags
    put16(out, 0); // set
    put16(out, 0); // number in the set
    put32(out, dataAt);
    put16(out, static_cast<std::uint32_t>(blocks));
    put16(out, 0); // stored
    out += files;
    for (std::size_t at = 0; at < data.size(); at += kBlock) {
        const std::size_t size = std::min(kBlock, data.size() - at);
        put32(out, 0); // no checksum
        put16(out, static_cast<std::uint32_t>(size));
        put16(out, static_cast<std::uint32_t>(size));
        out.append(data, at, size);
    }
    return out;
}

} // namespace quorvel::test
