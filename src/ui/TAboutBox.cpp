#include "ui/TAboutBox.h"

#include "gfx/Resources.h"
#include "ui/Glyphs.h"
#include "ui/MakerInfo.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zg {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    try {
        icon->setPixmap(
            loadGlyph("SpeedPicture").scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    } catch (const ResourceError&) {
        // The box reads the same without its picture.
    }

    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPixelSize(22);
    titleFont.setBold(true);
    auto* product = new QLabel(QStringLiteral("Zanthoria Gift"), this);
    product->setObjectName(QStringLiteral("ProductName"));
    product->setFont(titleFont);
    auto* version =
        new QLabel(QStringLiteral("Jigsaw player %1").arg(QString::fromLatin1(kProgramVersion)), this);
    version->setObjectName(QStringLiteral("Version"));
    auto* notice = new QLabel(QString::fromUtf8(kMakerNotice), this);
    notice->setObjectName(QStringLiteral("Copyright"));

    const QString address = QString::fromLatin1(kMakerWebAddress);
    m_webLab = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(address.toHtmlEscaped()), this);
    m_webLab->setObjectName(QStringLiteral("WebLab"));
    m_webLab->setTextFormat(Qt::RichText);
    m_webLab->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    m_webLab->setCursor(Qt::PointingHandCursor);
    m_webLab->setToolTip(address);
    connect(m_webLab, &QLabel::linkActivated, this,
            [this](const QString& link) { emit webPageRequested(link); });

    m_okBtn = new QPushButton(QStringLiteral("OK"), this);
    m_okBtn->setObjectName(QStringLiteral("OKBtn"));
    m_okBtn->setDefault(true);
    connect(m_okBtn, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(product);
    texts->addWidget(version);
    texts->addSpacing(8);
    texts->addWidget(notice);
    texts->addWidget(m_webLab);
    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okBtn);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(top);
    layout->addLayout(buttons);
}

} // namespace zg
