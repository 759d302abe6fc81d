#pragma once

#include "files/TGameState.h"
#include "gfx/Bitmap1.h"
#include "gfx/Bitmap24.h"
#include "pieces/RandomGenerator.h"
#include "pieces/TFormPiece.h"

#include <memory>
#include <vector>

namespace zg {

class Host;

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

private:
    Host* m_host;
    std::vector<std::unique_ptr<TFormPiece>> m_records;
};

} // namespace zg
