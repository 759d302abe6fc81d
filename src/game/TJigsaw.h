#pragma once

#include "board/TMove.h"
#include "files/SaveFiles.h"
#include "files/SavedGame.h"
#include "files/TJigConfig.h"
#include "host/BoardCommands.h"
#include "host/Host.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zg {

/// Asked when rotating pieces is switched on during play.
inline constexpr const char* kRandomTurnsQuestion = "Would you like some pieces randomly rotated now?";
/// Asked when rotating pieces is switched off from the menu with turned pieces present.
inline constexpr const char* kRightWayUpQuestion = "Press 'Yes' to turn all pieces the right way up.";
/// Asked when a saved game with turned pieces is resumed with rotation off.
inline constexpr const char* kResumeRotatedQuestion =
    "The puzzle has rotated pieces but the rotation option is currently disabled. Press 'Yes' to turn all "
    "pieces the right way up or 'No' to re-enable rotation.";

/// The puzzle object: the top layer, holding the game state and the rules
/// of play over the tray set and the pieces below it.
class TJigsaw : public TMove {
public:
    explicit TJigsaw(Host& host);
    ~TJigsaw() override;

    static constexpr uint8_t kNoPuzzle = 0;
    static constexpr uint8_t kPlaying = 2;

    bool IsPlaying() const { return GameState == kPlaying; }

    /// Computes the grid for the picture size and request held in `State`
    /// (PictureWidth/Height, RequestedPieces) and stores Cols, Rows and PieceCount.
    /// @throws GiftDamagedError for a grid that cannot be cut.
    void computeGridFromState();

    /// Scatters the listed pieces over `area` in list order, skipping joined
    /// pieces: each becomes its own group and gets a random place (kept visible)
    /// and a random stacking key. With rotation on each also gets a random
    /// turn, made at once, or with `turnNow` false left in PendingTurns for
    /// the caller (the draws are the same either way).
    void Scatter(const PieceList& list, const Rect& area, bool turnNow = true);

    /// First layout of a new game: every piece scattered over the main board
    /// area (`turnNow` as for Scatter).
    void NewLayout(bool turnNow = true);

    uint8_t GameState = kNoPuzzle;
    uint8_t MouseMode = 0;
    TBox* CurrentTray = nullptr;
    std::string ProgramPath;

    // ---- Board input (TJigsawInput.cpp) ----
    // MouseMode holds one of the mm* states of the move engine: mmIdle,
    // mmSelection, mmBanding, mmDragPiece, mmDragSelection, mmDragTray,
    // mmTrayBorder, mmResizeTray, mmTrayButton.

    /// The right mouse button's action; the window sets it from its mouse dialog.
    zg::MouseAction MouseAction = zg::MouseAction::Default;
    /// Where the last right or modifier click was, in board pixels.
    Point ClickPoint;
    /// The piece that click hit, or nullptr; valid while its command runs.
    TFormPiece* ClickedPiece = nullptr;
    /// The neighbour chosen for Show and Fetch neighbour, or nullptr.
    TFormPiece* NeighbourPiece = nullptr;

    /// A press on the board at (x, y). Ignored unless playing, while the move
    /// engine is busy (a glide, turn or popup is running), and for the left and
    /// middle buttons during auto-solve. The modifier keys are read from the
    /// host at the press: shift (with cheating allowed) gives the cheat clicks,
    /// control (with rotation on) turns the piece under the point, a right
    /// click opens a popup (or, with the Alternative action and rotation on,
    /// turns the piece); otherwise a left or middle press picks a piece and
    /// its group, starts a rubber band, grabs a tray's frame or its button,
    /// or starts resizing a tray, as MouseMode says.
    void BoardMouseDown(MouseButton button, int32_t x, int32_t y);
    /// The pointer moved to (x, y): drags what is held, follows the rubber
    /// band or the resize outline, shows the sizing cursors over a tray's edge
    /// and cancels a tray button the pointer has left.
    void BoardMouseMove(int32_t x, int32_t y);
    /// The left button came up at (x, y): lifts the pieces inside the band,
    /// drops what is dragged (joining only pieces picked by a click, never a
    /// band selection), ends a tray move or resize, or minimises or restores
    /// the tray whose button was pressed.
    void BoardMouseUp(int32_t x, int32_t y);
    /// Sets the status line to the mouse help for the keys and buttons in
    /// `shift` while playing: the cheat clicks for shift alone, the rotate
    /// clicks for control alone, nothing for any other state.
    void UpdateMouseHelp(ShiftState shift);

