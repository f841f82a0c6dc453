// The window colour and transparency of a Windows 7 theme: the conversions into the texts the
// theme file carries, and the checks and captures of the page's "下一步" button.
#pragma once

#include "model/Geometry.h"
#include "model/ThemeProject.h"
#include "pages/Controls.h"
#include "platform/Platform.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

inline constexpr int kInitialAlpha = 127;
inline constexpr std::string_view kInitialWindowColor = "0066FF";

// Upper-case hexadecimal digits without leading zeros; 0 gives the empty text. Negative values
// count as 0.
std::string toHexText(std::int64_t value);

// The text from its first character that is not "0".
std::string stripLeadingZeros(std::string_view text);

// The integer at the start of a text: leading blanks skipped, an optional sign, then decimal
// digits up to the first other character. No digits gives 0; values beyond 64 bits saturate.
std::int64_t leadingInteger(std::string_view text);

// The slider moved: the transparency field shows its position.
void onAlphaSliderMoved(Controls& controls, int position);

// The palette popup closed: a picked colour goes into the colour field as hexText spells it;
// nothing (closed without a pick) leaves the field as it was.
void applyPickedWindowColor(Controls& controls, const std::optional<Rgb>& color);

// "下一步" on the window style page. A visual style must be chosen; then the interval, the
// transparency and the colour are captured. True lets the wizard move on.
bool commitWindowStylePage(Controls& controls, ThemeProject& project, Platform& platform);

} // namespace quorvel
