// Scaling the layout, which is given in pixels at 96 dots per inch, to the DPI of a window.
#pragma once

#include "wizard/ControlTable.h"

namespace quorvel {

inline constexpr int kBaseDpi = 96;

// v * dpi / 96, rounded half away from zero (as the system's MulDiv does).
constexpr int scaleToDpi(int v, int dpi) {
    const long long product = static_cast<long long>(v) * dpi;
    const long long half = kBaseDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / kBaseDpi
                                         : -((-product + half) / kBaseDpi));
}

// The rectangle with each edge scaled on its own, so that edges which meet at 96 DPI still meet:
// the width is the scaled right edge less the scaled left edge.
inline Rect scaleToDpi(const Rect& r, int dpi) {
    const int left = scaleToDpi(r.left, dpi);
    const int top = scaleToDpi(r.top, dpi);
    return {left, top, scaleToDpi(r.right(), dpi) - left, scaleToDpi(r.bottom(), dpi) - top};
}

} // namespace quorvel
