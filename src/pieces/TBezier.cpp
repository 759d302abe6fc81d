#include "pieces/TBezier.h"

#include "pieces/ByteRuns.h"

#include <algorithm>
#include <cmath>

namespace zg {

TBezier::TBezier(CutMap& map, int32_t cols) : m_map(&map) {
    // A fresh map is zero already; reading it is cheaper than writing it again.
    const std::size_t size = map.Bytes.size();
    if (byteruns::findOtherByte(map.Bytes.data(), 0, size, 0) != size) {
        std::fill(map.Bytes.begin(), map.Bytes.end(), uint8_t(0));
    }
    setUp(map.Width, cols);
}

TBezier::TBezier(Bitmap24& canvas, int32_t width, int32_t cols) : m_canvas(&canvas) {
    setUp(width, cols);
}

void TBezier::setUp(int32_t width, int32_t cols) {
    const int32_t divisor = std::max(cols, 1);
    m_steps = std::clamp((std::max(width, 0) / divisor) / 2, 1, kMaxSteps);

    // C(n, i) * t^i * (1 - t)^(n - i), by repeated multiplication so the table
    // is the same on every platform.
    for (int32_t n = 1; n <= kMaxDegree; ++n) {
        for (int32_t i = 0; i <= n; ++i) {
            double binomial = 1.0;
            for (int32_t f = 1; f <= i; ++f) {
                binomial = binomial * double(n - i + f) / double(f);
            }
            for (int32_t k = 0; k <= kMaxSteps; ++k) {
                const double t = double(k) / double(m_steps);
                double w = binomial;
                for (int32_t p = 0; p < i; ++p) {
                    w *= t;
                }
                for (int32_t p = 0; p < n - i; ++p) {
                    w *= 1.0 - t;
                }
                m_weights[n][i][k] = w;
            }
        }
    }
}

void TBezier::plot(int64_t x, int64_t y) {
    if (m_map != nullptr) {
        if (x >= 0 && y >= 0 && x < m_map->Width && y < m_map->Height) {
            m_map->at(int32_t(x), int32_t(y)) = m_pen;
        }
    } else if (m_canvas != nullptr) {
        if (x >= 0 && y >= 0 && x < m_canvas->width() && y < m_canvas->height()) {
            m_canvas->setPixel(int32_t(x), int32_t(y), m_color);
        }
    }
}

void TBezier::lineTo(int32_t x, int32_t y) {
    const int64_t dx = int64_t(x) - m_x;
    const int64_t dy = int64_t(y) - m_y;
    const int64_t stepX = dx > 0 ? 1 : -1;
    const int64_t stepY = dy > 0 ? 1 : -1;
    const int64_t lenX = dx < 0 ? -dx : dx;
    const int64_t lenY = dy < 0 ? -dy : dy;
    const bool xMajor = lenY < lenX; // equal lengths run along y
    const int64_t major = xMajor ? lenX : lenY;
    const int64_t minor = xMajor ? lenY : lenX;

    int64_t cx = m_x;
    int64_t cy = m_y;
    int64_t error = 2 * minor - major;
    for (int64_t n = 0;; ++n) {
        plot(cx, cy);
        if (n == major) {
            break;
        }
        if (xMajor) {
            cx += stepX;
        } else {
            cy += stepY;
        }
        if (error >= 0) {
            if (xMajor) {
                cy += stepY;
            } else {
                cx += stepX;
            }
            error += 2 * (minor - major);
        } else {
            error += 2 * minor;
        }
    }
    m_x = x;
    m_y = y;
}

int32_t TBezier::roundHalfEven(double v) {
    // Curve points are small, so their floor comes from an integer conversion
    // (exact below 2^52) rather than a library call; anything else, NaN
    // included, takes the general way.
    constexpr double kExactLimit = 4503599627370496.0; // 2^52
    if (v > -kExactLimit && v < kExactLimit) {
        auto whole = int64_t(v); // toward zero
        if (double(whole) > v) {
            --whole;
        }
        const double fraction = v - double(whole);
        if (fraction > 0.5 || (fraction == 0.5 && (whole & 1) != 0)) {
            ++whole;
        }
        return int32_t(std::clamp<int64_t>(whole, INT32_MIN, INT32_MAX));
    }
    const double whole = std::floor(v);
    const double fraction = v - whole;
    double r = whole;
    if (fraction > 0.5) {
        r = whole + 1.0;
    } else if (fraction == 0.5) {
        r = std::fmod(whole, 2.0) == 0.0 ? whole : whole + 1.0;
    }
    return int32_t(std::clamp(r, double(INT32_MIN), double(INT32_MAX)));
}

void TBezier::curve(std::span<const Point> points) {
    const auto degree = int32_t(points.size()) - 1;
    if (degree < 1 || degree > kMaxDegree) {
        return;
    }
    for (int32_t k = 0; k <= m_steps; ++k) {
        double x = 0.0;
        double y = 0.0;
        for (int32_t i = 0; i <= degree; ++i) {
            const double w = m_weights[degree][i][k];
            x += w * double(points[std::size_t(i)].X);
            y += w * double(points[std::size_t(i)].Y);
        }
        const int32_t px = roundHalfEven(x);
        const int32_t py = roundHalfEven(y);
        if (k == 0) {
            moveTo(px, py);
        } else {
            lineTo(px, py);
        }
    }
}

} // namespace zg
