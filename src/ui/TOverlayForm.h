#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

namespace zg {

/// The floating picture window ("Picture"): a small sizeable tool window kept
/// on top, with only a close box, showing the puzzle's picture stretched over
/// its client area. The picture is fetched afresh at every paint and resize,
/// so the window never holds on to a picture that a rescale or restart
/// replaced; while there is none it draws the plain window colour.
class TOverlayForm : public QWidget {
    Q_OBJECT
public:
    /// Gives the picture to show, or a null image while no puzzle runs. The
    /// image may wrap memory the puzzle owns: it is used only during the call
    /// that fetched it.
    using PictureSource = std::function<QImage()>;

    explicit TOverlayForm(PictureSource source, QWidget* parent = nullptr);

    /// Sets the client height to picture height x client width / picture
    /// width (after a resume or a new picture); nothing without a picture.
    void fitHeightToWidth();
    /// Shows the window; the first time, inside the top-right corner of
    /// `area` (screen coordinates), so it starts over the board's edge.
    void showOver(const QRect& area);

signals:
    /// The window was closed by its close box (or any other way).
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    PictureSource m_source;
    bool m_fitting = false;
    bool m_placed = false;
};

} // namespace zg
