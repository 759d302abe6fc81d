#include "ui/FontMapping.h"

#include <QFontMetricsF>

#include <cmath>
#include <cstdlib>

namespace zg {

namespace {
constexpr int kDefaultPixelSize = 11;
constexpr int kProbePixelSize = 100;
} // namespace

int fontPixelSize(const QString& family, int height) {
    if (height == 0) {
        return kDefaultPixelSize;
    }
    if (height < 0) {
        return std::max(1, std::abs(height));
    }
    // A cell height includes the internal leading: scale the character size
    // so that ascent plus descent matches it.
    QFont probe(family);
    probe.setPixelSize(kProbePixelSize);
    const QFontMetricsF metrics(probe);
    const double cell = metrics.ascent() + metrics.descent();
    if (cell <= 0.0) {
        return height;
    }
    return std::max(1, int(std::lround(height * kProbePixelSize / cell)));
}

QFont toQFont(const FontSpec& wanted) {
    const QString family = QString::fromStdString(wanted.Name);
    QFont font(family);
    font.setPixelSize(fontPixelSize(family, wanted.Height));
    font.setBold(wanted.Bold);
    font.setItalic(wanted.Italic);
    font.setUnderline(wanted.Underline);
    font.setStrikeOut(wanted.StrikeOut);
    return font;
}

} // namespace zg
