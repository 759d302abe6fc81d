// Right clicks, modifier clicks, the board popups and the mouse help.

#include "game/InputTestPuzzle.h"

#include <gtest/gtest.h>

namespace zg::test {
namespace {

constexpr Point kEmpty{600, 440}; // bare board, far from every piece

class InputPopup : public ::testing::Test {
protected:
    InputTestPuzzle t{2, 1}; // pieces 0 and 1 side by side at (200, 200) and (260, 200)
    TurnRecordingJigsaw& jig = t.jig;
    FakeHost& host = t.host;
};

TEST_F(InputPopup, RightClickOnAPieceOpensThePiecePopupOverTheLiftedPiece) {
    bool hiddenWhileOpen = false;
    bool busyWhileOpen = false;
    host.onPopup = [&] {
        hiddenWhileOpen = t.piece(0).Hidden;
        busyWhileOpen = jig.IsMoveBusy();
    };
    const Point at = t.centreOf(0);
    t.press(MouseButton::Right, at);

    ASSERT_EQ(host.popups.size(), 1u);
    EXPECT_EQ(host.popups[0].kind, PopupKind::Piece);
    EXPECT_EQ(host.popups[0].at, at);
    EXPECT_TRUE(hiddenWhileOpen);
    EXPECT_TRUE(busyWhileOpen);
    // Put back afterwards.
    EXPECT_FALSE(t.piece(0).Hidden);
    EXPECT_FALSE(jig.IsLifted());
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmIdle);
}

TEST_F(InputPopup, PiecePopupEnablesNeighbourCheatsOnlyWithCheatingAndANeighbourApart) {
    t.press(MouseButton::Right, t.centreOf(0));
    PopupState s = host.popups.back().enabling;
    EXPECT_TRUE(s.ShowNeighbourEnabled);
    EXPECT_TRUE(s.FetchNeighbourEnabled);
    EXPECT_FALSE(s.RightWayUpEnabled); // the piece is upright
    EXPECT_FALSE(s.RotateEnabled);     // rotation is off

    jig.Config.CheatingOn = false;
    t.press(MouseButton::Right, t.centreOf(0));
    s = host.popups.back().enabling;
    EXPECT_FALSE(s.ShowNeighbourEnabled);
    EXPECT_FALSE(s.FetchNeighbourEnabled);

    // Once joined, the only neighbour is in the same group.
    jig.Config.CheatingOn = true;
    t.piece(1).GroupId = t.piece(0).GroupId;
    t.piece(0).Joined = t.piece(1).Joined = true;
    t.press(MouseButton::Right, t.centreOf(0));
    s = host.popups.back().enabling;
    EXPECT_FALSE(s.ShowNeighbourEnabled);
    EXPECT_FALSE(s.FetchNeighbourEnabled);
}

TEST_F(InputPopup, PiecePopupEnablesRotateWithRotationAndRightWayUpForATurnedPiece) {
    jig.Config.RotationOn = true;
    t.piece(0).Rotation = 2;
    t.press(MouseButton::Right, t.centreOf(0));
    const PopupState s = host.popups.back().enabling;
    EXPECT_TRUE(s.RotateEnabled);
    EXPECT_TRUE(s.RightWayUpEnabled);
}

TEST_F(InputPopup, RightClickOnEmptyBoardOpensThePlayPopup) {
    t.press(MouseButton::Right, kEmpty);
    ASSERT_EQ(host.popups.size(), 1u);
    EXPECT_EQ(host.popups[0].kind, PopupKind::Play);
    EXPECT_TRUE(host.popups[0].enabling.HintEnabled);
    EXPECT_TRUE(host.popups[0].enabling.AutoSolveEnabled);
    EXPECT_FALSE(jig.IsLifted());

    jig.Config.CheatingOn = false;
    t.press(MouseButton::Right, kEmpty);
    EXPECT_FALSE(host.popups.back().enabling.HintEnabled);
    EXPECT_FALSE(host.popups.back().enabling.AutoSolveEnabled);
}

TEST_F(InputPopup, RightClickInATrayOpensTheTrayPopupForThatTray) {
    TBox& tray = jig.addTray(1);
    t.redrawAll();
    t.press(MouseButton::Right, {100, 100});
    ASSERT_EQ(host.popups.size(), 1u);
    EXPECT_EQ(host.popups[0].kind, PopupKind::Tray);
    EXPECT_EQ(jig.CurrentTray, &tray);
    // Arranging the tray is offered; its own commands are not carried out yet.
    EXPECT_TRUE(host.popups[0].enabling.isEnabled(PopupCommand::ArrangeAtEdgeTray));
    EXPECT_TRUE(host.popups[0].enabling.isEnabled(PopupCommand::DisarrangeTray));
    EXPECT_FALSE(host.popups[0].enabling.isEnabled(PopupCommand::DeleteTray));
    EXPECT_FALSE(host.popups[0].enabling.isEnabled(PopupCommand::SelectAllPieces));
}

TEST_F(InputPopup, CtrlClickOnEmptyBoardOpensTheBoardPopup) {
    jig.Config.RotationOn = true;
    host.ctrl = true;
    t.press(MouseButton::Left, kEmpty);
    ASSERT_EQ(host.popups.size(), 1u);
    EXPECT_EQ(host.popups[0].kind, PopupKind::Play);
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmIdle);
}

TEST_F(InputPopup, CtrlClickOnAPieceTurnsItsGroup) {
    jig.Config.RotationOn = true;
    host.ctrl = true;
    t.press(MouseButton::Left, t.centreOf(0));
    t.press(MouseButton::Right, t.centreOf(1));
    ASSERT_EQ(jig.turns.size(), 2u);
    EXPECT_EQ(jig.turns[0].second, 3); // left button: rotate left
    EXPECT_EQ(jig.turns[1].second, 1); // right button: rotate right
    EXPECT_TRUE(host.popups.empty());
}

