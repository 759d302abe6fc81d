#include "ui/TOverlayForm.h"

#include "gfx/PictureFit.h"

#include <QCloseEvent>
#include <QPainter>
#include <QResizeEvent>

namespace zg {

namespace {
constexpr int kStartWidth = 200;
constexpr int kStartHeight = 150;
} // namespace

TOverlayForm::TOverlayForm(PictureSource source, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_source(std::move(source)) {
    setObjectName(QStringLiteral("OverlayForm"));
    setWindowTitle(QStringLiteral("Picture"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(kStartWidth, kStartHeight);
}

void TOverlayForm::fitHeightToWidth() {
    const QImage picture = m_source ? m_source() : QImage();
    if (picture.isNull() || width() <= 0) {
        return;
    }
    const int height = int(qint64(picture.height()) * width() / picture.width());
    if (height > 0 && height != this->height()) {
        resize(width(), height);
    }
    update();
}

void TOverlayForm::showOver(const QRect& area) {
    if (!m_placed) {
        constexpr int kInset = 8;
        move(area.right() - width() - kInset, area.top() + kInset);
        m_placed = true;
    }
    show();
}

void TOverlayForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QImage picture = m_source ? m_source() : QImage();
    if (picture.isNull()) {
        painter.fillRect(rect(), palette().color(QPalette::Window));
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), picture);
}

void TOverlayForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Keep the picture's proportions: the client area becomes the largest
    // picture-shaped size inside the one the user gave. The resize made here
    // comes back through this handler and must not start another.
    if (m_fitting) {
        return;
    }
    const QImage picture = m_source ? m_source() : QImage();
    if (picture.isNull()) {
        return;
    }
    const Point fit = fitPicture(picture.width(), picture.height(), width(), height());
    if (fit.X <= 0 || fit.Y <= 0 || QSize(fit.X, fit.Y) == size()) {
        return;
    }
    m_fitting = true;
    resize(fit.X, fit.Y);
    m_fitting = false;
}

void TOverlayForm::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

} // namespace zg
