// Fixed facts about the program: its name, version and web addresses.
#pragma once

namespace quorvel {

inline constexpr const char* kProductName = "Quorvel";
inline constexpr const char* kProductVersion = "2.0";
inline constexpr const char* kCompanyName = "The Quorvel Project";
// The maker's forum and home page. They stay under the reserved example domain until the
// project has addresses of its own.
inline constexpr const char* kForumAddress = "https://forum.example.com/quorvel/";
inline constexpr const char* kHomeAddress = "https://www.example.com/quorvel/";

} // namespace quorvel
