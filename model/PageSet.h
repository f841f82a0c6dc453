// The two sets of wizard pages: one builds a Windows 7 theme, the other a Windows XP theme.
#pragma once

namespace quorvel {

enum class PageSet { Win7, Xp };

} // namespace quorvel
