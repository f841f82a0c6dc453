#include "pages/WindowStyle.h"

#include "model/Texts.h"

namespace quorvel {

void onAlphaSliderMoved(Controls& controls, int position) {
    controls.setText(ControlId::Win7Alpha, std::to_string(position));
}

void applyPickedWindowColor(Controls& controls, const std::optional<Rgb>& color) {
    if (color) {
        controls.setText(ControlId::Win7WindowColor, hexText(*color));
    }
}

} // namespace quorvel