    /// The grid neighbour of `piece` on the side facing `click` (the side
    /// turned back by the piece's rotation) when it lies in another group;
    /// otherwise the first neighbour, up, right, down, left, in another group;
    /// nullptr when there is none.
    TFormPiece* neighbourInClickDirection(TFormPiece& piece, Point click);
    /// The enabling of popup `kind` for the current options, ClickedPiece and
    /// NeighbourPiece.
    PopupState popupState(PopupKind kind) const;
    /// Runs a command chosen in a board popup. Rotate Right and Rotate Left
    /// turn ClickedPiece's group with snapping; the other piece commands are
    /// not carried out yet; the window's commands go to the host. A command
    /// that is disabled in `popupState` or belongs to another popup does nothing.
    void RunPopupCommand(PopupKind kind, PopupCommand command);

private:
    /// Puts a lifted band selection back and takes the click point and the
    /// tray under it, before every right and modifier click.
    void setRightClickContext(int32_t x, int32_t y);
    /// Shows popup `kind` at ClickPoint and runs the chosen command.
    void showPopup(PopupKind kind);
    void leftPress(int32_t x, int32_t y);
    void idlePress(int32_t x, int32_t y);
    void setTrayButtonUp(TBox& tray);

    CursorShape m_resizeCursor = CursorShape::Default; ///< the edge a resize drags

public:
    /// CurrentTray when it is still one of the trays, else the main board area:
    /// the tray a tray popup command works on.
    TBox& currentTray();
    /// Ends whatever the mouse holds (a lifted piece, group, selection or
    /// tray is put back unmoved, a rubber band is erased, a pressed tray
    /// button pops up) and returns to mmIdle. Used before the board is
    /// rebuilt, which would otherwise lose the sprite or the band's outline,
    /// and when a modal window takes the mouse, so the release never comes.
    /// Does nothing while a popup or animation owns the lift.
    void abandonBoardInput();

    // ---- end of board input ----

    // ---- Building the pieces (TJigsawBuild.cpp) ----

    /// Builds the puzzle from the decoded gift picture: keeps it as `Picture`
    /// and as `OriginalPicture`, computes the grid, cuts with the stored seed,
    /// creates the records and the main board area holding every piece,
    /// labels and extracts the pieces into `OutlineData` and the atlases, and
    /// computes the colour keys. The caller then lays out a new game or reads
    /// the saved game. Style and oddness are clamped to 1..6 and 0..10 first.
    /// The busy cursor shows while it runs and is restored also on failure.
    /// @throws GiftDamagedError when the picture is empty or larger than
    ///         65,535 pixels, the grid cannot be cut, or the atlases would be
    ///         too large.
    void BuildPuzzle(Bitmap24 picture);

    /// Rebuilds every piece at `percent` of the picture size with the same
    /// seed, so the shapes stay the same: cuts and extracts again, replaces
    /// the picture by `OriginalPicture` stretched to the new size and rebuilds
    /// the atlases. Board positions, groups and the colour keys stay; each
    /// piece is turned again as it lay (ReapplyTurns).
    /// @returns false, changing nothing, for 0, for a scale whose cells would
    ///          lie outside 8..640 pixels and when no puzzle is built.
    /// @throws AtlasTooLargeError (before any state changes) when the atlases
    ///         would be too large; the caller shows kLargePieceSizeMessage and
    ///         rebuilds at 100 %.
    bool Rescale(int32_t percent);

    /// The decoded picture at 100 %, kept to rescale from. While the puzzle is
    /// at 100 % that is `Picture` itself: the separate copy, OriginalPicture,
    /// exists only while another scale is in use, so that a build does not
    /// hold the largest bitmap twice.
    const Bitmap24& originalPicture() const { return OriginalPicture.isEmpty() ? Picture : OriginalPicture; }
    /// The mask buffer while a cut is extracted: one mask atlas (0 bits on the
    /// pieces). Its bytes become MaskAtlas's when the atlases are built, so it
    /// is empty between builds.
    std::vector<uint8_t> OutlineData;
    /// The mask buffer size the game record keeps (State.MaskBufferSize): two
    /// mask atlases' worth, as saved games have it.
    uint32_t OutlineDataSize = 0;

