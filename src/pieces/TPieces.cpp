#include "pieces/TPieces.h"

#include "gfx/SpriteBlit.h"
#include "host/Host.h"
#include "pieces/SortKeys.h"

#include <algorithm>
#include <stdexcept>

namespace zg {

TPieces::TPieces(Host& host) : m_host(&host) {
    loadWoodTexture();
}

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

uint32_t TPieces::labelPieces(CutMap& map, const SeedTable& seeds, ProgressReporter* progress,
                              const OpenRuns* runs) {
    if (seeds.Cols != State.Cols || seeds.Rows != State.Rows ||
        int64_t(pieceCount()) != int64_t(State.Cols) * State.Rows) {
        throw std::invalid_argument("the seed table and the pieces do not match the grid");
    }
    const std::vector<Rect> boxes = labelRegions(map, seeds, progress, runs, WorkerThreads);
    int64_t largest = 0;
    for (const Rect& b : boxes) {
        largest = std::max<int64_t>({largest, b.width(), b.height()});
    }
    const AtlasSizes sizes = computeAtlasSizes(largest, State.Cols, State.Rows);

    for (std::size_t i = 0; i < boxes.size(); ++i) {
        TFormPiece& p = *Pieces[i];
        p.HomeX = boxes[i].Left;
        p.HomeY = boxes[i].Top;
        p.Width = uint16_t(boxes[i].width());
        p.Height = uint16_t(boxes[i].height());
    }
    State.PieceHeight = sizes.PieceHeight;
    State.PieceWidth = sizes.PieceWidth;
    State.AtlasWidth = sizes.AtlasWidth;
    State.AtlasHeight = sizes.AtlasHeight;
    return sizes.maskBytes();
}

namespace {

AtlasSizes sizesOf(const TGameState& s) {
    return {s.PieceHeight, s.PieceWidth, s.AtlasWidth, s.AtlasHeight};
}
} // namespace

void TPieces::writeMasks(const CutMap& filled, std::span<uint8_t> buffer, ProgressReporter* progress) const {
    std::vector<Rect> boxes;
    boxes.reserve(Pieces.size());
    for (const TFormPiece* p : Pieces) {
        boxes.push_back(Rect::fromSize(p->HomeX, p->HomeY, p->Width, p->Height));
    }
    writeMaskBits(filled, boxes, State.Cols, sizesOf(State), buffer, progress, WorkerThreads);
}

void TPieces::buildAtlases(std::vector<uint8_t> buffer) {
    const AtlasSizes sizes = sizesOf(State);
    const std::size_t maskBytes = sizes.maskBytes();
    if (buffer.size() < maskBytes) {
        throw std::invalid_argument("the mask buffer is smaller than one mask atlas");
    }
    ImageAtlas.resize(sizes.AtlasWidth, sizes.AtlasHeight);
    MaskAtlas.assign(sizes.AtlasWidth, sizes.AtlasHeight, std::move(buffer));
    TurnImage.resize(sizes.PieceWidth, sizes.PieceHeight);
    TurnMask.resize(sizes.PieceWidth, sizes.PieceHeight);

    ProgressReporter progress(host(), "Drawing: ", pieceCount());
    // Each cell is placed where the piece's index puts it before its shading
    // reads the mask there, on the first build and after a rescale alike.
    computeShadingSizes();
    forEachPiece(
        pieceCount(), WorkerThreads,
        [&](int64_t i) {
            placePieceCell(int32_t(i), sizes);
            buildPieceShading(*Pieces[std::size_t(i)]);
        },
        [&](int64_t done) { progress.step(done); });
    host().setStatusText({});
}

void TPieces::placePieceCell(int32_t i, const AtlasSizes& sizes) {
    TFormPiece& p = *Pieces[std::size_t(i)];
    const int32_t cols = std::max<int32_t>(State.Cols, 1);
    p.CellX = (i % cols) * sizes.PieceWidth;
    p.CellY = (i / cols) * sizes.PieceHeight;
    p.ImageInAtlas = false;
}

void TPieces::drawImageAtlas() {
    for (TFormPiece* p : Pieces) {
        drawImageCell(*p);
    }
}

void TPieces::drawImageCell(TFormPiece& p) {
    if (p.ImageInAtlas) {
        return;
    }
    p.ImageInAtlas = true;
    // The cell is still black from the atlas's making, so copying only the
    // picture's pixels under the piece's mask leaves it black outside the piece.
    const Rect cell = Rect::fromSize(p.CellX, p.CellY, p.Width, p.Height);
    blitMaskedPicture(ImageAtlas, p.CellX, p.CellY, Picture, {p.HomeX, p.HomeY}, MaskAtlas, cell);
}

void TPieces::assignEdgeClasses(const PieceList& list) {
    const std::size_t n = std::min(list.size(), Pieces.size());
    for (std::size_t i = 0; i < n; ++i) {
        Pieces[i]->EdgeClass = edgeClassOf(int32_t(i), State.Cols, pieceCount());
    }
}

void TPieces::computeColorKeys(const Bitmap24& picture) {
    BusyScope busy(host());
    ProgressReporter progress(host(), "Sorting colors: ", pieceCount());
    zg::computeColorKeys(Pieces, picture, &progress, WorkerThreads);
}

} // namespace zg
