#include "ui/SystemColors.h"

#include <QGuiApplication>
#include <QPalette>

namespace zg {

namespace {

struct SystemRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The palette role that plays the part of each numbered system colour.
constexpr SystemRole kSystemRoles[] = {
    {QPalette::Active, QPalette::Button},            // scroll bar
    {QPalette::Active, QPalette::Dark},              // desktop
    {QPalette::Active, QPalette::Highlight},         // active caption
    {QPalette::Inactive, QPalette::Highlight},       // inactive caption
    {QPalette::Active, QPalette::Window},            // menu
    {QPalette::Active, QPalette::Base},              // window
    {QPalette::Active, QPalette::Shadow},            // window frame
    {QPalette::Active, QPalette::WindowText},        // menu text
    {QPalette::Active, QPalette::Text},              // window text
    {QPalette::Active, QPalette::HighlightedText},   // caption text
    {QPalette::Active, QPalette::Window},            // active border
    {QPalette::Inactive, QPalette::Window},          // inactive border
    {QPalette::Active, QPalette::Mid},               // application work space
    {QPalette::Active, QPalette::Highlight},         // highlight
    {QPalette::Active, QPalette::HighlightedText},   // highlighted text
    {QPalette::Active, QPalette::Button},            // button face
    {QPalette::Active, QPalette::Dark},              // button shadow
    {QPalette::Disabled, QPalette::Text},            // grey text
    {QPalette::Active, QPalette::ButtonText},        // button text
    {QPalette::Inactive, QPalette::HighlightedText}, // inactive caption text
    {QPalette::Active, QPalette::Light},             // button highlight
    {QPalette::Active, QPalette::Shadow},            // 3D dark shadow
    {QPalette::Active, QPalette::Midlight},          // 3D light
    {QPalette::Active, QPalette::ToolTipText},       // info text
    {QPalette::Active, QPalette::ToolTipBase},       // info background
};

} // namespace

QColor toQColor(Color c) {
    if (isSystemColor(c)) {
        const uint32_t n = c & ~kSystemColorFlag;
        if (n >= std::size(kSystemRoles)) {
            return QColor(Qt::black);
        }
        const QPalette palette = QGuiApplication::palette();
        return palette.color(kSystemRoles[n].group, kSystemRoles[n].role);
    }
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

Color resolveColor(Color c) {
    const QColor q = toQColor(c);
    return rgb(uint8_t(q.red()), uint8_t(q.green()), uint8_t(q.blue()));
}

} // namespace zg
