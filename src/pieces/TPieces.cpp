#include "pieces/TPieces.h"

namespace zg {

TPieces::TPieces(Host& host) : m_host(&host) {}

TPieces::~TPieces() = default;

void TPieces::createRecords(int32_t count) {
    freeRecords();
    if (count <= 0) {
        return;
    }
    m_records.reserve(std::size_t(count));
    Pieces.reserve(std::size_t(count));
    for (int32_t i = 0; i < count; ++i) {
        m_records.push_back(std::make_unique<TFormPiece>(i));
        Pieces.push_back(m_records.back().get());
    }
}

void TPieces::freeRecords() {
    Pieces.clear();
    m_records.clear();
}

} // namespace zg
