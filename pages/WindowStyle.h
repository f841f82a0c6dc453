// The window colour and transparency of a Windows 7 theme: the conversions into the texts the
// theme file carries, and the checks and captures of the page's "下一步" button.
#pragma once

#include "model/Geometry.h"
#include "model/ThemeDocument.h"
#include "model/ThemeProject.h"
#include "pages/Controls.h"
#include "platform/Platform.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// The initial values, the hexadecimal texts and the transparency's leading number are
// model/ThemeDocument.h's.

// The slider moved: the transparency field shows its position.
void onAlphaSliderMoved(Controls& controls, int position);

// The palette popup closed: a picked colour goes into the colour field as hexText spells it;
// nothing (closed without a pick) leaves the field as it was.
void applyPickedWindowColor(Controls& controls, const std::optional<Rgb>& color);

} // namespace quorvel
