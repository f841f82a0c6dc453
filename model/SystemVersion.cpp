#include "model/SystemVersion.h"

#include "model/Texts.h"

namespace quorvel {

int osReleaseCode(OsVersion v) {
    if (v.major <= 4) {
        return 4;
    }
    if (v.major == 5) {
        switch (v.minor) {
        case 0:
            return 5;
        case 1:
            return 6;
        case 2:
            return 7;
        default:
            return 0;
        }
    }
    if (v.major == 6) {
        switch (v.minor) {
        case 0:
            return 8;
        case 1:
            return 9;
        default:
            return 0;
        }
    }
    return 0;
}

int osReleaseCode(Platform& platform) {
    return osReleaseCode(platform.osVersion());
}

PageSet gatePageSet(Platform& platform) {
    return osReleaseCode(platform) == 6 ? PageSet::Xp : PageSet::Win7;
}

std::optional<std::string_view> gateRefusal(PageSet set, Platform& platform) {
    const int code = osReleaseCode(platform);
    if (set == PageSet::Win7 && code != 9) {
        return text::kWin7Only;
    }
    if (set == PageSet::Xp && code != 6) {
        return text::kXpOnly;
    }
    return std::nullopt;
}

} // namespace quorvel