    /// The pieces are drawn with the outline style of the settings.
    int32_t outlineStyle() const override { return Config.OutlineStyle; }

private:
    /// The picture at 100 % while `Picture` holds another scale; empty otherwise.
    Bitmap24 OriginalPicture;

public:
    // ---- end of building the pieces ----

    // ---- Snapping, joining and completion (TJigsawJoin.cpp) ----

    /// True while auto-solve runs: snapping then joins the first fitting
    /// neighbour at once instead of collecting candidates.
    bool AutoSolving = false;

    /// One grid neighbour of a piece. `Neighbour` is nullptr on the grid's edge;
    /// `SnapRect` holds the top-left positions at which the piece fits against it.
    struct NeighbourSlot {
        TFormPiece* Neighbour = nullptr;
        Rect SnapRect;
    };
    /// Slots 0 up, 1 right, 2 down, 3 left.
    using NeighbourSlots = std::array<NeighbourSlot, 4>;

    /// The four grid neighbours of the piece with `index` and their snap
    /// rectangles (half-open, PieceHeight / SnapDivisor around the fitting
    /// position). Also recomputes that piece's `Settled` flag. An index outside
    /// the piece set gives four empty slots.
    NeighbourSlots ComputeNeighbourSlots(int32_t index);

    /// Joins each dropped piece, in list order, to the grid neighbours that lie
    /// in its tray, are turned alike and lie within the snap distance of their
    /// fitting position; smaller groups are joined first (during auto-solve only
    /// the first fitting neighbour). Sets `Placed` on every listed piece and
    /// grows `dirty` by every rectangle a join changes; the caller redraws it
    /// and re-sorts the tray, since joining relabels groups.
    void SnapDropped(const PieceList& list, Rect& dirty) override;

    /// Merges the group of `p` with the group of `q`: a joined `q` keeps its
    /// place and p's whole group moves flush onto it; a loose `q` moves flush
    /// onto `p`. Updates `Joined` and `SolvedCount`, plays the join sound, grows
    /// `dirty` and raises the completion candidate when every piece is joined.
    void JoinPieces(TFormPiece& p, TFormPiece& q, Rect& dirty);

    /// The number of pieces sharing the piece's `GroupId`.
    int32_t GroupSize(const TFormPiece& piece) const;

    /// Run by the clock tick while playing, never during a drop: when a join
    /// raised the completion candidate, clears it and tests whether every piece
    /// is in one group; if so marks the puzzle solved, plays the completion
    /// sound and shows the congratulations and the full picture.
    void CheckCompletion();

    // ---- Rotating pieces (TJigsawRotation.cpp) ----

    /// The rotating-pieces option set to `on`; returns the resulting state,
    /// which the window shows as the menu check. While playing, switching on
    /// asks kRandomTurnsQuestion: Cancel keeps rotation off, Yes turns every
    /// loose piece of the main board area by a random number of quarter
    /// turns, No just enables. Switching off while any piece is turned asks
    /// `offQuestion` (Yes/No): Yes turns every piece upright (TurnAllUpright),
    /// No keeps rotation on. Not playing, the option is simply stored.
    bool RotationOption(bool on, const std::string& offQuestion);
    /// Turns every piece the right way up: each joined group once, as a
    /// whole, around its first piece in index order, each loose piece in
    /// place; then redraws the board. Counts no cheat.
    void TurnAllUpright();

    // ---- Board size, painting and game state (TJigsawWindow.cpp) ----

    /// Stores `state`. Entering kPlaying selects the snapping level (divisor
    /// 4) and tells the host, which enables the commands that need a puzzle,
    /// shows its status panels and applies the cheat rule.
    void SetGameState(uint8_t state);

    /// Sizes the board to `width` x `height` (negative sizes count as 0) and
    /// records it in the settings. Before a puzzle exists it only sizes the
    /// back buffer and fills it with BoardColor. While playing it first puts
    /// down whatever the mouse holds (abandonBoardInput), then sizes
    /// the main board area, renders the background, keeps user trays
    /// reachable and places the main board area's groups again from their
    /// relative positions, and draws trays and pieces into the back buffer,
    /// with the busy cursor, resets the compositor and lays out the tray bar.
    /// Used at start, on resize, after colour changes and after rescaling.
    void SetBoardSize(int32_t width, int32_t height);

