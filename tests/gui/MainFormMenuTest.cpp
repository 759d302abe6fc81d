// The main window's menus, toolbar and hints, before and after the first build.

#include "GuiSupport.h"

#include "app/TMainForm.h"
#include "game/TJigsaw.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusTipEvent>
#include <QToolButton>

#include <gtest/gtest.h>

namespace zg::test {
namespace {

struct ItemRow {
    const char* menu;
    const char* caption;
    const char* hint;
    bool checked;
    bool enabledBeforeBuild;
};

// The command table as the user sees it, top-level menu by top-level menu.
const ItemRow kItems[] = {
    {"&File", "E&xit", "Exit this application, saving current position in jigsaw", false, true},
    {"&View", "&Toolbar", "Show the toolbar", true, true},
    {"&View", "&Status bar", "Show the status bar", true, true},
    {"&View", "&Zoom picture", "Show picture full screen", false, false},
    {"&Tools", "Arrange at &Edge", "Arrange pieces around edge of window", false, false},
    {"&Tools", "Arrange in &Grid", "Arrange pieces in a grid pattern", false, false},
    {"&Tools", "&Disarrange", "Randomly place any loose pieces", false, false},
    {"&Tools", "&Piece Size...", "Change the jigsaw piece size", false, false},
    {"&Tools", "&Restart", "Restart the puzzle from scratch", false, true},
    {"&Options", "&Picture", "Show the picture window", false, true},
    {"&Options", "&Sound", "Turn sound effects on", true, true},
    {"&Options", "&Music", "Turn background music on", true, true},
    {"&Options", "&Outlines", "Choose the piece outlines", false, true},
    {"&Options", "Sha&dows", "Show 3D shadows when moving pieces", true, true},
    {"&Options", "Sort by S&hape", "Put edge pieces first when arranging", true, true},
    {"&Options", "Sort by &Color", "Put similar colors together when arranging", true, true},
    {"&Options", "&Timer display", "Show the timer while playing", true, true},
    {"&Options", "&Number display", "Show number of pieces solved while playing", true, true},
    {"&Options", "&Rotating Pieces", "When enabled, pieces can be turned around", false, true},
    {"&Cheat", "Allow &Cheating", "Allow various cheat functions", true, true},
    {"&Cheat", "&Hint!", "Flash next two pieces to solve", false, false},
    {"&Cheat", "&Right Way Up!", "Turn all pieces the right way up", false, false},
    {"&Cheat", "&Auto-Solve!", "Start solving the puzzle automatically", false, false},
    {"&Help", "&Quick Help!", "Display mouse and keyboard controls", false, true},
    {"&Help", "&Order full-version...", "Order the latest full-version by mail or at our secure online mall",
     false, true},
    {"&Help", "&About...", "Show program information", false, true},
};

class MainFormMenus : public DemoGiftSuite {};

TEST_F(MainFormMenus, MenuBarHoldsTheSixMenusInOrder) {
    TMainForm form(s_gift.toStdString());
    QStringList captions;
    for (QAction* action : form.menuBar()->actions()) {
        captions << action->text();
    }
    EXPECT_EQ(captions, (QStringList{"&File", "&View", "&Tools", "&Options", "&Cheat", "&Help"}));
}

TEST_F(MainFormMenus, ItemsCarryTheirCaptionsHintsChecksAndStartEnabling) {
    TMainForm form(s_gift.toStdString());
    for (const ItemRow& row : kItems) {
        SCOPED_TRACE(row.caption);
        QAction* item = menuItem(topMenu(form.menuBar(), QString::fromLatin1(row.menu)),
                                 QString::fromLatin1(row.caption));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->statusTip(), QString::fromLatin1(row.hint));
        EXPECT_EQ(item->isChecked(), row.checked);
        EXPECT_EQ(item->isEnabled(), row.enabledBeforeBuild);
    }
    EXPECT_EQ(form.actions().ZoomPicture->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_FALSE(form.actions().GhostPicture->isVisible());
    EXPECT_FALSE(form.actions().HelpAboutJig->isVisible());
}

TEST_F(MainFormMenus, OutlinesAndAdvancedSubmenusHoldTheirItems) {
    TMainForm form(s_gift.toStdString());
    QMenu* options = topMenu(form.menuBar(), QStringLiteral("&Options"));
    QMenu* outlines = menuItem(options, QStringLiteral("&Outlines"))->menu();
    ASSERT_NE(outlines, nullptr);
    QStringList captions;
    QStringList hints;
    for (QAction* item : outlines->actions()) {
        captions << item->text();
        hints << item->statusTip();
    }
    EXPECT_EQ(captions, (QStringList{"&None", "&Paper", "&Card", "&Wood"}));
    EXPECT_EQ(hints, (QStringList{"Pieces have no outlines", "Pieces are made of paper",
                                  "Pieces are made from card", "Pieces are made from chunky wood"}));
    QMenu* advanced = menuItem(options, QStringLiteral("Advanced"))->menu();
    ASSERT_NE(advanced, nullptr);
    EXPECT_EQ(menuItem(advanced, QStringLiteral("&Background Color..."))->statusTip(),
              QStringLiteral("Change the window background color"));
    EXPECT_EQ(menuItem(advanced, QStringLiteral("Right Mouse Button..."))->statusTip(),
              QStringLiteral("Change the action of the right mouse button"));
}

TEST_F(MainFormMenus, ToolbarHasSevenButtonsWithHintsAndStartStates) {
    TMainForm form(s_gift.toStdString());
    struct Button {
        const char* name;
        int x;
        const char* tip;
        const char* hint;
        bool enabled;
    };
    const Button buttons[] = {
        {"SpeedPicture", 8, "Picture", "Toggle the picture overlay", true},
        {"SpeedSize", 38, "Piece size", "Change the size of pieces", false},
        {"SpeedEdge", 68, "Arrange at edge", "Arrange pieces around edge", false},
        {"SpeedGrid", 98, "Arrange in grid", "Arrange pieces in a grid", false},
        {"SpeedSound", 138, "Sound", "Turn sound effects on/off", true},
        {"SpeedMusic", 168, "Music", "Turn background music on/off", true},
        {"SpeedHelp", 208, "Quick Help", "Display mouse and keyboard controls", true},
    };
    for (const Button& b : buttons) {
        SCOPED_TRACE(b.name);
        QToolButton* button = form.speedButton(b.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->geometry(), QRect(b.x, 5, 31, 31));
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(b.tip));
        EXPECT_EQ(button->statusTip(), QString::fromLatin1(b.hint));
        EXPECT_EQ(button->isEnabled(), b.enabled);
        EXPECT_FALSE(button->icon().isNull());
    }
    EXPECT_TRUE(form.speedButton("SpeedSound")->isChecked());
    EXPECT_TRUE(form.speedButton("SpeedMusic")->isChecked());
}

TEST_F(MainFormMenus, HintsGoToTheStatusLine) {
    TMainForm form(s_gift.toStdString());
    form.actions().Shadows->showStatusText(form.menuBar());
    EXPECT_EQ(form.statusLine()->text(), QStringLiteral("Show 3D shadows when moving pieces"));
    QStatusTipEvent tip(form.speedButton("SpeedGrid")->statusTip());
    QCoreApplication::sendEvent(form.speedButton("SpeedGrid"), &tip);
    EXPECT_EQ(form.statusLine()->text(), QStringLiteral("Arrange pieces in a grid"));
}

TEST_F(MainFormMenus, FirstBuildEnablesThePuzzleCommandsAndShowsThePanels) {
    ModalWatcher watcher;
    TMainForm form(s_gift.toStdString());
    EXPECT_FALSE(form.solvedStatus()->isVisibleTo(&form));
    EXPECT_FALSE(form.timerStatus()->isVisibleTo(&form));
    form.show();
    ASSERT_TRUE(waitForFirstBuild(form));

    const TMainForm::Actions& a = form.actions();
    for (QAction* item : {a.ZoomPicture, a.ArrangeAtEdge, a.ArrangeInGrid, a.Disarrange, a.PieceSize,
                          a.Picture, a.Hint, a.RightWayUp, a.Solve, a.HelpAboutJig}) {
        EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
    }
    EXPECT_TRUE(a.HelpAboutJig->isVisible());
    for (const char* name : {"SpeedSize", "SpeedEdge", "SpeedGrid", "SpeedPicture"}) {
        EXPECT_TRUE(form.speedButton(name)->isEnabled()) << name;
    }
    EXPECT_TRUE(form.solvedStatus()->isVisibleTo(&form));
    EXPECT_TRUE(form.timerStatus()->isVisibleTo(&form));
    EXPECT_TRUE(form.popups().PlayHint->isEnabled());
    EXPECT_EQ(form.jigsaw().Config.SnapDivisor, 4);
}

TEST_F(MainFormMenus, CheatCommandsFollowAllowCheatingWhilePlaying) {
    ModalWatcher watcher;
    TMainForm form(s_gift.toStdString());
    form.show();
    ASSERT_TRUE(waitForFirstBuild(form));
    const TMainForm::Actions& a = form.actions();

    a.AllowCheating->trigger();
    EXPECT_FALSE(a.AllowCheating->isChecked());
    EXPECT_FALSE(form.jigsaw().Config.CheatingOn);
    for (QAction* item : {a.Hint, a.RightWayUp, a.Solve, form.popups().PlayHint, form.popups().PlaySolve}) {
        EXPECT_FALSE(item->isEnabled()) << item->text().toStdString();
    }
    a.AllowCheating->trigger();
    for (QAction* item : {a.Hint, a.RightWayUp, a.Solve, form.popups().PlayHint, form.popups().PlaySolve}) {
        EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
    }
}

TEST_F(MainFormMenus, CheatingAllowedBeforeTheBuildStillLeavesCheatsDisabled) {
    TMainForm form(s_gift.toStdString());
    form.actions().AllowCheating->trigger();
    form.actions().AllowCheating->trigger();
    EXPECT_TRUE(form.actions().AllowCheating->isChecked());
    EXPECT_FALSE(form.actions().Hint->isEnabled());
    EXPECT_FALSE(form.actions().Solve->isEnabled());
}

TEST_F(MainFormMenus, ChoosingAnOutlineChecksOnlyThatEntry) {
    TMainForm form(s_gift.toStdString());
    form.actions().OutlineItems[3]->trigger();
    EXPECT_EQ(form.outlineChoice(), 3);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(form.actions().OutlineItems[i]->isChecked(), i == 3);
    }
}

} // namespace
} // namespace zg::test
