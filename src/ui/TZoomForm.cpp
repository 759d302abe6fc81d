#include "ui/TZoomForm.h"

#include "gfx/Bitmap24.h"
#include "gfx/PictureFit.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace zg {

QImage wrapBitmap(const Bitmap24& bitmap) {
    if (bitmap.isEmpty()) {
        return {};
    }
    return QImage(bitmap.data(), bitmap.width(), bitmap.height(), qsizetype(bitmap.stride()),
                  QImage::Format_BGR888);
}

TZoomForm::TZoomForm(const QImage& picture, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_picture(picture) {
    setObjectName(QStringLiteral("ZoomForm"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    QScreen* screen = parent ? parent->screen() : nullptr;
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen) {
        setGeometry(screen->geometry());
    }
    setWindowState(Qt::WindowFullScreen);
}

QRect TZoomForm::pictureRect() const {
    const Rect r = placePicture(m_picture.width(), m_picture.height(), width(), height(), kMarginPercent);
    return QRect(r.Left, r.Top, r.width(), r.height());
}

void TZoomForm::resizeEvent(QResizeEvent* event) {
    m_scaled = QImage();
    QDialog::resizeEvent(event);
}

void TZoomForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const QRect target = pictureRect();
    if (target.isEmpty() || m_picture.isNull()) {
        return;
    }
    // Resample once per size, in device pixels so a scaled display gets the
    // full resolution; a plain copy when the picture already has that size.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(target.size()) * ratio).toSize();
    if (m_scaled.isNull() || m_scaled.size() != pixels) {
        m_scaled = pixels == m_picture.size()
                       ? m_picture.copy()
                       : m_picture.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_scaled.setDevicePixelRatio(ratio);
    }
    painter.drawImage(target.topLeft(), m_scaled);
}

void TZoomForm::keyPressEvent(QKeyEvent* event) {
    // A key held down since before the window opened (the F2 that opened it)
    // repeats; only a fresh press closes the window.
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    accept();
}

void TZoomForm::mousePressEvent(QMouseEvent*) {
    accept();
}

} // namespace zg
