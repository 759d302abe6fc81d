#pragma once

#include "gfx/Rect.h"

#include <cstdint>
#include <vector>

namespace zg {

/// One piece of the cut puzzle. The piece set owns every record; all other
/// lists hold plain pointers to them. A new record is all zero except `Index`.
class TFormPiece {
public:
    explicit TFormPiece(int32_t index = 0) : Index(index) {}

    int32_t TrayIndex = 0; ///< key of the box (board area or tray) holding the piece
    int32_t Index = 0;     ///< row * cols + col of the home cell; fixed
    int32_t HomeX = 0;     ///< top-left of the bounding box in the scaled picture
    int32_t HomeY = 0;
    double RelX = 0.0; ///< board position relative to a board rectangle
    double RelY = 0.0;
    int32_t Left = 0; ///< top-left on the board
    int32_t Top = 0;
    int32_t CellX = 0; ///< top-left of the piece's cell in the atlases
    int32_t CellY = 0;
    uint16_t Width = 0; ///< bounding box as currently turned
    uint16_t Height = 0;
    int32_t GroupId = 0;      ///< equal for joined pieces; higher paints on top
    int32_t ColorKey = 0;     ///< average colour, later the colour-chain position with bit 30 set
    uint16_t Stacking = 0;    ///< random key 0..65534
    uint8_t Rotation = 0;     ///< quarter turns clockwise, 0..3
    uint8_t PendingTurns = 0; ///< quarter turns still to apply to the images
    bool Joined = false;
    bool Settled = false;
    bool Hidden = false;
    bool Placed = false;
    uint8_t EdgeClass = 0; ///< 0 corner, 1 top, 2 right, 3 bottom, 4 left edge, 5 interior
    /// The image atlas cell holds the piece's image. A build leaves it false:
    /// the piece is then upright and its image is the picture's pixels under
    /// its mask at its home box, drawn from there until it is first turned.
    bool ImageInAtlas = true;
    std::vector<uint8_t> OutlineSprite; ///< run-length coded outline shading; empty when none
    std::vector<uint8_t> WoodSprite;    ///< run-length coded wood side face; empty when none

    /// The board rectangle Left, Top, Left + Width, Top + Height.
    Rect boardRect() const { return Rect::fromSize(Left, Top, Width, Height); }
    Point homePoint() const { return {HomeX, HomeY}; }
    bool joinedOrPlaced() const { return Joined || Placed; }

    /// The top-left at which this piece fits against `other`, from the other's
    /// board position and rotation (both pieces are assumed turned alike).
    Point positionNextTo(const TFormPiece& other) const;
    /// Moves this piece to positionNextTo(other).
    void moveNextTo(const TFormPiece& other);

    /// Stores the board position relative to `board`, against the puzzle's
    /// unscaled picture size (refW, refH). An empty rectangle keeps the old values.
    void storePosition(const Rect& board, int32_t refW, int32_t refH);
    /// Sets Left, Top back from the stored relative position (round half to even).
    /// An empty rectangle or a zero reference size leaves the position unchanged.
    void restorePosition(const Rect& board, int32_t refW, int32_t refH);
    /// Sets Left = x, Top = y, then stores the relative position.
    void setPosition(int32_t x, int32_t y, const Rect& board, int32_t refW, int32_t refH);
    void offset(int32_t dx, int32_t dy) {
        Left += dx;
        Top += dy;
    }
};

using PieceList = std::vector<TFormPiece*>;

/// List operations over non-owning piece lists, processed in list order.
void setHidden(const PieceList& list, bool value);
void setPlaced(const PieceList& list, bool value);
void offsetPieces(const PieceList& list, int32_t dx, int32_t dy);

} // namespace zg
