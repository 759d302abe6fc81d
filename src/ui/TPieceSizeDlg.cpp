#include "ui/TPieceSizeDlg.h"

#include "game/TJigsaw.h"
#include "gfx/Bitmap24.h"
#include "pieces/AtlasTooLargeError.h"
#include "pieces/StylePreview.h"
#include "ui/DialogColors.h"
#include "ui/TZoomForm.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace zg {

/// A small round yellow indicator lamp.
class StyleLamp : public QWidget {
public:
    explicit StyleLamp(QWidget* parent) : QWidget(parent) { setFixedSize(12, 12); }
    void setLit(bool lit) {
        if (m_lit != lit) {
            m_lit = lit;
            update();
        }
    }
    bool isLit() const { return m_lit; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QColor(64, 64, 0));
        painter.setBrush(m_lit ? QColor(255, 255, 0) : QColor(112, 112, 40));
        painter.drawEllipse(QRectF(rect()).adjusted(1, 1, -1, -1));
    }

private:
    bool m_lit = false;
};

namespace {

constexpr int kIconSize = 28;

struct StyleButton {
    const char* name;
    const char* lamp;
    const char* caption;
    const char* hint;
};

// Styles 1..6 in button order.
constexpr StyleButton kStyles[TPieceSizeDlg::kStyleCount] = {
    {"BtnClassic", "LEDClassic", "Classic", "The traditional jigsaw piece style"},
    {"BtnBlip", "LEDBlip", "Blip", "Straight edges and round tabs"},
    {"BtnSquare", "LEDSquare", "Squares", "Straight edges and no tabs"},
    {"BtnStar", "LEDStar", "Stars", "Straight edges and pointed tabs"},
    {"BtnRound", "LEDRound", "Bubbles", "Curved edges and no tabs"},
    {"BtnMix", "LEDMix", "Mixture", "A random mixture of all the different styles"},
};

Color colourOf(const QColor& c) {
    return rgb(uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue()));
}

/// The preview area: repaints the dialog's sample piece from scratch.
class PreviewArea : public QWidget {
public:
    PreviewArea(const TPieceSizeDlg& dialog, QWidget* parent) : QWidget(parent), m_dialog(dialog) {
        setObjectName(QStringLiteral("PaintBox1"));
        setFixedSize(TPieceSizeDlg::kPreviewWidth, TPieceSizeDlg::kPreviewHeight);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        Bitmap24 canvas(width(), height());
        m_dialog.drawPreview(canvas);
        QPainter painter(this);
        painter.drawImage(0, 0, wrapBitmap(canvas));
    }

private:
    const TPieceSizeDlg& m_dialog;
};

} // namespace

PieceSizeHooks pieceSizeHooksFor(std::function<TJigsaw&()> jigsaw, std::function<void()> redrawn) {
    PieceSizeHooks hooks;
    hooks.preview = [jigsaw](Bitmap24* canvas, int scale, int style, int oddness) {
        const TGameState& s = jigsaw().State;
        return drawStylePreview(canvas, scale, s.PictureWidth, s.PictureHeight, s.Cols, s.Rows, style,
                                oddness);
    };
    hooks.setShape = [jigsaw](int oddness, int style) {
        TGameState& s = jigsaw().State;
        s.Oddness = uint16_t(std::clamp(oddness, 0, 10));
        s.Style = std::clamp(style, 1, TPieceSizeDlg::kStyleCount);
    };
    hooks.setScale = [jigsaw, redrawn = std::move(redrawn)](int scale) {
        TJigsaw& jig = jigsaw();
        if (!jig.Rescale(scale)) {
            return false;
        }
        // Lays the board out again, which puts each group back together with
        // its new shapes.
        jig.SetBoardSize(jig.BackBuffer.width(), jig.BackBuffer.height());
        if (redrawn) {
            redrawn();
        }
        return true;
    };
    return hooks;
}

