#include "ui/TSplashForm.h"

#include "gfx/Resources.h"
#include "ui/GlyphButton.h"
#include "ui/Glyphs.h"
#include "ui/MakerInfo.h"

#include <QCheckBox>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>

namespace zg {

namespace {

// Layout of the panel, in pixels. Everything below the message box moves up
// by the box's height plus the product label's top offset when it is hidden.
constexpr int kWindowWidth = 440;
constexpr int kBorder = 4;
constexpr int kPanelWidth = kWindowWidth - 2 * kBorder;
constexpr int kMargin = 14;
constexpr int kInnerWidth = kPanelWidth - 2 * kMargin;
constexpr int kProductTop = 10;
constexpr int kMemoTop = 76;
constexpr int kMemoHeight = 120;
constexpr int kGiftTop = 204;
constexpr int kGiftHeight = 64;
constexpr int kButtonsTop = 276;
constexpr int kOkWidth = 96;
constexpr int kOkHeight = 60;
constexpr int kPanelHeight = kButtonsTop + kOkHeight + 10;
constexpr int kWindowHeight = kPanelHeight + 2 * kBorder;

void setTextColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

Qt::Alignment toQtAlignment(int alignment) {
    switch (alignment) {
    case 1:
        return Qt::AlignRight;
    case 2:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

} // namespace

QString splashGiftText(const QString& versionText) {
    return QStringLiteral(
               "This free jigsaw gift was created by Zanthoria %1. Click on our web site below and download "
               "the free demo to see what else the latest version can do!  Or order the full-version now!")
        .arg(versionText);
}

QString shortMakerVersion(const QString& makerVersion) {
    const qsizetype dot = makerVersion.indexOf(QLatin1Char('.'));
    return dot < 0 ? makerVersion : makerVersion.left(dot);
}

TSplashForm::TSplashForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("SplashForm"));
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);

    m_panel = new QFrame(this);
    m_panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_panel->setLineWidth(2);
    m_panel->setAutoFillBackground(true);
    // The panel and everything on it take the desktop's colours again; only
    // the border around it stays black.
    QPalette desktop = QGuiApplication::palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::WindowText, QPalette::Base, QPalette::Text,
                                     QPalette::Button, QPalette::ButtonText, QPalette::Light, QPalette::Dark,
                                     QPalette::Mid, QPalette::Shadow, QPalette::Midlight}) {
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            desktop.setColor(group, role, QGuiApplication::palette().color(group, role));
        }
    }
    m_panel->setPalette(desktop);

    QFont productFont(QStringLiteral("Times New Roman"));
    productFont.setStyleHint(QFont::Serif);
    productFont.setPixelSize(34);
    productFont.setBold(true);
    productFont.setItalic(true);
    m_productShadow = new QLabel(QStringLiteral("Zanthoria Gift"), m_panel);
    m_productShadow->setObjectName(QStringLiteral("ProductShad"));
    m_productShadow->setFont(productFont);
    setTextColour(m_productShadow, QPalette::WindowText, Qt::white);
    m_product = new QLabel(QStringLiteral("Zanthoria Gift"), m_panel);
    m_product->setObjectName(QStringLiteral("Product"));
    m_product->setFont(productFont);
    setTextColour(m_product, QPalette::WindowText, Qt::red);

    m_version = new QLabel(QString::fromLatin1(kProgramVersion), m_panel);
    m_version->setObjectName(QStringLiteral("Version"));
    m_version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_copyright = new QLabel(QString::fromUtf8(kMakerNotice), m_panel);
    m_copyright->setObjectName(QStringLiteral("Copyrite"));

    m_memo = new QTextEdit(m_panel);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setReadOnly(true);
    m_memo->setAcceptRichText(false);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    m_giftLabel = new QLabel(m_panel);
    m_giftLabel->setObjectName(QStringLiteral("GiftLab"));
    m_giftLabel->setWordWrap(true);
    m_giftLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_giftLabel->setMargin(4);
    m_giftLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_okBtn = new GlyphButton(QStringLiteral("&Play..."), m_panel);
    m_okBtn->setObjectName(QStringLiteral("OkBtn"));
    m_okBtn->setDefault(true);
    m_okBtn->setAutoDefault(true);
    try {
        m_okBtn->setGlyph(loadGlyph("SpeedPicture"));
    } catch (const ResourceError&) {
        // A missing glyph leaves a plain button.
    }
    connect(m_okBtn, &QPushButton::clicked, this, &QDialog::accept);

    m_webBtn = new QPushButton(QString::fromLatin1(kMakerWebAddress), m_panel);
    m_webBtn->setObjectName(QStringLiteral("WebBtn"));
    m_webBtn->setFlat(true);
    m_webBtn->setAutoDefault(false);
    m_webBtn->setCursor(Qt::PointingHandCursor);
    setTextColour(m_webBtn, QPalette::ButtonText, Qt::blue);
    m_webBtn->setToolTip(QStringLiteral("Connect to our web site now!"));
    m_webBtn->setStatusTip(QStringLiteral("Connect to our web site now!"));
    connect(m_webBtn, &QPushButton::clicked, this, [this] { emit webPageRequested(m_webBtn->text()); });

    m_orderBtn = new QPushButton(QStringLiteral("Order"), m_panel);
    m_orderBtn->setObjectName(QStringLiteral("OrderBtn"));
    m_orderBtn->setAutoDefault(false);
    m_orderBtn->setEnabled(false);
    connect(m_orderBtn, &QPushButton::clicked, this, &TSplashForm::orderRequested);

    m_box = new QCheckBox(m_panel);
    m_box->setObjectName(QStringLiteral("SaveResumeBox"));
    m_box->setChecked(true);
    m_box->hide();

    relayout();
    m_fullHeight = height();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

