#include "app/BoardWidget.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace zg {

BoardWidget::BoardWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PaintBox1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void BoardWidget::setSource(const Bitmap24* backBuffer) {
    m_source = backBuffer;
}

void BoardWidget::setBoardColor(const QColor& colour) {
    m_boardColor = colour;
}

void BoardWidget::paintEvent(QPaintEvent* event) {
    ++m_paintCount;
    QPainter painter(this);
    QRegion rest = event->region();
    if (m_source != nullptr && !m_source->isEmpty()) {
        // Wraps the back buffer's rows as they are: three bytes per pixel in
        // blue, green, red order on a four-byte-aligned stride. No copy.
        const QImage image(m_source->data(), m_source->width(), m_source->height(),
                           qsizetype(m_source->stride()), QImage::Format_BGR888);
        const QRegion covered = event->region() & QRect(0, 0, image.width(), image.height());
        for (const QRect& r : covered) {
            painter.drawImage(r.topLeft(), image, r);
        }
        rest -= covered;
    }
    for (const QRect& r : rest) {
        painter.fillRect(r, m_boardColor);
    }
}

void BoardWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit boardResized(size());
}

void BoardWidget::mousePressEvent(QMouseEvent* event) {
    emit boardMousePressed(event);
}

void BoardWidget::mouseMoveEvent(QMouseEvent* event) {
    emit boardMouseMoved(event);
}

void BoardWidget::mouseReleaseEvent(QMouseEvent* event) {
    emit boardMouseReleased(event);
}

void BoardWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    emit boardMousePressed(event);
}

} // namespace zg