    /// Brings the back buffer in line with the options before the window
    /// repaints from it: with `outlineChoice` (0 None .. 3 Wood) different
    /// from the outline the pieces were drawn with, stores it and redraws the
    /// board. Does nothing before a puzzle exists. The window calls it from
    /// the commands that change these options, never from its paint handler.
    void PaintBoard(int32_t outlineChoice);

    /// The board colour as a direct colour; the window resolves system colours.
    Color BoardColor = rgb(255, 255, 255);

    // ---- Arranging, disarranging and sorting (TJigsawArrange.cpp) ----

    /// The sort mode of an arrangement: 3 for shape and colour, 1 for shape,
    /// 2 for colour, 4 (the random stacking keys) for neither.
    static int32_t arrangeMode(bool byShape, bool byColour);
    /// Lays the loose pieces of `tray` (neither Joined nor Placed) in square
    /// cells from the top-left of its client area, row by row, in the order of
    /// arrangeMode. Whatever the mouse holds is put back first; the new places
    /// are recorded, so a resize or a saved game keeps them. An empty tray or
    /// client area changes nothing.
    void ArrangeInGrid(TBox& tray, bool byShape, bool byColour);
    /// Lays the loose pieces of `tray` in rings of cells round the edge of its
    /// client area, outermost ring first, clockwise from the top-left corner,
    /// leaving a middle about the size of the picture free. Every piece is kept
    /// visible in the area; otherwise as ArrangeInGrid.
    void ArrangeAtEdge(TBox& tray, bool byShape, bool byColour);
    /// Scatters every piece of `tray` that is not Joined (Placed ones too) over
    /// its client area, each its own group on top in list order, and records
    /// the places. With `rotate` nothing moves: every piece of the tray that is
    /// not Joined is turned by a random number of quarter turns instead. An
    /// empty tray changes nothing.
    void Disarrange(TBox& tray, bool rotate = false);

private:
    /// Moves the k-th loose piece of `tray`, in list order, to the area's
    /// top-left plus cell(k), kept visible; then sorts the tray back to its
    /// paint order, records the places and repaints the tray.
    void placeLoose(TBox& tray, const std::function<Point(int32_t)>& cell);

public:
    // ---- Piece commands and cheats (TJigsawCheats.cpp) ----

    /// Frees ClickedPiece from its group: it and, when only one piece is left
    /// in the old group, that piece too are no longer joined (SolvedCount
    /// falls by one for each); its grid neighbours are no longer settled. The
    /// piece stays where it is, on top of the others, and its place is recorded.
    void UnlockPiece();
    /// Puts the group of ClickedPiece behind every other group of every tray.
    void SendGroupToBack();

    /// True while a cheat animates (a flash, a glide, auto-solve) or the move
    /// engine is busy: presses on the board are ignored and the window keeps
    /// its board commands from running.
    bool IsBusy() const { return IsMoveBusy() || AutoSolving || m_cheatDepth > 0; }
    /// Adds one to CheatCount, which stops at its largest value.
    void CountCheat();
    /// Hint: flashes, eight times each in turn, a piece of the largest group
    /// that has a neighbour in another group, and that neighbour. Counts as a
    /// cheat unless the puzzle is solved (then nothing happens).
    void FlashHint();
    /// Flashes NeighbourPiece eight times, opening its tray first when that is
    /// minimised. Counts as a cheat.
    void ShowNeighbour();
    /// Glides NeighbourPiece's group to its place against ClickedPiece and
    /// joins it there. Counts as a cheat.
    void FetchNeighbour();
    /// Turns q's group like p, lifts it and glides it at `speed` (1..10) to
    /// where q fits against p; with `fast`, a waiting mouse press stops the
    /// glide. The group stays lifted for the caller to drop. Returns whether
    /// the glide reached its end.
    bool BringNeighbour(TFormPiece& p, TFormPiece& q, bool fast, int32_t speed);
    /// Turns ClickedPiece's group so that ClickedPiece is upright, joining
    /// what then fits. Counts as a cheat.
    void RightWayUpPiece();
    /// Turns every piece upright, each joined group once as a whole about its
    /// first piece in index order, and lays the board out again. Counts as a
    /// cheat.
    void RightWayUpAll();
    /// Solves the puzzle piece by piece, gliding each next piece to the
    /// largest group at the host's solveSpeed, until it is solved, AutoSolving
    /// is cleared (the speed dialog closes) or nothing can join any more.
    /// Window events run between the pieces; holding the left button pauses.
    /// Does nothing on a solved puzzle or while busy.
    void AutoSolve();

private:
    /// Lifts `p` (with its shadow), shows it, waits `intervalMs`, puts it back,
    /// shows that and waits again, presenting the board at once each time.
    void flashPiece(TFormPiece& p, int32_t intervalMs);
    /// Opens the tray holding `p` when it is minimised.
    void openTrayOf(const TFormPiece& p);
    /// The first grid neighbour of `p`, up, right, down, left, in another
    /// group; nullptr when there is none.
    TFormPiece* firstNeighbourInOtherGroup(TFormPiece& p);
    /// A piece of the largest group of the main board area with a neighbour
    /// to join, picked at random among those not settled; nullptr when the
    /// area holds no piece.
    TFormPiece* pieceToSolveFrom();
    /// Whether a piece of the largest group has a neighbour in another group
    /// (refreshing the group's Settled flags).
    bool largestGroupCanGrow();
    /// The first auto-solve step: moves the group of `p` to its place in a
    /// picture centred on the board.
    void centreFirstGroup(TFormPiece& p);

