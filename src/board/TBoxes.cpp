#include "board/TBoxes.h"

namespace zg {

TBoxes::TBoxes(Host& host) : TPieces(host) {
    Trays.push_back(std::make_unique<TBox>(0));
}

TBoxes::~TBoxes() = default;

void TBoxes::resetTrays(int32_t boardWidth, int32_t boardHeight) {
    Trays.clear();
    Trays.push_back(std::make_unique<TBox>(0));
    TBox& board = mainArea();
    board.SetSize(boardWidth, boardHeight);
    board.StackStamp = 0;
    board.Pieces = Pieces;
    for (TFormPiece* p : Pieces) {
        p->TrayIndex = 0;
    }
}

} // namespace zg
