#pragma once

#include <QPushButton>

namespace zg {

/// A push button whose glyph sits above its caption or to the right of it,
/// as the splash window's Play and Close buttons show it.
class GlyphButton : public QPushButton {
    Q_OBJECT
public:
    enum class GlyphPlace { Above, Right };

    explicit GlyphButton(const QString& text, QWidget* parent = nullptr);

    void setGlyph(const QPixmap& glyph);
    void setGlyphPlace(GlyphPlace place);
    GlyphPlace glyphPlace() const { return m_place; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_glyph;
    GlyphPlace m_place = GlyphPlace::Above;
};

} // namespace zg