void TSplashForm::relayout() {
    const int shift = m_messageShown ? 0 : kMemoHeight + kProductTop;
    m_panel->setGeometry(kBorder, kBorder, kPanelWidth, kPanelHeight - shift);
    m_productShadow->setGeometry(kMargin + 1, kProductTop + 1, 320, 44);
    m_product->setGeometry(kMargin, kProductTop, 320, 44);
    m_version->setGeometry(kPanelWidth - kMargin - 90, kProductTop + 14, 90, 20);
    m_copyright->setGeometry(kMargin, 54, kInnerWidth, 18);
    m_memo->setGeometry(kMargin, kMemoTop, kInnerWidth, kMemoHeight);
    m_memo->setVisible(m_messageShown);
    m_giftLabel->setGeometry(kMargin, kGiftTop - shift, kInnerWidth, kGiftHeight);
    const int okHeight = m_shortButton ? kOkHeight * 4 / 6 : kOkHeight;
    m_okBtn->setGeometry(kMargin, kButtonsTop - shift, kOkWidth, okHeight);
    m_box->setGeometry(kMargin, kButtonsTop - shift + okHeight + 2, kPanelWidth - 2 * kMargin, 18);
    m_webBtn->setGeometry(kMargin + kOkWidth + 12, kButtonsTop - shift + 16, 200, 28);
    m_orderBtn->setGeometry(kPanelWidth - kMargin - 90, kButtonsTop - shift + 16, 90, 28);
    setFixedSize(kWindowWidth, kWindowHeight - shift);
}

void TSplashForm::setGiftText(const QString& versionText) {
    m_giftLabel->setText(splashGiftText(versionText));
}

QString TSplashForm::giftText() const {
    return m_giftLabel->text();
}

void TSplashForm::setMessage(const QString& text, const MessageLook& look) {
    m_memo->setPlainText(text);
    m_memo->setFont(look.font);
    QPalette colours = m_memo->palette();
    colours.setColor(QPalette::Text, look.textColor);
    colours.setColor(QPalette::Base, look.background.value_or(QColor(Qt::white)));
    m_memo->setPalette(colours);
    if (look.background) {
        QTextCursor all(m_memo->document());
        all.select(QTextCursor::Document);
        QTextBlockFormat format;
        format.setAlignment(toQtAlignment(look.alignment));
        all.mergeBlockFormat(format);
    }
    m_messageShown = !text.isEmpty();
    relayout();
}

QString TSplashForm::messageText() const {
    return m_memo->toPlainText();
}

bool TSplashForm::isMessageShown() const {
    return m_messageShown;
}

void TSplashForm::showResumeBox() {
    m_box->setText(QStringLiteral("Resume game..."));
    m_box->show();
    m_shortButton = true;
    m_okBtn->setGlyphPlace(GlyphButton::GlyphPlace::Right);
    relayout();
}

void TSplashForm::makeExitVariant() {
    m_okBtn->setText(QStringLiteral("&Close"));
    m_box->setText(QStringLiteral("Save game..."));
    m_box->setChecked(true);
    m_box->show();
    m_shortButton = true;
    m_okBtn->setGlyphPlace(GlyphButton::GlyphPlace::Right);
    relayout();
}

bool TSplashForm::isBoxShown() const {
    return !m_box->isHidden();
}

bool TSplashForm::isBoxChecked() const {
    return m_box->isChecked();
}

void TSplashForm::setButtonsEnabled(bool enabled) {
    m_okBtn->setEnabled(enabled);
    m_webBtn->setEnabled(enabled);
    m_buttonsEnabled = enabled;
    m_orderBtn->setEnabled(enabled && m_orderAvailable);
}

void TSplashForm::setOrderAvailable(bool available) {
    m_orderAvailable = available;
    m_orderBtn->setEnabled(m_buttonsEnabled && available);
}

void TSplashForm::setStayOnTop(bool onTop) {
    if (bool(windowFlags() & Qt::WindowStaysOnTopHint) == onTop) {
        return;
    }
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (wasVisible) {
        show();
    }
}

QPushButton* TSplashForm::okButton() const {
    return m_okBtn;
}

void TSplashForm::reject() {
    // While the puzzle is being built the buttons are disabled and the banner stays.
    if (m_okBtn->isEnabled()) {
        accept();
    }
}

} // namespace zg
