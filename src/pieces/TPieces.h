#pragma once

#include "files/TGameState.h"
#include "gfx/Bitmap1.h"
#include "gfx/Bitmap24.h"
#include "gfx/Jpeg.h"
#include "gfx/TSprite.h"
#include "pieces/CutMap.h"
#include "pieces/PieceLabeller.h"
#include "pieces/PieceWorkers.h"
#include "pieces/RandomGenerator.h"
#include "pieces/TFormPiece.h"

#include <memory>
#include <span>
#include <vector>

namespace zg {

class Host;
class ProgressReporter;

/// The piece set: the lowest layer of the puzzle object. Owns the piece
/// records, the picture, the image and mask atlases and the back buffer, and
/// holds the game record and the random generator that every layer shares.
class TPieces {
public:
    /// @param host the windowing platform; must outlive the object.
    explicit TPieces(Host& host);
    virtual ~TPieces();
    TPieces(const TPieces&) = delete;
    TPieces& operator=(const TPieces&) = delete;

    Host& host() const { return *m_host; }

    /// Makes `count` records with Index 0..count-1; piece i is Pieces[i].
    void createRecords(int32_t count);
    /// Frees every record (and its sprite blocks).
    void freeRecords();
    int32_t pieceCount() const { return int32_t(Pieces.size()); }
    /// The piece with the given index, or nullptr when out of range.
    TFormPiece* pieceAt(int32_t index) const {
        return index >= 0 && index < pieceCount() ? Pieces[std::size_t(index)] : nullptr;
    }

    // ---- Extraction: from the cut map to the atlases ----

    /// Fills every piece's region of the cut `map` (consumed: it holds the
    /// filled pieces afterwards) from `seeds`, measures the boxes and chooses
    /// the cell and atlas sizes. Only when the sizes are acceptable are
    /// HomeX, HomeY, Width, Height of every record and PieceWidth,
    /// PieceHeight, AtlasWidth, AtlasHeight of `State` written, so a refused
    /// cut leaves the pieces as they were.
    /// @pre the records exist, one per cell of the State.Cols x State.Rows grid.
    /// @returns the byte size of one mask atlas.
    /// @throws AtlasTooLargeError before anything is allocated when the
    ///         atlases would be too large; std::invalid_argument when the map,
    ///         the seeds and the records do not match the grid.
    /// `runs`, when given, are the map's open runs as the cut left them.
    uint32_t labelPieces(CutMap& map, const SeedTable& seeds, ProgressReporter* progress,
                         const OpenRuns* runs = nullptr);
    /// Clears the mask bits of every piece in `buffer` (first set to all 1
    /// bits, at least one mask atlas large) from the map filled by labelPieces.
    void writeMasks(const CutMap& filled, std::span<uint8_t> buffer, ProgressReporter* progress) const;
    /// Sizes the atlases and the turning scratch bitmaps from the sizes in
    /// `State`, makes MaskAtlas from the first mask atlas of `buffer` (whose
    /// bytes it takes over when the buffer is handed over), sets every
    /// record's CellX, CellY and builds its shading. The ImageAtlas starts
    /// black and untouched: an upright piece is drawn straight from Picture,
    /// and its cell gets its image (drawImageCell) when it is first turned,
    /// so a build neither copies nor holds a second picture. Reports
    /// "Drawing: ". The pieces are done by WorkerThreads threads.
    /// @throws std::invalid_argument when the buffer is too small.
    void buildAtlases(std::vector<uint8_t> buffer);
    /// Copies the piece's pixels of Picture into its ImageAtlas cell, black
    /// outside the piece, unless the cell holds its image already.
    /// @pre the piece is upright when its cell does not hold its image yet.
    void drawImageCell(TFormPiece& piece);
    /// drawImageCell for every piece: the whole ImageAtlas as the pieces lie.
    void drawImageAtlas();

    // ---- Drawing with the atlases ----

    /// Draws `piece` at its board rectangle onto `target`, inside `clip` only:
    /// its shape is blackened, then its image ORed on, then its outline (when
    /// outlines are on). A Hidden piece draws nothing.
    void drawPiece(const TFormPiece& piece, Bitmap24& target, const Rect& clip) const;
    /// Draws the listed pieces in list order; with a clip rectangle only those
    /// whose board rectangle meets it (in the Wood style a side face hanging
    /// below counts). In the Wood style each run of pieces sharing a GroupId
    /// has its side faces drawn before its faces.
    void drawPieces(const PieceList& list, Bitmap24& target, const Rect* clip) const;
    /// ANDs each listed piece's mask into `target` at its board rectangle
    /// moved by -origin: the piece shapes become black, the rest stays.
    /// Hidden pieces are stamped too (drag masks are made of hidden pieces).
    void stampSilhouettes(const PieceList& list, Bitmap24& target, Point origin = {}) const;
    void stampSilhouettes(const PieceList& list, Bitmap1& target, Point origin = {}) const;
    /// Fills `r` of `target` with a direct colour (system colours must be
    /// resolved by the caller).
    static void fillRectangle(Bitmap24& target, const Rect& r, Color color);
    /// True when the board point (x, y) lies on the piece as it lies now.
    bool hitTest(const TFormPiece& piece, int32_t x, int32_t y) const;

    // ---- Turning pieces ----

