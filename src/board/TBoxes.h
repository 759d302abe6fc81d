#pragma once

#include "board/TBox.h"
#include "files/TGameState.h"
#include "host/TrayBar.h"
#include "pieces/TPieces.h"

#include <memory>
#include <vector>

namespace zg {

class PackedReader;
class PackedWriter;
class TMural;
struct TrayRecord;

/// The tray set: the layer of the puzzle object between the piece set and the
/// move engine. It owns the trays; entry 0 of `Trays` is always the main board
/// area and the order is the stacking order, back to front, so painting in
/// list order puts the front tray last. It finds trays under points, draws the
/// board, moves pieces between trays, keeps trays reachable, lays out the tray
/// bar and writes and reads the trays of a saved game.
///
/// User trays come only from a saved game; nothing here creates or deletes one.
class TBoxes : public TPieces {
public:
    explicit TBoxes(Host& host);
    ~TBoxes() override;

    /// Drops every user tray and makes the main board area, sized `boardWidth`
    /// x `boardHeight` (recorded as the board size), hold every piece in Index
    /// order with TrayIndex 0. The main board area stays the same object for
    /// the life of the tray set, so references to it never dangle.
    void CreateTrays(int32_t boardWidth, int32_t boardHeight);
    void resetTrays(int32_t boardWidth, int32_t boardHeight) { CreateTrays(boardWidth, boardHeight); }
    /// Drops every user tray, empties the main board area and frees the pieces.
    void FreeTrays();
    /// Records the board size of the settings and sizes the main board area to it.
    void recordBoardSize(int32_t boardWidth, int32_t boardHeight);

    TBox& mainArea() { return *Trays.front(); }
    const TBox& mainArea() const { return *Trays.front(); }
    TBox& MainArea() { return mainArea(); }

    /// The front-most open tray whose outer rectangle holds (x, y); the main
    /// board area when there is none.
    TBox& TrayAt(int32_t x, int32_t y);
    /// The tray numbered `n`; the main board area when there is none.
    TBox& TrayByNumber(int32_t n);
    /// The tray numbered `n`, or nullptr.
    TBox* findTray(int32_t n);

    /// Draws one tray with its pieces into `target`, limited to `clip` (none:
    /// everything). Nothing for a minimised tray; a user tray's pieces are
    /// clipped to its client area.
    void DrawTray(const TBox& tray, Bitmap24& target, const Rect* clip);
    /// DrawTray for every tray in stacking order.
    void DrawTrays(Bitmap24& target, const Rect* clip);
    /// Rebuilds `r` of the back buffer: the mural, then the trays with their
    /// pieces. The pixels depend only on the board, never on `r`, so redrawing
    /// any rectangle gives exactly that part of a full redraw.
    void DrawBoard(const TMural& mural, const Rect& r);
    /// DrawBoard over the whole back buffer.
    void DrawBoard(const TMural& mural) { DrawBoard(mural, BackBuffer.bounds()); }

    /// Sorts the trays by stacking stamp (or by number); the main board area
    /// stays first either way.
    void SortTrays(bool byNumber);
    /// SortTrays by stamp, then every tray's pieces with the piece sort of `mode`.
    void SortAllPieces(int32_t mode = 0);

