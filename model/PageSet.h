// The two wizards: the Windows 7 pages WIN71 .. WIN76 and the Windows XP pages XP1 .. XP6.
#pragma once

namespace quorvel {

enum class PageSet { Win7, Xp };

} // namespace quorvel
