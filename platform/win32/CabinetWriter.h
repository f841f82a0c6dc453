// The Win32 cabinet writer (Win32Platform::writeCabinet) with the call that puts the cabinet's
// bytes into its file handed in, so that tests can make that write fail on the writer's thread.
#pragma once

#include "platform/Platform.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace quorvel {

// Writes count bytes to the file, as WriteFile does: false with the error in GetLastError.
using CabinetFileWrite =
    std::function<bool(HANDLE file, const std::uint8_t* data, std::size_t count)>;

// The whole WriteFile, the writer's default.
bool writeWholeFile(HANDLE file, const std::uint8_t* data, std::size_t count);

CabinetResult writeCabinetWith(const std::string& path, std::span<const CabinetEntry> members,
                               const CabinetFileWrite& writeFile);

} // namespace quorvel