TPieceSizeDlg::TPieceSizeDlg(PieceSizeHooks hooks, QWidget* parent)
    : QDialog(parent), m_hooks(std::move(hooks)) {
    setObjectName(QStringLiteral("PieceSizeDlg"));
    setWindowTitle(QStringLiteral("Set Piece Size and Shape"));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("PreviewPanel"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(2);
    m_preview = new PreviewArea(*this, panel);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(2, 2, 2, 2);
    panelLayout->addWidget(m_preview);

    auto* styles = new QGridLayout;
    styles->setHorizontalSpacing(4);
    for (int i = 0; i < kStyleCount; ++i) {
        const StyleButton& s = kStyles[i];
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(s.name));
        button->setFixedSize(kIconSize + 8, kIconSize + 8);
        button->setIconSize(QSize(kIconSize, kIconSize));
        button->setToolTip(QString::fromLatin1(s.caption));
        button->setStatusTip(QString::fromLatin1(s.hint));
        // The button shows a small piece of its own style.
        Bitmap24 icon(kIconSize, kIconSize);
        icon.fill(colourOf(palette().color(QPalette::Button)));
        // One 16-pixel piece: a one-piece cut of a 16 x 16 picture.
        drawStylePreview(&icon, 100, 16, 16, 1, 1, i + 1, 0);
        button->setIcon(QIcon(QPixmap::fromImage(wrapBitmap(icon).copy())));
        const int style = i + 1;
        connect(button, &QToolButton::clicked, this, [this, style] {
            selectStyle(style);
            choiceChanged();
        });
        m_styleBtns[std::size_t(i)] = button;
        auto* lamp = new StyleLamp(this);
        lamp->setObjectName(QString::fromLatin1(s.lamp));
        m_leds[std::size_t(i)] = lamp;
        styles->addWidget(button, 0, i, Qt::AlignHCenter);
        styles->addWidget(lamp, 1, i, Qt::AlignHCenter);
    }

    auto* oddCaption = new QLabel(QStringLiteral("Oddness:"), this);
    m_oddLabel = new QLabel(this);
    m_oddLabel->setObjectName(QStringLiteral("LabelOdd"));
    m_oddBar = new QScrollBar(Qt::Horizontal, this);
    m_oddBar->setObjectName(QStringLiteral("ScrollBarOdd"));
    m_oddBar->setRange(0, 10);
    m_oddBar->setPageStep(1);
    m_oddBar->setStatusTip(QStringLiteral("Set the amount of shape irregularity"));
    auto* scaleCaption = new QLabel(QStringLiteral("Set size:"), this);
    m_scaleLabel = new QLabel(this);
    m_scaleLabel->setObjectName(QStringLiteral("LabelScale"));
    m_scaleBar = new QScrollBar(Qt::Horizontal, this);
    m_scaleBar->setObjectName(QStringLiteral("ScrollBarScale"));
    m_scaleBar->setRange(10, 300);
    m_scaleBar->setSingleStep(10);
    m_scaleBar->setPageStep(20);
    m_scaleBar->setValue(100);
    connect(m_oddBar, &QScrollBar::valueChanged, this, [this] { choiceChanged(); });
    connect(m_scaleBar, &QScrollBar::valueChanged, this, [this] { choiceChanged(); });

    auto* bars = new QGridLayout;
    bars->addWidget(oddCaption, 0, 0);
    bars->addWidget(m_oddLabel, 0, 1, Qt::AlignRight);
    bars->addWidget(m_oddBar, 1, 0, 1, 2);
    bars->addWidget(scaleCaption, 2, 0);
    bars->addWidget(m_scaleLabel, 2, 1, Qt::AlignRight);
    bars->addWidget(m_scaleBar, 3, 0, 1, 2);

    m_applyBtn = new QPushButton(QStringLiteral("&Apply"), this);
    m_applyBtn->setObjectName(QStringLiteral("ApplyBtn"));
    m_applyBtn->setToolTip(QStringLiteral("Apply changes"));
    m_applyBtn->setStatusTip(QStringLiteral("Apply changes"));
    m_applyBtn->setAutoDefault(false);
    m_okBtn = new QPushButton(QStringLiteral("OK"), this);
    m_okBtn->setObjectName(QStringLiteral("OKBtn"));
    m_okBtn->setStatusTip(QStringLiteral("Press OK to apply the new size"));
    m_okBtn->setDefault(true);
    m_cancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    m_cancelBtn->setAutoDefault(false);
    m_helpBtn = new QPushButton(QStringLiteral("&Help"), this);
    m_helpBtn->setObjectName(QStringLiteral("HelpBtn"));
    m_helpBtn->setAutoDefault(false);
    connect(m_applyBtn, &QPushButton::clicked, this, [this] { apply(); });
    connect(m_okBtn, &QPushButton::clicked, this, [this] { okClicked(); });
    connect(m_cancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {m_applyBtn, m_okBtn, m_cancelBtn, m_helpBtn}) {
        buttons->addWidget(b);
    }
    auto* right = new QVBoxLayout;
    right->addLayout(styles);
    right->addSpacing(8);
    right->addLayout(bars);
    right->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(panel);
    top->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(top);
    layout->addLayout(buttons);
}