    int32_t m_cheatDepth = 0; ///< cheats running now (nested ones count too)

public:
    // ---- Saved game and resume (TJigsawSave.cpp) ----

    /// The user's data folder, where games are saved when the gift's folder
    /// cannot be written ("" for none). The window sets it.
    std::string DataHome;
    /// The saved-game values this program only carries along (time limit and
    /// its display), and what the last resume read.
    TGameExtra Extra;

    /// The saved-game image of the current game: the game record, the extra
    /// block (board colour, tray count, tray-bar position, next stamp), the
    /// three piece blocks, the user trays and the settings with the window's
    /// Music option. A piece whose turn still waits in PendingTurns is stored
    /// as turned.
    SavedGame makeSavedGame() const;

    /// Writes the game to the saved-game file: beside the gift, or in the data
    /// folder when that fails. Never throws. @returns false when nothing was
    /// written: no puzzle exists, or both places failed (the caller tells the
    /// user).
    bool SaveGame(const FileWriter& writer = systemWrite);
    /// Writes the same image to the recovery file beside the save, which the
    /// next start offers when the program did not end cleanly. Never throws.
    bool SaveRecovery();

    /// At start-up, after the pieces have been built from the gift: resumes the
    /// saved game (or a newer recovery copy) when there is one, else lays out a
    /// new game; either way the puzzle is playing afterwards. A file that cannot
    /// be resumed is renamed to "<name>.bad", the user is told in one sentence,
    /// and a new game starts. @returns true when a saved game was resumed.
    bool TryResume();
    /// Stops auto-solve and removes the saved game and the recovery copy, beside
    /// the gift and in the data folder. @returns false when a file remains.
    bool DeleteSavedGame();

    /// Checks `game` against the puzzle built from the gift and, only when it
    /// belongs to it, makes it the current game: the record's counters, the
    /// pieces' places, turns, groups and trays, the scale, style and oddness
    /// (re-cut when they differ from the build), the user trays, the options
    /// and the board colour, then ResumeLayout.
    /// @throws SavedGameError, changing nothing, when the grid, the picture
    ///         size or the seed differ from the build.
    void resumeFrom(const SavedGame& game);
    /// Rebuilds the board after a saved game was read: edge classes, stacking
    /// order, the playing state, the board size and the tray bar. With
    /// rotation off and turned pieces it asks kResumeRotatedQuestion: Yes turns
    /// every piece upright, No switches rotation on (the window shows it).
    void ResumeLayout();
    /// The text shown when a saved game cannot be resumed.
    static std::string unreadableSaveMessage(const std::string& reason, const std::string& keptAs);

private:
    /// Puts each joined group into one tray, gives every group number that is
    /// shared by loose pieces or lies out of range a fresh one, raises
    /// NextGroupId above every number in use and recounts SolvedCount.
    void repairGroups();
};

} // namespace zg
