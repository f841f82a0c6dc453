// The support files that the program carries inside itself and writes into theme packs. Each is
// made from the sources in this folder the first time it is asked for, and is the same, byte for
// byte, in every build and on every run.
#pragma once

#include <cstdint>
#include <span>

namespace quorvel::payload {

// "empty.wav": the theme's empty-recycle-bin sound, 101,422 bytes of 16-bit stereo PCM.
std::span<const std::uint8_t> emptyWav();

// The three resource-only x64 DLLs of a Windows 7 pack.
std::span<const std::uint8_t> aeroMsstylesMui();  // "aero.msstyles.mui", 3,584 bytes
std::span<const std::uint8_t> shellStyleDll();    // "shellstyle.dll", 350,720 bytes
std::span<const std::uint8_t> shellStyleDllMui(); // "shellstyle.dll.mui", 123,392 bytes

} // namespace quorvel::payload
