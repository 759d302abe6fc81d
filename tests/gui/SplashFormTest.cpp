// The splash window: gift text, message looks and its start, resume and exit variants.

#include "files/GiftInfo.h"
#include "ui/GiftLook.h"
#include "ui/TSplashForm.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace zg::test {
namespace {

TEST(SplashForm, GiftTextNamesTheMakerVersionWithTwoSpacesBeforeOr) {
    EXPECT_EQ(
        splashGiftText(QStringLiteral("v4")),
        QStringLiteral("This free jigsaw gift was created by Zanthoria v4. Click on our web site below and "
                       "download the free demo to see what else the latest version can do!  Or order the "
                       "full-version now!"));
    TSplashForm splash;
    splash.setGiftText(QString::fromStdString(makerVersionLabel("v4.04")));
    EXPECT_TRUE(splash.giftText().contains(QStringLiteral("Zanthoria v4. Click")));
}

TEST(SplashForm, EmptyMessageHidesTheBoxAndShortensTheWindow) {
    TSplashForm splash;
    const int full = splash.height();
    EXPECT_EQ(full, splash.fullHeight());
    splash.setMessage(QString(), MessageLook{});
    EXPECT_FALSE(splash.isMessageShown());
    EXPECT_FALSE(splash.messageBox()->isVisibleTo(&splash));
    EXPECT_EQ(splash.height(), full - splash.messageBox()->height() - 10);
    splash.setMessage(QStringLiteral("Hello"), MessageLook{});
    EXPECT_TRUE(splash.isMessageShown());
    EXPECT_EQ(splash.height(), full);
}

TEST(SplashForm, MessageTakesTheGiftFontColourBackgroundAndAlignment) {
    TGiftFont font;
    font.Color = 0x000000FF; // red
    font.Height = -20;
    font.Style = kFontBold | kFontItalic;
    font.Name = "Courier New";
    font.Pitch = kPitchFixed;
    TSplashForm splash;
    splash.setMessage(giftMessageText("First line\r\nSecond line"),
                      giftMessageLook(font, "$00FF00", kAlignRight));
    QTextEdit* box = splash.messageBox();
    EXPECT_EQ(splash.messageText(), QStringLiteral("First line\nSecond line"));
    EXPECT_EQ(box->palette().color(QPalette::Base), QColor(0, 255, 0));
    EXPECT_EQ(box->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(box->font().pixelSize(), 20);
    EXPECT_TRUE(box->font().bold());
    EXPECT_TRUE(box->font().italic());
    EXPECT_TRUE(box->font().fixedPitch());
    for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
        EXPECT_EQ(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    }
}

TEST(SplashForm, ColourNamesMatchWithoutCaseAndInvalidNamesGiveWhiteWithAlignmentUntouched) {
    TGiftFont font;
    const MessageLook window = giftMessageLook(font, "CLWINDOW", kAlignCenter);
    ASSERT_TRUE(window.background.has_value());
    EXPECT_EQ(*window.background, giftMessageLook(font, "clWindow", kAlignCenter).background.value());

    TSplashForm splash;
    splash.setMessage(QStringLiteral("Text"), giftMessageLook(font, "not a colour", kAlignCenter));
    EXPECT_EQ(splash.messageBox()->palette().color(QPalette::Base), QColor(Qt::white));
    const QTextBlock block = splash.messageBox()->document()->begin();
    EXPECT_NE(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

TEST(SplashForm, PositiveHeightsCountTheWholeCell) {
    TGiftFont cell;
    cell.Height = 20;
    TGiftFont character;
    character.Height = -20;
    EXPECT_LT(giftFont(cell).pixelSize(), giftFont(character).pixelSize());
}

TEST(SplashForm, StartVariantPlaysAndHidesTheBox) {
    TSplashForm splash;
    EXPECT_EQ(splash.okButton()->text(), QStringLiteral("&Play..."));
    EXPECT_TRUE(splash.okButton()->isDefault());
    EXPECT_FALSE(splash.isBoxShown());
    EXPECT_TRUE(splash.isBoxChecked());
    EXPECT_EQ(splash.orderButton()->text(), QStringLiteral("Order"));
    EXPECT_EQ(splash.webButton()->toolTip(), QStringLiteral("Connect to our web site now!"));
    EXPECT_EQ(splash.webButton()->palette().color(QPalette::ButtonText), QColor(Qt::blue));
}

TEST(SplashForm, ResumeVariantShowsTheBoxAndAShorterPlayButton) {
    TSplashForm splash;
    const int tall = splash.okButton()->height();
    splash.showResumeBox();
    EXPECT_TRUE(splash.isBoxShown());
    EXPECT_EQ(splash.saveResumeBox()->text(), QStringLiteral("Resume game..."));
    EXPECT_EQ(splash.okButton()->height(), tall * 4 / 6);
}

TEST(SplashForm, ExitVariantClosesAndOffersSaveGame) {
    TSplashForm splash;
    splash.makeExitVariant();
    EXPECT_EQ(splash.okButton()->text(), QStringLiteral("&Close"));
    EXPECT_EQ(splash.saveResumeBox()->text(), QStringLiteral("Save game..."));
    EXPECT_TRUE(splash.isBoxShown());
    EXPECT_TRUE(splash.isBoxChecked());
}

TEST(SplashForm, EscapeClosesWithTheOkResultUnlessTheButtonsAreDisabled) {
    TSplashForm splash;
    splash.setButtonsEnabled(false);
    splash.show();
    splash.reject();
    EXPECT_TRUE(splash.isVisible());
    splash.setButtonsEnabled(true);
    splash.reject();
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(splash.result(), QDialog::Accepted);
}

TEST(SplashForm, WebButtonAsksForItsOwnAddress) {
    TSplashForm splash;
    QString asked;
    QObject::connect(&splash, &TSplashForm::webPageRequested,
                     [&](const QString& address) { asked = address; });
    splash.webButton()->click();
    EXPECT_EQ(asked, splash.webButton()->text());
}

} // namespace
} // namespace zg::test
