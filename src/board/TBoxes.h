#pragma once

#include "board/TBox.h"
#include "pieces/TPieces.h"

#include <memory>
#include <vector>

namespace zg {

/// The tray set: the layer of the puzzle object that owns the trays. Entry 0
/// of `Trays` is always the main board area; the order is the stacking order.
class TBoxes : public TPieces {
public:
    explicit TBoxes(Host& host);
    ~TBoxes() override;

    /// Drops every tray and makes the main board area, sized to the board in
    /// the settings, holding every piece (each piece's TrayIndex becomes 0).
    void resetTrays(int32_t boardWidth, int32_t boardHeight);
    TBox& mainArea() { return *Trays.front(); }
    const TBox& mainArea() const { return *Trays.front(); }

    std::vector<std::unique_ptr<TBox>> Trays;
};

} // namespace zg
