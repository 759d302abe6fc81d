#pragma once

#include "board/TBand.h"
#include "board/TBoxes.h"
#include "board/TDirty.h"
#include "board/TMural.h"
#include "files/TJigConfig.h"
#include "gfx/Bitmap1.h"
#include "gfx/Bitmap24.h"
#include "gfx/Rect.h"

#include <cstdint>
#include <vector>

namespace zg {

/// The move engine: the layer of the puzzle object that owns everything that
/// moves on the board. It lifts a set of pieces or a whole tray into one
/// sprite (image, mask and, with shadows on, a shadow made of the pieces'
/// silhouettes), lets the sprite follow the mouse or glide along a line
/// through the compositor, which repaints only the old and new rectangles,
/// drops pieces into the tray under the mouse (the game layer then joins
/// them, see SnapDropped) and redraws any rectangle of the board.
///
/// Calling order of a drag: one lift (LiftAt, LiftInRect, LiftGroup,
/// LiftSingle or LiftTray), then DragTo for every mouse move, then DropPieces,
/// DropTray or PutBack on release.
///
/// Re-entrancy: while a glide, a rotation or a ModalScope (a popup menu) is
/// running the engine is busy, and every operation that starts, moves or ends
/// a lift is refused (IsMoveBusy tells the input code to ignore the press).
/// A lift that starts while another one is still held (not busy) first puts
/// the held one back, so no set is ever left hidden half-lifted.
class TMove : public TBoxes {
public:
    /// Board input states (the game layer's MouseMode); the drag modes select
    /// the clamping rule of DragTo.
    static constexpr uint8_t mmIdle = 0;
    static constexpr uint8_t mmSelection = 1;
    static constexpr uint8_t mmBanding = 2;
    static constexpr uint8_t mmDragPiece = 3;
    static constexpr uint8_t mmDragSelection = 4;
    static constexpr uint8_t mmDragTray = 5;
    static constexpr uint8_t mmTrayBorder = 6;
    static constexpr uint8_t mmResizeTray = 7;
    static constexpr uint8_t mmTrayButton = 8;

    /// The largest group of the main board area (LargestRun).
    struct RunInfo {
        int32_t Start = 0;     ///< index in the main board area's list of its first piece
        int32_t Length = 0;    ///< number of pieces; 0 when the area holds none
        int32_t Unsettled = 0; ///< pieces of the run that are not Settled
        int32_t GroupId = 0;
    };

    /// Marks the engine busy for its lifetime: the engine holds one during its
    /// own operations, and the input code holds one while a popup menu runs
    /// over a lifted piece. Presses that reach the engine meanwhile are refused.
    class ModalScope {
    public:
        explicit ModalScope(TMove& move) : m_move(move) { ++m_move.m_busyDepth; }
        ~ModalScope() { --m_move.m_busyDepth; }
        ModalScope(const ModalScope&) = delete;
        ModalScope& operator=(const ModalScope&) = delete;

    private:
        TMove& m_move;
    };

    explicit TMove(Host& host);
    ~TMove() override;

    // ---- Board redraw ----

    /// Makes the compositor take the back buffer as it is now (after the back
    /// buffer was rebuilt as a whole).
    void ResetCompositor();
    /// Asks the host to repaint `r` of the board later.
    void InvalidateBoardRect(const Rect& r);
    /// Rebuilds `r` of the back buffer from the mural and the trays (with their
    /// pieces) and commits it to the compositor's background.
    void RedrawBoardRect(const Rect& r);
    /// RedrawBoardRect, then InvalidateBoardRect.
    void RefreshBoardRect(const Rect& r) override;

    // ---- Lifting ----

    /// Lifts just `p`.
    void LiftSingle(TFormPiece& p);
    /// Lifts `p` with its whole group (joined pieces sharing its GroupId),
    /// brought to the front; nullptr does nothing.
    void LiftGroup(TFormPiece* p);
    /// Lifts the group of the topmost piece of `tray` whose shape covers
    /// (x, y). Returns whether one was found and lifted.
    bool LiftAt(TBox& tray, int32_t x, int32_t y);
    /// Lifts every piece of tray `trayNumber` that is not Joined and lies
    /// wholly inside `r`, sorted by GroupId then Index and brought to the
    /// front with their groups kept apart. Returns whether any was lifted.
    bool LiftInRect(int32_t trayNumber, const Rect& r);
    /// The rubber-band selection: `band` grown by PieceWidth / 3 on the left
    /// and right and PieceHeight / 3 at top and bottom, then LiftInRect.
    bool LiftInBand(int32_t trayNumber, const Rect& band);
    /// Lifts user tray `tray` with its pieces; the main board area is never lifted.
    void LiftTray(TBox& tray);

    // ---- Moving ----

    /// Records the mouse; the first call after a lift takes the grab offset.
    void TrackMouse(int32_t x, int32_t y);
    /// Moves the sprite so that the grab point follows (x, y), under the rule
    /// of `mode`: mmDragPiece keeps at least one piece of the set at least
    /// half a piece on the board; mmDragSelection keeps the sprite within
    /// half a piece of the recorded board; mmDragTray keeps a tray reachable.
    /// Other modes only move MoveRect. Allocates nothing.
    void DragTo(int32_t x, int32_t y, uint8_t mode);
    /// Draws the piece sprite with its top-left at (x, y).
    void MovePiecesTo(int32_t x, int32_t y);
    /// Draws the tray sprite with its top-left at (x, y).
    void MoveTrayTo(int32_t x, int32_t y);
    /// Moves the piece sprite along the straight line from (x0, y0) to
    /// (x1, y1), `speed` (1 to 10) pixels along the major axis every
    /// 10 - speed ms of the host clock; late frames are skipped and speed 10
    /// draws only the start and the end. With `abortOnClick` a waiting mouse
    /// press stops the glide where it is. Returns false when it stopped early
    /// (or was refused because the engine was busy), true when it ended at
    /// (x1, y1).
    bool Glide(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t speed, bool abortOnClick);
    /// The sprite's top-left.
    Point SpritePos() const { return {MoveRect.Left, MoveRect.Top}; }

