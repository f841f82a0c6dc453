// Scaling the layout, which is given in pixels at 96 dots per inch, to the DPI of a window.
#pragma once

#include "model/Geometry.h"

namespace quorvel {

inline constexpr int kBaseDpi = 96;

// a * b / c for c > 0, rounded half away from zero as the system's MulDiv rounds: the half is
// c / 2 in whole numbers, so the rounding of an odd c is that of MulDiv too.
constexpr int mulDivRounded(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

// A length of the layout (at 96 DPI) at `dpi`: v * dpi / 96, rounded as MulDiv does. Every
// length the program scales to a window's DPI is scaled here.
constexpr int scaleToDpi(int v, int dpi) {
    return mulDivRounded(v, dpi, kBaseDpi);
}

// A length at `dpi` back at 96 DPI (hit testing in a window drawn from a 96 DPI layout).
constexpr int scaleFromDpi(int v, int dpi) {
    return mulDivRounded(v, kBaseDpi, dpi);
}

// The rectangle with each edge scaled on its own, so that edges which meet at 96 DPI still meet:
// the width is the scaled right edge less the scaled left edge.
inline Rect scaleToDpi(const Rect& r, int dpi) {
    const int left = scaleToDpi(r.left, dpi);
    const int top = scaleToDpi(r.top, dpi);
    return {left, top, scaleToDpi(r.right(), dpi) - left, scaleToDpi(r.bottom(), dpi) - top};
}

} // namespace quorvel
