// A tiny software rasteriser for drawing operations, following GDI's rules: FillRect leaves out
// the right column and bottom row, FrameRect paints the one-pixel border inside its rectangle,
// LineTo leaves out its end point. Pixels outside the picture are clipped.
#pragma once

#include "widgets/Palette.h"

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <vector>

namespace quorvel::test {

class Raster {
public:
    // Every pixel starts unpainted (nothing), so that pixels no operation reached stand out.
    Raster(int width, int height)
        : width_(width), height_(height),
          pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {}

    int width() const { return width_; }
    int height() const { return height_; }

    std::optional<Rgb> at(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) {
            throw std::out_of_range("pixel outside the picture");
        }
        return pixels_[index(x, y)];
    }

    void run(const std::vector<palette::DrawOp>& ops) {
        for (const palette::DrawOp& op : ops) {
            const int left = op.rect.left;
            const int top = op.rect.top;
            const int right = op.rect.right();
            const int bottom = op.rect.bottom();
            switch (op.kind) {
            case palette::DrawOp::Kind::Fill:
                fill(left, top, right, bottom, op.color);
                break;
            case palette::DrawOp::Kind::Frame:
                if (right <= left || bottom <= top) {
                    break;
                }
                fill(left, top, right, top + 1, op.color);
                fill(left, bottom - 1, right, bottom, op.color);
                fill(left, top, left + 1, bottom, op.color);
                fill(right - 1, top, right, bottom, op.color);
                break;
            case palette::DrawOp::Kind::Line:
                line(left, top, right, bottom, op.color);
                break;
            }
        }
    }

private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }

    void set(int x, int y, Rgb color) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) {
            pixels_[index(x, y)] = color;
        }
    }

    void fill(int left, int top, int right, int bottom, Rgb color) {
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                set(x, y, color);
            }
        }
    }

    // Only horizontal and vertical lines are drawn by the palette.
    void line(int x0, int y0, int x1, int y1, Rgb color) {
        if (y0 == y1) {
            const int step = x1 > x0 ? 1 : -1;
            for (int x = x0; x != x1; x += step) {
                set(x, y0, color);
            }
        } else if (x0 == x1) {
            const int step = y1 > y0 ? 1 : -1;
            for (int y = y0; y != y1; y += step) {
                set(x0, y, color);
            }
        } else {
            throw std::logic_error("only horizontal and vertical lines are rasterised");
        }
    }

    int width_;
    int height_;
    std::vector<std::optional<Rgb>> pixels_;
};

// The picture one repaint of the popup produces.
inline Raster renderPalette(const PaletteState& state, int hover) {
    Raster raster(palette::kPopupWidth, palette::kPopupHeight);
    raster.run(palette::paletteDrawing(state, hover, raster.width(), raster.height()));
    return raster;
}

} // namespace quorvel::test
