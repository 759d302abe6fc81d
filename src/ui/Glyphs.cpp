#include "ui/Glyphs.h"

#include "gfx/Resources.h"

#include <QImage>

#include <string>

namespace zg {

namespace {
// Where the hand cursor's grip sits in its 32 x 32 picture.
constexpr int kCursorHotX = 16;
constexpr int kCursorHotY = 17;
} // namespace

QPixmap loadGlyph(std::string_view name) {
    const std::span<const uint8_t> bytes = loadResource(name, "PNG");
    QImage image = QImage::fromData(bytes.data(), int(bytes.size()), "PNG");
    if (image.isNull()) {
        throw ResourceError("Can't load resource: " + std::string(name));
    }
    return QPixmap::fromImage(std::move(image));
}

QCursor loadBoardCursor() {
    return QCursor(loadGlyph("Cursor1"), kCursorHotX, kCursorHotY);
}

} // namespace zg