std::array<bool, TPieceSizeDlg::kStyleCount> TPieceSizeDlg::lamps() const {
    std::array<bool, kStyleCount> lit{};
    for (int i = 0; i < kStyleCount; ++i) {
        lit[std::size_t(i)] = m_leds[std::size_t(i)]->isLit();
    }
    return lit;
}

void TPieceSizeDlg::load(int style, int oddness, int scale) {
    fixDialogColors(*this);
    // The size springs back to the puzzle's own scale when that is usable,
    // else to the last scale this dialog accepted.
    if (m_hooks.preview && m_hooks.preview(nullptr, scale, std::clamp(style, 1, kStyleCount), oddness)) {
        m_lastScale = scale;
    }
    m_puzzleStyle = style;
    m_puzzleOddness = oddness;
    m_puzzleScale = scale;
    {
        const QSignalBlocker blockScale(m_scaleBar);
        const QSignalBlocker blockOdd(m_oddBar);
        m_scaleBar->setValue(scale);
        m_oddBar->setValue(oddness);
    }
    m_scaleLabel->setText(QStringLiteral("%1%").arg(m_scaleBar->value()));
    m_oddLabel->setText(QString::number(m_oddBar->value()));
    selectStyle(std::clamp(style, 1, kStyleCount));
    m_preview->update();
    m_changed = false;
}

void TPieceSizeDlg::selectStyle(int style) {
    m_style = style;
    for (int i = 0; i < kStyleCount; ++i) {
        m_leds[std::size_t(i)]->setLit(i + 1 == style);
    }
}

void TPieceSizeDlg::drawPreview(Bitmap24& canvas) const {
    canvas.fill(colourOf(m_preview->palette().color(QPalette::Window)));
    if (m_hooks.preview) {
        m_hooks.preview(&canvas, m_scaleBar->value(), m_style, m_oddBar->value());
    }
}

void TPieceSizeDlg::choiceChanged() {
    m_preview->update();
    const bool usable =
        m_hooks.preview && m_hooks.preview(nullptr, m_scaleBar->value(), m_style, m_oddBar->value());
    if (!usable && !m_springingBack && m_scaleBar->value() != m_lastScale) {
        // Back to the last usable size, once: should that not be usable
        // either, the bar stays where it is rather than bouncing forever.
        m_springingBack = true;
        m_scaleBar->setValue(m_lastScale);
        m_springingBack = false;
    }
    if (usable) {
        m_lastScale = m_scaleBar->value();
    }
    m_scaleLabel->setText(QStringLiteral("%1%").arg(m_scaleBar->value()));
    m_oddLabel->setText(QString::number(m_oddBar->value()));
    m_changed = true;
}

bool TPieceSizeDlg::apply() {
    m_style = std::clamp(m_style, 1, kStyleCount);
    const auto tryScale = [this](int scale) {
        try {
            return m_hooks.setScale && m_hooks.setScale(scale);
        } catch (const std::exception&) {
            return false;
        }
    };
    const int oddness = m_oddBar->value();
    m_hooks.setShape(oddness, m_style);
    const bool applied = tryScale(m_scaleBar->value());
    int scale = m_scaleBar->value();
    bool cut = applied;
    if (!applied) {
        QMessageBox::critical(this, windowTitle(), QString::fromLatin1(kLargePieceSizeMessage));
        scale = 100;
        cut = tryScale(scale);
    }
    if (cut) {
        m_puzzleStyle = m_style;
        m_puzzleOddness = oddness;
        m_puzzleScale = scale;
    } else {
        // Nothing was re-cut: the pieces keep the shape they have, and so
        // must the puzzle's record of it.
        m_hooks.setShape(m_puzzleOddness, m_puzzleStyle);
    }
    if (!applied) {
        // The bars show what the puzzle now has.
        load(m_puzzleStyle, m_puzzleOddness, m_puzzleScale);
    }
    m_changed = false;
    return applied;
}

void TPieceSizeDlg::okClicked() {
    if (m_changed) {
        apply();
    }
    accept();
}

} // namespace zg
