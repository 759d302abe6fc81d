#include "ui/TZoomForm.h"

#include "gfx/Bitmap24.h"
#include "gfx/PictureFit.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace zg {
namespace {

const QColor kTopLeft(200, 30, 40);
const QColor kTopRight(20, 180, 60);
const QColor kBottomLeft(30, 50, 220);
const QColor kBottomRight(240, 220, 10);

/// A picture of four solid quarters, so a point well inside a quarter of the
/// drawn picture has that quarter's colour exactly.
QImage quarters(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2;
            const bool bottom = y >= height / 2;
            image.setPixelColor(
                x, y, bottom ? (right ? kBottomRight : kBottomLeft) : (right ? kTopRight : kTopLeft));
        }
    }
    return image;
}

QImage render(TZoomForm& form) {
    return form.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

/// Checks that the quarters of the picture appear in `target` of `shot`,
/// a quarter of their size in from the corners.
void expectQuartersIn(const QImage& shot, const QRect& target) {
    const int dx = target.width() / 4;
    const int dy = target.height() / 4;
    EXPECT_EQ(shot.pixelColor(target.left() + dx, target.top() + dy), kTopLeft);
    EXPECT_EQ(shot.pixelColor(target.right() - dx, target.top() + dy), kTopRight);
    EXPECT_EQ(shot.pixelColor(target.left() + dx, target.bottom() - dy), kBottomLeft);
    EXPECT_EQ(shot.pixelColor(target.right() - dx, target.bottom() - dy), kBottomRight);
    // The drawn picture reaches its target's corners.
    EXPECT_EQ(shot.pixelColor(target.topLeft()), kTopLeft);
    EXPECT_EQ(shot.pixelColor(target.bottomRight()), kBottomRight);
}

TEST(ZoomPicture, CoversTheWholeScreen) {
    TZoomForm form(quarters(300, 200));
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(form.geometry(), screen->geometry());
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    const Rect expected = placePicture(300, 200, screen->geometry().width(), screen->geometry().height(), 10);
    EXPECT_EQ(form.pictureRect(), QRect(expected.Left, expected.Top, expected.width(), expected.height()));
}

TEST(ZoomPicture, SquarePictureIsCentredOnBlack) {
    TZoomForm form(quarters(300, 300));
    form.resize(1024, 768);
    // 768 x 768 at 128: the margin is above 10 % of the width, so it stays.
    ASSERT_EQ(form.pictureRect(), QRect(128, 0, 768, 768));
    const QImage shot = render(form);
    ASSERT_EQ(shot.size(), QSize(1024, 768));
    expectQuartersIn(shot, form.pictureRect());
    for (const QPoint p : {QPoint(0, 0), QPoint(127, 384), QPoint(896, 384), QPoint(1023, 767)}) {
        EXPECT_EQ(shot.pixelColor(p), QColor(Qt::black)) << p.x() << "," << p.y();
    }
}

TEST(ZoomPicture, NarrowBlackBandsAreStretchedAway) {
    // 1000 x 700 fits as 1024 x 716; the 26-pixel bands are below 10 %.
    TZoomForm form(quarters(1000, 700));
    form.resize(1024, 768);
    ASSERT_EQ(form.pictureRect(), QRect(0, 0, 1024, 768));
    const QImage shot = render(form);
    EXPECT_EQ(shot.pixelColor(512 - 100, 5), kTopLeft);
    EXPECT_EQ(shot.pixelColor(512 + 100, 762), kBottomRight);
}

TEST(ZoomPicture, WidePictureHasBandsAboveAndBelow) {
    TZoomForm form(quarters(400, 100));
    form.resize(1024, 768);
    ASSERT_EQ(form.pictureRect(), QRect(0, 256, 1024, 256));
    const QImage shot = render(form);
    expectQuartersIn(shot, form.pictureRect());
    EXPECT_EQ(shot.pixelColor(512, 255), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(512, 512), QColor(Qt::black));
}

TEST(ZoomPicture, FollowsASizeChange) {
    TZoomForm form(quarters(300, 300));
    form.resize(1024, 768);
    (void)render(form);
    form.resize(400, 1000);
    // 400 x 400 centred at 300 vertically.
    ASSERT_EQ(form.pictureRect(), QRect(0, 300, 400, 400));
    const QImage shot = render(form);
    expectQuartersIn(shot, form.pictureRect());
    EXPECT_EQ(shot.pixelColor(200, 299), QColor(Qt::black));
}

TEST(ZoomPicture, EmptyPictureShowsBlack) {
    TZoomForm form{QImage()};
    form.resize(320, 200);
    EXPECT_TRUE(form.pictureRect().isEmpty());
    const QImage shot = render(form);
    EXPECT_EQ(shot.pixelColor(160, 100), QColor(Qt::black));
}

TEST(ZoomPicture, WrappedBitmapKeepsItsColours) {
    Bitmap24 bitmap(40, 20);
    bitmap.fill(Rect{0, 0, 20, 20}, rgb(250, 10, 20));
    bitmap.fill(Rect{20, 0, 40, 20}, rgb(5, 100, 240));
    const QImage wrapped = wrapBitmap(bitmap);
    ASSERT_EQ(wrapped.size(), QSize(40, 20));
    EXPECT_EQ(wrapped.constBits(), bitmap.data()) << "the wrap must not copy";
    EXPECT_EQ(wrapped.pixelColor(3, 3), QColor(250, 10, 20));
    EXPECT_EQ(wrapped.pixelColor(36, 16), QColor(5, 100, 240));

    TZoomForm form(wrapped);
    form.resize(400, 200);
    const QImage shot = render(form);
    EXPECT_EQ(shot.pixelColor(50, 100), QColor(250, 10, 20));
    EXPECT_EQ(shot.pixelColor(350, 100), QColor(5, 100, 240));
}

// ---- Closing ----

TEST(ZoomPictureClosing, AnyKeyCloses) {
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Space, Qt::Key_A, Qt::Key_F2, Qt::Key_Shift}) {
        TZoomForm form(quarters(40, 30));
        form.show();
        ASSERT_TRUE(form.isVisible());
        QTest::keyPress(&form, key);
        EXPECT_FALSE(form.isVisible()) << "key " << key;
        EXPECT_EQ(form.result(), QDialog::Accepted);
    }
}

