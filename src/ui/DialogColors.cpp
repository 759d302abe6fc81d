#include "ui/DialogColors.h"

#include "gfx/Color.h"
#include "ui/SystemColors.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QWidget>

namespace zg {

namespace {

constexpr Color kWindowText = kSystemColorFlag | 8;
constexpr Color kButtonText = kSystemColorFlag | 18;

/// Gives `widget` the colour `replacement` for its text when that is pure black.
void replaceBlack(QWidget& widget, Color replacement) {
    QPalette palette = widget.palette();
    const QPalette::ColorRole role = widget.foregroundRole();
    if (palette.color(QPalette::Active, role) != QColor(Qt::black)) {
        return;
    }
    const QColor colour = toQColor(replacement);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, role, colour);
        // Buttons draw their captions in ButtonText; labels in WindowText.
        palette.setColor(group, QPalette::ButtonText, colour);
    }
    widget.setPalette(palette);
}

} // namespace

void fixDialogColors(QWidget& form) {
    for (QWidget* widget : form.findChildren<QWidget*>()) {
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            // A label outside any layout sizes itself: measure it again.
            if (label->parentWidget() != nullptr && label->parentWidget()->layout() == nullptr) {
                label->adjustSize();
            }
            replaceBlack(*label, kWindowText);
        } else if (qobject_cast<QCheckBox*>(widget) != nullptr ||
                   qobject_cast<QRadioButton*>(widget) != nullptr ||
                   qobject_cast<QGroupBox*>(widget) != nullptr) {
            replaceBlack(*widget, kWindowText);
        } else if (qobject_cast<QAbstractButton*>(widget) != nullptr ||
                   widget->metaObject() == &QFrame::staticMetaObject) {
            // Buttons, and plain panels (not text boxes or other framed views).
            replaceBlack(*widget, kButtonText);
        }
    }
}

} // namespace zg
