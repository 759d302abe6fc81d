// The tray bar: one button per user tray and four scroll buttons.

#include "app/BoardWidget.h"
#include "app/TMainForm.h"
#include "game/TJigsaw.h"
#include "gfx/Resources.h"
#include "ui/Glyphs.h"

#include <QTimer>
#include <QToolButton>

namespace zg {

namespace {

constexpr int kScrollSize = 16;
constexpr int kScrollTop = 7;
constexpr int kScrollLeft = 4;
constexpr int kTrayButtonSize = 24;
constexpr int kTrayButtonTop = 3;
constexpr int kTrayButtonLeft = 26;

Rect toRect(const QRect& r) {
    return Rect::fromSize(r.x(), r.y(), r.width(), r.height());
}

QRect toQRect(const Rect& r) {
    return QRect(r.Left, r.Top, r.width(), r.height());
}

QIcon glyphOrNothing(const char* name) {
    try {
        return QIcon(loadGlyph(name));
    } catch (const ResourceError&) {
        return QIcon();
    }
}

} // namespace

void TMainForm::createTrayBar() {
    m_boxTemplate = new QToolButton(m_boxBar);
    m_boxTemplate->setObjectName(QStringLiteral("BoxBtn"));
    m_boxTemplate->setGeometry(kTrayButtonLeft, kTrayButtonTop, kTrayButtonSize, kTrayButtonSize);
    m_boxTemplate->hide();
    const char* names[4] = {"SpeedBoxLeft", "SpeedBoxRight", "SpeedBoxUp", "SpeedBoxDown"};
    const char* glyphs[4] = {"BoxLeft", "BoxRight", "BoxUp", "BoxDown"};
    for (int i = 0; i < 4; ++i) {
        auto* button = new QToolButton(m_boxBar);
        button->setObjectName(QString::fromLatin1(names[i]));
        button->setAutoRaise(true);
        button->setIcon(glyphOrNothing(glyphs[i]));
        button->setIconSize(QSize(kScrollSize, kScrollSize));
        button->setGeometry(kScrollLeft, kScrollTop, kScrollSize, kScrollSize);
        button->setEnabled(false);
        m_scrollButtons[i] = button;
    }
}

TrayBarMetrics TMainForm::trayBarMetrics() const {
    TrayBarMetrics bar;
    bar.Vertical = false;
    // A hidden bar has no size of its own yet; it spans the window when shown.
    bar.BarWidth = m_boxBar->isVisible() ? m_boxBar->width() : centralWidget()->width();
    bar.BarHeight = m_boxBar->height();
    bar.TemplateButton = toRect(m_boxTemplate->geometry());
    bar.LeftButton = toRect(m_scrollButtons[0]->geometry());
    bar.RightButton = toRect(m_scrollButtons[1]->geometry());
    bar.UpButton = toRect(m_scrollButtons[2]->geometry());
    bar.DownButton = toRect(m_scrollButtons[3]->geometry());
    return bar;
}

void TMainForm::applyTrayBar(const TrayBarLayout& layout) {
    const Rect places[4] = {layout.LeftButton, layout.RightButton, layout.UpButton, layout.DownButton};
    const bool shown[4] = {layout.ShowLeftRight, layout.ShowLeftRight, layout.ShowUpDown, layout.ShowUpDown};
    const bool enabled[4] = {layout.LeftEnabled, layout.RightEnabled, layout.UpEnabled, layout.DownEnabled};
    for (int i = 0; i < 4; ++i) {
        m_scrollButtons[i]->setGeometry(toQRect(places[i]));
        m_scrollButtons[i]->setVisible(shown[i]);
        m_scrollButtons[i]->setEnabled(enabled[i]);
    }
    if (!layout.Relayout) {
        return;
    }
    std::map<int32_t, QToolButton*> kept;
    for (const TrayBarButton& entry : layout.Buttons) {
        QToolButton* button = m_trayButtons.count(entry.Number) ? m_trayButtons[entry.Number] : nullptr;
        if (button == nullptr) {
            button = new QToolButton(m_boxBar);
            button->setObjectName(QStringLiteral("TrayButton%1").arg(entry.Number));
            button->setAutoRaise(true);
            button->setCheckable(true);
            button->setText(QString::number(entry.Number));
            button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
            button->setIconSize(QSize(16, 16));
            const int32_t number = entry.Number;
            connect(button, &QToolButton::clicked, this, [this, number] {
                guarded([this, number] {
                    if (m_boardLive) {
                        if (TBox* tray = m_jigsaw->findTray(number)) {
                            m_jigsaw->ToggleOpen(*tray);
                        }
                    }
                });
            });
        }
        kept[entry.Number] = button;
        button->setChecked(entry.Down);
        button->setIcon(glyphOrNothing(entry.Full ? "BoxFull" : "BoxEmpty"));
        const QString hint = QString::fromStdString(entry.Hint);
        button->setToolTip(hint.section(QLatin1Char('|'), 0, 0));
        button->setStatusTip(hint.section(QLatin1Char('|'), 1));
        const QRect place = entry.Visible ? toQRect(entry.Bounds) : m_boxTemplate->geometry();
        button->setGeometry(place);
        button->setVisible(entry.Visible);
        if (TBox* tray = m_jigsaw->findTray(entry.Number)) {
            // Where the button lies in board coordinates: a minimising tray zooms to it.
            const QPoint onBoard = m_board->mapFrom(this, m_boxBar->mapTo(this, place.topLeft()));
            tray->ButtonBounds = Rect::fromSize(onBoard.x(), onBoard.y(), place.width(), place.height());
        }
    }
    for (auto& [number, button] : m_trayButtons) {
        if (kept.count(number) == 0) {
            button->deleteLater();
        }
    }
    m_trayButtons = std::move(kept);
    // The bar shows while there are user trays. Its visibility changes the
    // board's size, so it is changed once the current board work is done.
    const bool wanted = !m_trayButtons.empty();
    if (wanted != !m_boxBar->isHidden()) {
        QTimer::singleShot(0, this, [this, wanted] {
            guarded([this, wanted] {
                m_boxBar->setVisible(wanted);
                FormResize();
            });
        });
    }
}

void TMainForm::trayGlyphChanged(int32_t number, bool full) {
    const auto found = m_trayButtons.find(number);
    if (found != m_trayButtons.end()) {
        found->second->setIcon(glyphOrNothing(full ? "BoxFull" : "BoxEmpty"));
    }
}

void TMainForm::trayOpenChanged(int32_t number, bool open) {
    const auto found = m_trayButtons.find(number);
    if (found != m_trayButtons.end()) {
        found->second->setChecked(open);
    }
}

} // namespace zg
