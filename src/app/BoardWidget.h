#pragma once

#include "gfx/Bitmap24.h"

#include <QWidget>

namespace zg {

/// The board on screen (the paint box). Opaque: nothing erases its
/// background. It paints only the rectangles it is asked to repaint, straight
/// from the puzzle's back buffer, which it wraps without copying. Input and
/// size changes are passed on as signals; the main window decides whether the
/// board is live.
class BoardWidget : public QWidget {
    Q_OBJECT
public:
    explicit BoardWidget(QWidget* parent = nullptr);

    /// The bitmap painted from, or nullptr to paint the plain board colour.
    /// The bitmap must stay alive (and keep its size) until replaced.
    void setSource(const Bitmap24* backBuffer);
    const Bitmap24* source() const { return m_source; }
    /// The colour shown where the source does not reach.
    void setBoardColor(const QColor& colour);
    QColor boardColor() const { return m_boardColor; }

    /// Number of paint events handled (for tests and diagnostics).
    int paintCount() const { return m_paintCount; }

signals:
    void boardResized(QSize size);
    void boardMousePressed(QMouseEvent* event);
    void boardMouseMoved(QMouseEvent* event);
    void boardMouseReleased(QMouseEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    /// A quick second press arrives as a double-click; the board has no
    /// double-click of its own, so it is a press like any other.
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    const Bitmap24* m_source = nullptr;
    QColor m_boardColor = Qt::white;
    int m_paintCount = 0;
};

} // namespace zg
