#include "ui/GlyphButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace zg {

GlyphButton::GlyphButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

void GlyphButton::setGlyph(const QPixmap& glyph) {
    m_glyph = glyph;
    update();
}

void GlyphButton::setGlyphPlace(GlyphPlace place) {
    m_place = place;
    update();
}

void GlyphButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButton, option);

    const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    const QFontMetrics metrics(font());
    const int textFlags = Qt::TextShowMnemonic | Qt::AlignCenter;
    const QSize glyphSize = m_glyph.isNull() ? QSize(0, 0) : m_glyph.deviceIndependentSize().toSize();
    constexpr int kGap = 4;
    QRect textRect = contents;
    QPoint glyphAt;
    if (m_place == GlyphPlace::Above) {
        const int total = glyphSize.height() + (glyphSize.isEmpty() ? 0 : kGap) + metrics.height();
        const int top = contents.top() + (contents.height() - total) / 2;
        glyphAt = QPoint(contents.left() + (contents.width() - glyphSize.width()) / 2, top);
        textRect = QRect(contents.left(), top + total - metrics.height(), contents.width(), metrics.height());
    } else {
        const int textWidth = metrics.horizontalAdvance(QString(caption).remove(QLatin1Char('&')));
        const int total = textWidth + (glyphSize.isEmpty() ? 0 : kGap) + glyphSize.width();
        const int left = contents.left() + (contents.width() - total) / 2;
        textRect = QRect(left, contents.top(), textWidth, contents.height());
        glyphAt = QPoint(left + total - glyphSize.width(),
                         contents.top() + (contents.height() - glyphSize.height()) / 2);
    }
    if (isDown()) {
        const int shift = style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this);
        const int shiftDown = style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this);
        glyphAt += QPoint(shift, shiftDown);
        textRect.translate(shift, shiftDown);
    }
    if (!m_glyph.isNull()) {
        painter.drawPixmap(glyphAt,
                           isEnabled() ? m_glyph : QIcon(m_glyph).pixmap(glyphSize, QIcon::Disabled));
    }
    style()->drawItemText(&painter, textRect, textFlags, palette(), isEnabled(), caption,
                          QPalette::ButtonText);
}

} // namespace zg