    /// The rotation step: turns `piece` by t = (baseTurns + PendingTurns) and 3
    /// quarter turns clockwise. Its image and mask cells are turned in place
    /// (through TurnImage and TurnMask), Width and Height swap for odd t, its
    /// shading sprites are rebuilt from the turned mask, Rotation becomes
    /// (Rotation + t) and 3 and PendingTurns 0. The top-left of the piece on
    /// the board stays. Nothing but PendingTurns := 0 happens for t = 0.
    /// @throws std::logic_error when the turned box would not fit the cell.
    void TurnPiece(TFormPiece& piece, int32_t baseTurns);
    /// TurnPiece for every listed piece, with the busy cursor for more than
    /// one piece and, with `showProgress`, "Rotating: " progress in list
    /// order; the cursor and the status line are restored also on failure.
    /// Pieces turn on WorkerThreads threads when they are distinct pieces of
    /// this set; every turn is checked before any piece turns.
    /// @throws std::logic_error when a turned piece would not fit its cell.
    void RotatePieces(const PieceList& list, int32_t baseTurns, bool showProgress);
    /// Gives every listed piece that is not Joined PendingTurns := Random(4),
    /// then turns the list.
    void RandomTurns(const PieceList& list, bool showProgress);
    /// After the atlases were rebuilt upright (a new scale, a resumed game):
    /// moves each listed piece's Rotation (and 3) into PendingTurns, sets
    /// Rotation to 0 and turns the list, so every piece lies as it did.
    void ReapplyTurns(const PieceList& list, bool showProgress);

    // ---- Shading ----

    static constexpr int32_t kOutlineNone = 0;
    static constexpr int32_t kOutlinePaper = 1;
    static constexpr int32_t kOutlineCard = 2;
    static constexpr int32_t kOutlineWood = 3;

    /// Sets OutlineWidth (1 for Paper, else PieceWidth / 40 within 2..6) and
    /// WoodThickness (PieceHeight / 15 within 1..20) for the current style.
    void computeShadingSizes();
    /// computeShadingSizes, then buildPieceShading for every piece. Run after
    /// the atlases are built and when the outline style changes.
    void buildShading();
    /// Builds (or, for the None style, empties) the piece's OutlineSprite
    /// and, in the Wood style, its WoodSprite, from its mask cell as the piece
    /// lies now. Reads only shared state and writes only `piece`, so pieces
    /// may be shaded in parallel.
    void buildPieceShading(TFormPiece& piece) const;

    // ---- Sort keys ----

    /// Sets EdgeClass of the first list.size() pieces of the piece set from
    /// their Index and the grid (State.Cols and the piece count).
    void assignEdgeClasses(const PieceList& list);
    /// Computes every piece's ColorKey from `picture` (average colour, then the
    /// colour chain), with the busy cursor and "Sorting colors: " progress.
    void computeColorKeys(const Bitmap24& picture);

    /// Threads shared by the per-piece steps of a build (masks, atlas cells,
    /// colour averages); 1 runs them in index order on the calling thread.
    /// The result is the same for every count.
    int32_t WorkerThreads = defaultWorkerCount();

    TGameState State;    ///< the current puzzle's record
    RandomGenerator Rng; ///< the one generator of every random choice
    PieceList Pieces;    ///< every record, in Index order (owned through m_records)
    bool CompletionCandidate = false;
    int32_t OutlineWidth = 0;
    int32_t WoodThickness = 0;
    Bitmap24 Picture; ///< the picture at the current scale
    Bitmap24 ImageAtlas;
    Bitmap1 MaskAtlas;
    Bitmap24 BackBuffer; ///< board-sized, always holds the finished board
    Bitmap24 TurnImage;  ///< one cell, for turning pieces
    Bitmap1 TurnMask;
    TSprite OutlineCoder{true, 0};
    TSprite WoodCoder{false, 0};
    Bitmap8 WoodTexture; ///< the "Solid" texture; its indices are coded one up

protected:
public:
    /// The outline style the pieces are drawn with: 0 None, 1 Paper, 2 Card,
    /// 3 Wood. The game layer answers from its settings.
    virtual int32_t outlineStyle() const { return 0; }

protected:
    /// Paints the piece's OutlineSprite at its board top-left, clipped to `clip`.
    void drawOutline(const TFormPiece& piece, Bitmap24& target, const Rect& clip) const;
    /// Paints the piece's WoodSprite (its side face) at its board top-left,
    /// clipped to `clip`; nothing for a Hidden piece.
    void drawWoodSide(const TFormPiece& piece, Bitmap24& target, const Rect& clip) const;

private:
    /// The per-piece part of buildAtlases, run on a worker thread: places
    /// the cell of Pieces[i] and marks its image as not yet in the atlas.
    void placePieceCell(int32_t i, const AtlasSizes& sizes);
    /// TurnPiece with the given scratch bitmaps in place of TurnImage and
    /// TurnMask, so that pieces can turn on several threads.
    void turnPieceWith(TFormPiece& piece, int32_t baseTurns, Bitmap24& scratchImage, Bitmap1& scratchMask);
    /// True when the listed pieces can turn side by side: more than one, all
    /// distinct pieces of this set, their cells on whole mask bytes.
    bool turnsApart(const PieceList& list) const;
    /// Decodes the "Solid" wood texture and loads its colours into WoodCoder.
    /// @throws ResourceError when it is missing or empty.
    void loadWoodTexture();

    Host* m_host;
    std::vector<std::unique_ptr<TFormPiece>> m_records;
};

} // namespace zg