TEST(ZoomPictureClosing, AnyMouseButtonAnywhereCloses) {
    const std::pair<Qt::MouseButton, QPoint> clicks[] = {{Qt::LeftButton, QPoint(5, 5)},
                                                         {Qt::RightButton, QPoint(200, 150)},
                                                         {Qt::MiddleButton, QPoint(390, 290)}};
    for (const auto& [button, at] : clicks) {
        TZoomForm form(quarters(40, 30));
        form.resize(400, 300);
        form.show();
        QTest::mousePress(&form, button, Qt::NoModifier, at);
        EXPECT_FALSE(form.isVisible()) << "button " << button;
    }
}

TEST(ZoomPictureClosing, RepeatOfAKeyHeldBeforeOpeningDoesNotClose) {
    TZoomForm form(quarters(40, 30));
    form.show();
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier, QString(), /*autorep=*/true);
    QCoreApplication::sendEvent(&form, &repeat);
    EXPECT_TRUE(form.isVisible());
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_F2, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &release);
    EXPECT_TRUE(form.isVisible());
    QTest::keyPress(&form, Qt::Key_F2);
    EXPECT_FALSE(form.isVisible());
}

TEST(ZoomPictureClosing, ModalShowingEndsOnAClick) {
    TZoomForm form(quarters(40, 30));
    bool clicked = false;
    QTimer::singleShot(50, &form, [&] {
        clicked = true;
        QTest::mouseClick(&form, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    });
    // A safety net so a window that ignores the click cannot hang the test.
    QTimer::singleShot(5000, &form, [&] { form.done(-1); });
    EXPECT_EQ(form.exec(), QDialog::Accepted);
    EXPECT_TRUE(clicked);
}

} // namespace
} // namespace zg