TEST_F(InputPopup, AlternativeRightClickTurnsThePieceWhenRotationIsOn) {
    jig.MouseAction = MouseAction::Alternative;
    jig.Config.RotationOn = true;
    t.press(MouseButton::Right, t.centreOf(0));
    ASSERT_EQ(jig.turns.size(), 1u);
    EXPECT_EQ(jig.turns[0], (std::pair<std::size_t, int32_t>{1u, 1}));
    EXPECT_TRUE(host.popups.empty());

    // With control held it opens the popup instead.
    host.ctrl = true;
    t.press(MouseButton::Right, t.centreOf(0));
    EXPECT_EQ(jig.turns.size(), 1u);
    ASSERT_EQ(host.popups.size(), 1u);
    EXPECT_EQ(host.popups[0].kind, PopupKind::Piece);
}

TEST_F(InputPopup, AlternativeRightClickOpensThePopupWhenRotationIsOff) {
    jig.MouseAction = MouseAction::Alternative;
    t.press(MouseButton::Right, t.centreOf(0));
    EXPECT_TRUE(jig.turns.empty());
    ASSERT_EQ(host.popups.size(), 1u);
    EXPECT_EQ(host.popups[0].kind, PopupKind::Piece);
}

TEST_F(InputPopup, ChosenRotateCommandTurnsTheClickedPiece) {
    jig.Config.RotationOn = true;
    host.popupAnswer = PopupCommand::RotateLeft;
    t.press(MouseButton::Right, t.centreOf(1));
    ASSERT_EQ(jig.turns.size(), 1u);
    EXPECT_EQ(jig.turns[0].second, 3);
    EXPECT_FALSE(jig.IsLifted());
    EXPECT_FALSE(t.piece(1).Hidden);
}

TEST_F(InputPopup, DisabledOrForeignCommandsDoNothing) {
    host.popupAnswer = PopupCommand::RotateRight; // rotation is off
    t.press(MouseButton::Right, t.centreOf(0));
    host.popupAnswer = PopupCommand::ArrangeAtEdge; // not an item of the piece popup
    t.press(MouseButton::Right, t.centreOf(0));
    EXPECT_TRUE(jig.turns.empty());
    EXPECT_TRUE(host.boardCommands.empty());
}

TEST_F(InputPopup, WindowCommandsOfTheBoardPopupGoToTheHost) {
    host.popupAnswer = PopupCommand::ArrangeInGrid;
    t.press(MouseButton::Right, kEmpty);
    ASSERT_EQ(host.boardCommands.size(), 1u);
    EXPECT_EQ(host.boardCommands[0], PopupCommand::ArrangeInGrid);
}

TEST_F(InputPopup, PressWhileThePopupIsOpenLeavesTheLiftAlone) {
    // The toolkit may hand a press to the board while the menu closes.
    host.onPopup = [&] {
        t.press(MouseButton::Left, t.centreOf(1));
        t.move({300, 300});
    };
    t.press(MouseButton::Right, t.centreOf(0));
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmIdle);
    EXPECT_FALSE(jig.Band.isActive());
    EXPECT_FALSE(jig.IsLifted());
    EXPECT_FALSE(t.piece(0).Hidden);
    EXPECT_FALSE(t.piece(1).Hidden);
    EXPECT_EQ(t.piece(1).Left, 260);
}

TEST_F(InputPopup, RightClickPutsABandSelectionBackFirst) {
    t.press(MouseButton::Left, {195, 195});
    t.move({325, 245});
    t.release({325, 245});
    ASSERT_EQ(jig.MouseMode, TJigsaw::mmSelection);
    t.press(MouseButton::Right, kEmpty);
    EXPECT_EQ(jig.MouseMode, TJigsaw::mmIdle);
    EXPECT_FALSE(jig.IsLifted());
    EXPECT_FALSE(t.piece(0).Hidden);
    EXPECT_EQ(jig.ClickPoint, kEmpty);
}

// ---- Mouse help ----

TEST_F(InputPopup, MouseHelpNamesTheCheatAndRotateClicks) {
    const auto help = [&](uint32_t flags) {
        jig.UpdateMouseHelp({flags});
        return host.statusTexts.back();
    };
    EXPECT_EQ(help(ShiftState::kShift), "Mouse: Left=Fetch neighbor, Right=Show neighbor");
    EXPECT_EQ(help(ShiftState::kCtrl), "Rotation is currently disabled");
    jig.Config.RotationOn = true;
    EXPECT_EQ(help(ShiftState::kCtrl), "Mouse: Left=Rotate left, Right=Rotate right");
    jig.MouseAction = MouseAction::Alternative;
    EXPECT_EQ(help(ShiftState::kCtrl), "Mouse: Left=Rotate left, Right=Popup menu");
    jig.Config.RotationOn = false;
    EXPECT_EQ(help(ShiftState::kCtrl), "Mouse: Right=Popup menu");
    jig.Config.CheatingOn = false;
    EXPECT_EQ(help(ShiftState::kShift), "Cheating is currently disabled");
    EXPECT_EQ(help(ShiftState::kShift | ShiftState::kCtrl), "");
}

TEST_F(InputPopup, HoldingShiftWithAButtonDownClearsTheStatusLine) {
    jig.UpdateMouseHelp({ShiftState::kShift});
    ASSERT_FALSE(host.statusTexts.back().empty());
    jig.UpdateMouseHelp({ShiftState::kShift | ShiftState::kLeft});
    EXPECT_EQ(host.statusTexts.back(), "");
}

} // namespace
} // namespace zg::test
