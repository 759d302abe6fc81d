#include "board/TMural.h"

#include "gfx/RasterOps.h"
#include "host/Host.h"

#include <algorithm>

namespace zg {

namespace {

int32_t quantiseChannel(int32_t value, int32_t& error) {
    const int32_t b = value + error;
    int32_t q = (b / 8) * 8;
    if (b - q >= 4) {
        q += 8;
    }
    if (q > 255) {
        q = 255;
    }
    if (b < 0) {
        q = 0;
    }
    error = b - q;
    return q;
}

// Floor division for a positive divisor.
int32_t floorDiv(int32_t a, int32_t b) {
    const int32_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

} // namespace

Color Quantiser::quantise(Color c) {
    const int32_t r = quantiseChannel(redOf(c), m_red);
    const int32_t g = quantiseChannel(greenOf(c), m_green);
    const int32_t b = quantiseChannel(blueOf(c), m_blue);
    return rgb(uint8_t(r), uint8_t(g), uint8_t(b));
}

Color gradientRowColor(Color c, int32_t height, int32_t y) {
    if (height <= 0) {
        return c & 0x00FFFFFFu;
    }
    const int64_t f = int64_t(height) - y / 2;
    auto channel = [&](uint8_t v) { return uint8_t(f * v / height); };
    return rgb(channel(redOf(c)), channel(greenOf(c)), channel(blueOf(c)));
}

TMural::TMural(const Host& host) : m_host(host) {}

void TMural::SetWallSize(int32_t width, int32_t height) {
    m_wall.resize(std::max(0, width), std::max(0, height));
}

void TMural::PaintWall(bool ghost, const Bitmap24* picture, Color colour) {
    const Color base = isSystemColor(colour) ? rgb(255, 255, 255) : colour;
    const int32_t w = m_wall.width();
    const int32_t h = m_wall.height();
    const bool reduce = m_host.displayDepth() < 24;
    if (reduce) {
        QuantiseReset();
    }
    // The colour each row was painted in; the ghost blend works against it, so
    // that a zero weight gives back exactly the painted gradient.
    std::vector<Color> rowColors(static_cast<std::size_t>(h));
    for (int32_t y = 0; y < h; ++y) {
        Color c = gradientRowColor(base, h, y);
        if (reduce) {
            c = Quantise(c);
        }
        rowColors[std::size_t(y)] = c;
        m_wall.fill(Rect{0, y, w, y + 1}, c);
    }
    if (ghost && picture != nullptr && !picture->isEmpty()) {
        blendGhost(*picture, rowColors);
    }
}

void TMural::blendGhost(const Bitmap24& picture, const std::vector<Color>& rowColors) {
    const int32_t w = m_wall.width();
    const int32_t h = m_wall.height();
    const int32_t x0 = (w - picture.width()) / 2;
    const int32_t y0 = (h - picture.height()) / 2;
    copyRect(m_wall, x0, y0, picture, picture.bounds());
    const Rect area =
        intersection(Rect::fromSize(x0, y0, picture.width(), picture.height()), m_wall.bounds());
    const int32_t weight = std::clamp(GhostLevel, 0, 10) * 12;
    for (int32_t y = area.Top; y < area.Bottom; ++y) {
        const Color k = rowColors[std::size_t(y)];
        const int32_t back[3] = {blueOf(k), greenOf(k), redOf(k)};
        uint8_t* p = m_wall.row(y) + std::size_t(area.Left) * 3;
        for (int32_t x = area.Left; x < area.Right; ++x) {
            for (int ch = 0; ch < 3; ++ch, ++p) {
                const int32_t v = *p;
                const int32_t lifted = std::clamp(v - (v - 127) / 2 + 20, 0, 255);
                *p = uint8_t(back[ch] + floorDiv((lifted - back[ch]) * weight, 128));
            }
        }
    }
}

void TMural::CopyTo(const Rect& r, Bitmap24& canvas) const {
    copyRect(canvas, r.Left, r.Top, m_wall, r);
}

} // namespace zg
