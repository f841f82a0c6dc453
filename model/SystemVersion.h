// Which page set the running system opens: the release code of its version and the version
// gate that follows from it.
#pragma once

#include "model/PageSet.h"
#include "platform/Platform.h"

#include <optional>
#include <string_view>

namespace quorvel {

// The release code of a system version: 9 for 6.1 (opens the Windows 7 pages), 6 for 5.1
// (opens the Windows XP pages), other codes for every other version.
int osReleaseCode(OsVersion version);
int osReleaseCode(Platform& platform);

// The page set the running system's version gate opens: XP on Windows XP, else Windows 7.
PageSet gatePageSet(Platform& platform);
// The gate's own message when the running system does not open the page set; nothing when it
// does.
std::optional<std::string_view> gateRefusal(PageSet set, Platform& platform);

} // namespace quorvel
