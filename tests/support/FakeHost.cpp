#include "support/FakeHost.h"

namespace zg::test {

// Text is drawn as a solid block of 6 x 10 pixels per character so that tests
// can see where text went and that it stays inside its clip rectangle.
void FakeHost::drawText(Bitmap24& target, const Rect& clip, int32_t x, int32_t y, const std::string& text,
                        const FontSpec& font, Color color) {
    texts.push_back(text);
    const Point size = textExtent(text, font);
    target.fill(intersection(Rect::fromSize(x, y, size.X, size.Y), clip), color);
}

Point FakeHost::textExtent(const std::string& text, const FontSpec&) {
    return {int32_t(text.size()) * 6, 10};
}

} // namespace zg::test
