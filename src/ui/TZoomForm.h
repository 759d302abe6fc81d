#pragma once

#include <QDialog>
#include <QImage>

namespace zg {

class Bitmap24;

/// The toolkit image over a 24-bit bitmap's rows, without copying: valid only
/// while `bitmap` lives and keeps its size.
QImage wrapBitmap(const Bitmap24& bitmap);

/// The full-screen picture: a borderless black window over the whole screen
/// that shows the picture at 100 % fitted into it with a 10 % margin
/// (placePicture). A click anywhere or any key closes it. Made for one
/// showing with exec().
class TZoomForm : public QDialog {
    Q_OBJECT
public:
    /// The margin below which the picture is stretched to the screen's edges.
    static constexpr int kMarginPercent = 10;

    /// `picture` is shared, not copied: when it wraps a bitmap's memory the
    /// bitmap must outlive the window. The window covers the screen of
    /// `parent` (the primary screen without one).
    explicit TZoomForm(const QImage& picture, QWidget* parent = nullptr);

    /// Where the picture is drawn for the window's current size.
    QRect pictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage m_picture;
    /// The picture resampled to pictureRect() in device pixels; made on the
    /// first paint after a size change.
    QImage m_scaled;
};

} // namespace zg
