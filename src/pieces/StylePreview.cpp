#include "pieces/StylePreview.h"

#include "pieces/EdgeShapes.h"
#include "pieces/TBezier.h"

#include <algorithm>
#include <vector>

namespace zg {

namespace {

constexpr Color kPreviewRed = rgb(255, 0, 0);

struct CellSize {
    int64_t Width = 0;
    int64_t Height = 0;
};

/// The cell of the grid at `percent`; {0, 0} for an unusable grid.
CellSize cellAt(int32_t percent, int32_t pictureWidth, int32_t pictureHeight, int32_t cols, int32_t rows) {
    if (cols < 1 || rows < 1 || percent < 0 || pictureWidth < 0 || pictureHeight < 0) {
        return {};
    }
    return {int64_t(percent) * pictureWidth / 100 / cols, int64_t(percent) * pictureHeight / 100 / rows};
}

/// Scales two shoulders that would overlap down to `size`, the second with the
/// first already scaled, as the cutter does.
void fitShoulders(int32_t size, int32_t& s1, int32_t& s2) {
    if (size < s1 + s2 && s1 + s2 != 0) {
        s1 = int32_t(int64_t(size) * s1 / (s1 + s2));
        if (s1 + s2 != 0) {
            s2 = int32_t(int64_t(size) * s2 / (s1 + s2));
        }
    }
}

/// Fills the 4-connected area around (x, y) that is not `border` with `border`.
void fillToBorder(Bitmap24& canvas, int32_t x, int32_t y, Color border) {
    if (!canvas.bounds().contains(x, y) || canvas.pixel(x, y) == border) {
        return;
    }
    std::vector<Point> pending{{x, y}};
    while (!pending.empty()) {
        const Point p = pending.back();
        pending.pop_back();
        if (canvas.pixel(p.X, p.Y) == border) {
            continue;
        }
        int32_t left = p.X;
        while (left > 0 && canvas.pixel(left - 1, p.Y) != border) {
            --left;
        }
        int32_t right = p.X;
        while (right + 1 < canvas.width() && canvas.pixel(right + 1, p.Y) != border) {
            ++right;
        }
        for (int32_t cx = left; cx <= right; ++cx) {
            canvas.setPixel(cx, p.Y, border);
        }
        for (const int32_t ny : {p.Y - 1, p.Y + 1}) {
            if (ny < 0 || ny >= canvas.height()) {
                continue;
            }
            // One seed per run of open pixels next to the span.
            bool inRun = false;
            for (int32_t cx = left; cx <= right; ++cx) {
                const bool open = canvas.pixel(cx, ny) != border;
                if (open && !inRun) {
                    pending.push_back({cx, ny});
                }
                inRun = open;
            }
        }
    }
}

} // namespace

bool pieceSizeValid(int32_t percent, int32_t pictureWidth, int32_t pictureHeight, int32_t cols,
                    int32_t rows) {
    const CellSize cell = cellAt(percent, pictureWidth, pictureHeight, cols, rows);
    return cell.Width >= kMinCellSize && cell.Width <= kMaxCellSize && cell.Height >= kMinCellSize &&
           cell.Height <= kMaxCellSize;
}

bool drawStylePreview(Bitmap24* canvas, int32_t percent, int32_t pictureWidth, int32_t pictureHeight,
                      int32_t cols, int32_t rows, int32_t style, int32_t oddness) {
    if (!pieceSizeValid(percent, pictureWidth, pictureHeight, cols, rows)) {
        return false;
    }
    if (canvas == nullptr) {
        return true;
    }
    const CellSize cell = cellAt(percent, pictureWidth, pictureHeight, cols, rows);
    const auto w = int32_t(cell.Width); // 8..640 now
    const auto h = int32_t(cell.Height);
    const int32_t v = std::clamp(oddness, 0, 10) * 10;
    style = clampStyle(style);

    EdgeShape s;
    s.W3 = w / 3;
    s.sx = w / 4;
    s.T3 = h / 3;
    s.sy = h / 4;
    const int32_t xa = w / 4;
    const int32_t ya = h / 4;
    const int32_t xr = w + w / 4;
    const int32_t yb = h + h / 4;
    int32_t xf = xr;
    int32_t yf = yb;
    if (v >= 11) {
        // A skewed far corner and deeper knobs show what oddness does.
        xf = xr + w * v / 400;
        yf = yb + v * h / 400;
        s.sx += w * v / 800;
        s.sy += v * h / 800;
    }
    int32_t q = (w / 2) * v;
    s.c1 = w / 2 + q / 150;
    s.d1 = w / 4 - q / 200;
    s.c2 = w / 2 + q / 250;
    s.d2 = w / 4 - q / 300;
    fitShoulders(w + 1, s.c1, s.c2);
    q = v * (h / 2);
    s.a1 = h / 2 + q / 150;
    s.b1 = h / 4 - q / 200;
    s.a2 = h / 2 + q / 250;
    s.b2 = h / 4 - q / 300;
    fitShoulders(h + 1, s.a1, s.a2);

    TBezier plotter(*canvas, w, 1);
    plotter.setColor(kPreviewRed);
    const bool mix = style == kStyleMix;
    drawEdge(plotter, mix ? kStyleBlip : style, EdgeKind::Horizontal, s, {xa, ya}, {xr, ya});
    drawEdge(plotter, mix ? kStyleStar : style, EdgeKind::Horizontal, s, {xa, yb}, {xf, yf});
    drawEdge(plotter, mix ? kStyleClassic : style, EdgeKind::Vertical, s, {xa, ya}, {xa, yb});
    drawEdge(plotter, mix ? kStyleRound : style, EdgeKind::Vertical, s, {xr, ya}, {xf, yf});
    plotter.segment(xf, yf, xf - 1, yf + 1);
    fillToBorder(*canvas, w / 2, h / 2, kPreviewRed);
    return true;
}

} // namespace zg