    /// Moves the listed pieces out of the trays that hold them into `dest`
    /// (their TrayIndex becomes its number). A tray left empty gets the
    /// empty-tray glyph and `dest`, if it was empty, the full one; the host
    /// hears of each change. Pieces already in `dest` stay where they are.
    void TransferPieces(const PieceList& list, TBox& dest);
    /// Hidden := flag for the tray and every piece in it.
    void HideTray(TBox& tray, bool flag);
    /// Shifts the tray and its pieces, then records the pieces' positions.
    void MoveTray(TBox& tray, int32_t dx, int32_t dy);
    /// Stores, for the first piece of each group in the tray, its position
    /// relative to the tray's client rectangle. Nothing when that rectangle is
    /// empty or the picture size is unknown.
    void RecordPositions(TBox& tray);
    /// Pushes groups lying out of a user tray's client area back into view.
    void RefitTray(TBox& tray);
    /// After the board control changed to `boardWidth` x `boardHeight`: keeps
    /// every user tray reachable, pushes its groups back inside, then places the
    /// main board area's groups again from their relative positions.
    /// @pre the main board area already has its new size.
    void FitTraysToBoard(int32_t boardWidth, int32_t boardHeight);
    /// Moves `r` so that 32 pixels of it stay inside `bounds` across, its top
    /// is not above the bounds and at least 32 pixels of it show below its top.
    static void KeepTrayVisible(Rect& r, const Rect& bounds);
    /// Minimises every open user tray that holds no piece.
    void MinimiseEmptyTrays();
    /// Minimises or restores a user tray. A restored tray takes a new stamp and
    /// comes to the front. The host hears of the change and plays effect 4.
    void ToggleOpen(TBox& tray);
    /// Gives a user tray the outline `r` (normalised; raised to 100 x 75 when
    /// smaller): pushes its pieces inside the new client area, moves it with
    /// its pieces, and refreshes the old and new outlines.
    void ResizeTray(TBox& tray, const Rect& r);

    /// Lays out the tray bar. With `relayout` the capacity is recomputed and
    /// the tray buttons are placed in number order from FirstVisibleTray;
    /// without it, only the scroll buttons move and all of them are disabled.
    TrayBarLayout LayoutTrayBar(bool relayout, const TrayBarMetrics& bar);

    /// Writes the tray values of the saved-game block: the tray count (main
    /// board area included), the first visible tray button and the next stamp.
    void StoreTrayState(TGameExtra& extra) const;
    /// Writes one 148-byte record per user tray in list order, exactly
    /// SavedTrayCount - 1 of them as StoreTrayState reported.
    void SaveTrays(PackedWriter& out) const;
    /// The records SaveTrays writes: one per user tray, in list order.
    std::vector<TrayRecord> userTrayRecords() const;
    /// Reads SavedTrayCount - 1 records and rebuilds the user trays with their
    /// pieces. Records that cannot be used are skipped (a number of 0 or less,
    /// or one already taken); a description longer than 128 is cut; a size
    /// below 100 x 75 is raised to it. Afterwards every piece is in exactly one
    /// tray: a piece whose TrayIndex names no tray goes to the main board area.
    /// @pre the pieces have been read.
    /// @throws std::out_of_range when the data ends early (nothing is changed then).
    void LoadTrays(PackedReader& in, const TGameExtra& extra);
    /// The same from records already read; nothing can fail here.
    void LoadTrays(const std::vector<TrayRecord>& records, const TGameExtra& extra);

    /// Creates a user tray numbered `number` at the next cascade place with the
    /// next stamp and appends it (at the front). The game itself gets user
    /// trays only from a saved game (LoadTrays); tests build them with this.
    TBox& addTray(int32_t number);

    int32_t NextStackStamp() const { return m_shared.NextStackStamp; }
    const TrayShared& trayShared() const { return m_shared; }
    int32_t userTrayCount() const { return int32_t(Trays.size()) - 1; }

    int32_t TrayBarCapacity = 0;
    uint16_t FirstVisibleTray = 1;
    std::vector<std::unique_ptr<TBox>> Trays;

protected:
    /// Rebuilds and shows `r` of the board. The move engine overrides this
    /// with its redraw; here the window is only asked to repaint.
    virtual void RefreshBoardRect(const Rect& r);
    /// Animates a zoom outline between two rectangles; nothing here.
    virtual void ZoomTray(const Rect& from, const Rect& to);

private:
    void pushGroupsBack(const PieceList& list, const Rect& area, bool place);
    bool canRelate(const Rect& area) const;
    void normaliseStamps();

    TrayShared m_shared;
};

} // namespace zg
