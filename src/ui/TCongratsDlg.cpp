#include "ui/TCongratsDlg.h"

#include "gfx/PictureFit.h"
#include "gfx/Resources.h"
#include "ui/Glyphs.h"

#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace zg {

namespace {

constexpr int kPictureBoxWidth = 128;
constexpr int kPictureBoxHeight = 96;
constexpr int kStatusWidth = 240;
constexpr int kShadowOffset = 2;
constexpr int kHeadingPixels = 26;

/// A label whose text is drawn twice: the shadow colour shifted down and
/// right, then the text colour over it.
class ShadowLabel : public QLabel {
public:
    ShadowLabel(const QString& text, QColor textColor, QColor shadowColor, QWidget* parent)
        : QLabel(text, parent), m_text(textColor), m_shadow(shadowColor) {
        setContentsMargins(0, 0, kShadowOffset, kShadowOffset);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setFont(font());
        const QRect area = contentsRect();
        painter.setPen(m_shadow);
        painter.drawText(area.translated(kShadowOffset, kShadowOffset), int(alignment()), text());
        painter.setPen(m_text);
        painter.drawText(area, int(alignment()), text());
    }

private:
    QColor m_text;
    QColor m_shadow;
};

} // namespace

TCongratsDlg::TCongratsDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CongratsDlg"));
    setWindowTitle(QStringLiteral("You solved it!"));
    setModal(true);

    QFont headingFont(QStringLiteral("Arial"));
    headingFont.setPixelSize(kHeadingPixels);
    headingFont.setBold(true);
    m_heading = new ShadowLabel(QStringLiteral("Congratulations!"), Qt::blue, Qt::white, this);
    m_heading->setObjectName(QStringLiteral("Heading"));
    m_heading->setFont(headingFont);
    m_heading->setAlignment(Qt::AlignCenter);

    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("Picture"));
    m_picture->setFixedSize(kPictureBoxWidth, kPictureBoxHeight);
    m_picture->setAlignment(Qt::AlignCenter);
    try {
        m_picture->setPixmap(loadGlyph("SpeedPicture"));
    } catch (const ResourceError&) {
        // A missing glyph leaves the box empty.
    }

    // No colour is set on the status text: it takes the desktop's window-text
    // colour, so it stays readable on any colour scheme.
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("JigStatus"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);
    m_status->setFixedWidth(kStatusWidth);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_okBtn = new QPushButton(QStringLiteral("OK"), this);
    m_okBtn->setObjectName(QStringLiteral("OkBtn"));
    m_okBtn->setDefault(true);
    connect(m_okBtn, &QPushButton::clicked, this, &QDialog::accept);

    auto* middle = new QHBoxLayout;
    middle->setSpacing(12);
    middle->addWidget(m_picture);
    middle->addWidget(m_status);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okBtn);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setSpacing(12);
    layout->addWidget(m_heading);
    layout->addLayout(middle);
    layout->addLayout(buttons);
}

void TCongratsDlg::setStatusText(const QString& text) {
    m_status->setText(text);
}

QString TCongratsDlg::statusText() const {
    return m_status->text();
}

void TCongratsDlg::setPicture(const QImage& picture) {
    const Point size = fitPicture(picture.width(), picture.height(), kPictureBoxWidth, kPictureBoxHeight);
    if (size.X <= 0 || size.Y <= 0) {
        return;
    }
    m_picture->setPixmap(
        QPixmap::fromImage(picture.scaled(size.X, size.Y, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

QPixmap TCongratsDlg::picture() const {
    return m_picture->pixmap();
}

} // namespace zg