    // ---- Ending a lift ----

    /// Puts the lifted pieces into `tray` (nullptr: the tray under the last
    /// mouse point), shifted by the distance the sprite moved; with `snap`,
    /// SnapDropped joins them to fitting neighbours. Pieces dropped into a user
    /// tray lose Placed. Redraws the sprite's and the pieces' rectangles.
    /// Dropping with nothing lifted does nothing.
    void DropPieces(TBox* tray, bool snap);
    /// Puts a lifted tray down where its sprite is.
    void DropTray(TBox& tray);
    /// Ends a lift without moving anything: the pieces (or the tray) reappear
    /// where they were, in their old stacking order.
    void PutBack();
    /// Brings a user tray to the front with a new stacking stamp; nothing for
    /// the main board area or the front tray.
    void RaiseTray(TBox& tray);
    /// Turns `p` and its group by `quarterTurns` clockwise quarter turns about
    /// p's top-left, then (with `snap`) joins what fits, and shows the result.
    void RotateGroup(TFormPiece& p, int32_t quarterTurns, bool snap);

    /// The joining rule run by a drop with snapping and by RotateGroup: the game
    /// layer joins the listed pieces to fitting neighbours in their tray and
    /// grows `dirty` by every rectangle it changes. This layer only marks the
    /// pieces Placed.
    virtual void SnapDropped(const PieceList& list, Rect& dirty);

    // ---- Queries ----

    /// The lifted piece whose shape covers the board point (x, y) where the
    /// sprite is now, searching from the last listed to the first; nullptr if none.
    TFormPiece* PieceInSprite(int32_t x, int32_t y) const;
    /// r := bounding box of r and every listed piece's rectangle.
    static void AddBounds(const PieceList& list, Rect& r);
    /// The longest run of equal GroupIds in the main board area's list (the
    /// first wins ties).
    RunInfo LargestRun() const;
    /// The shadow offset for the current piece height: PieceHeight / 10, 2 to 10.
    int32_t shadowOffset() const;

    /// True while pieces or a tray are lifted.
    bool IsLifted() const { return !MovingPieces.empty() || m_liftedTray != nullptr; }
    /// True while a glide, rotation or ModalScope runs: the input code ignores
    /// presses then, and the engine refuses them.
    bool IsMoveBusy() const { return m_busyDepth > 0; }
    /// The lifted tray, or nullptr.
    TBox* LiftedTray() const { return m_liftedTray; }
    /// Sprite frames drawn since construction (one per lift and per move).
    int64_t FramesDrawn() const { return m_framesDrawn; }

    PieceList MovingPieces; ///< the lifted set; empty when nothing is lifted
    Rect MoveRect;          ///< where the sprite is now; after a drop the last sprite's rectangle
    Point LiftOrigin;       ///< MoveRect's top-left when it was lifted
    Bitmap24 SpriteImage;   ///< the lifted set's picture, black where nothing is
    Bitmap1 SpriteMask;     ///< black where the sprite covers the board, white elsewhere
    TDirty Compositor;
    Point LastMouse;
    Point GrabOffset;        ///< mouse minus MoveRect's top-left at the first move after a lift
    bool JustLifted = false; ///< a sprite was built and the mouse has not moved yet
    int32_t LiftOffset = 0;  ///< shadow offset of the lifted sprite
    TMural Mural;
    TFormPiece* DragAnchor = nullptr; ///< the piece that keeps a dragged group on the board
    TJigConfig Config;
    TBand Band; ///< the one rubber band; its canvas is the back buffer

protected:
    int32_t outlineStyle() const override { return Config.OutlineStyle; }
    /// The minimise and restore animation of a tray, drawn with the band.
    void ZoomTray(const Rect& from, const Rect& to) override;
    /// Adds `quarterTurns` clockwise quarter turns to the images of the listed
    /// pieces (the rotation step, RotatePieces); RotateGroup calls it.
    virtual void TurnPieceImages(const PieceList& list, int32_t quarterTurns);

private:
    bool shadowsOn() const { return Config.ShadowsOn; }
    bool woodOn() const { return Config.isWood(); }
    int32_t woodThickness() const { return woodOn() ? WoodThickness : 0; }

    /// Ends a held lift before a new one starts.
    void endHeldLift();
    void liftSingle(TFormPiece& p);
    void liftGroup(TFormPiece& p);
    bool liftInRect(int32_t trayNumber, const Rect& r);
    void liftTray(TBox& tray);
    /// Gives the listed pieces fresh group numbers on top of every other
    /// group, keeping pieces that shared a group together; remembers the old
    /// numbers for PutBack.
    void bringToFront();
    /// Builds the sprite of MovingPieces over MoveRect, hides the pieces,
    /// redraws the board under them and shows the sprite.
    void liftPieces();
    void drawTraySprite();
    void moveSprite(int32_t x, int32_t y);
    void dropTray(TBox& tray);
    void putBack();
    void dropPieces(TBox* tray, bool snap);

    TBox* m_liftedTray = nullptr;
    bool m_spriteShadow = false;        ///< the sprite was built with a shadow
    std::vector<int32_t> m_oldGroupIds; ///< group numbers before bringToFront, per MovingPieces entry
    std::vector<int32_t> m_newGroupIds; ///< the numbers bringToFront gave
    int32_t m_busyDepth = 0;
    int64_t m_framesDrawn = 0;
};

} // namespace zg
