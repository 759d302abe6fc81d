// Building the pieces: from the decoded picture through the cut and the
// labelling to the atlases, at 100 % and at any other scale.
#include "game/TJigsaw.h"

#include "files/GiftError.h"
#include "gfx/Stretch.h"
#include "host/Host.h"
#include "pieces/AtlasTooLargeError.h"
#include "pieces/Cutter.h"
#include "pieces/EdgeShapes.h"
#include "pieces/StylePreview.h"

#include <algorithm>
#include <stdexcept>

namespace zg {

namespace {

constexpr uint16_t kMaxOddness = 10;

/// Cuts a width x height picture on the puzzle's grid with the stored seed.
/// Style and oddness are clamped in the record first, so that what is saved
/// is what was cut.
void cutPicture(TJigsaw& jig, int32_t width, int32_t height, CutMap& map, SeedTable& seeds, OpenRuns& runs) {
    jig.State.Style = clampStyle(jig.State.Style);
    jig.State.Oddness = std::min(jig.State.Oddness, kMaxOddness);
    CutParams params;
    params.Width = width;
    params.Height = height;
    params.Cols = jig.State.Cols;
    params.Rows = jig.State.Rows;
    params.Style = jig.State.Style;
    params.Oddness = jig.State.Oddness;
    params.Version = jig.State.Version;
    jig.Rng.RandSeed = uint32_t(jig.State.Seed);
    cutPuzzle(map, seeds, params, jig.Rng, &jig.host(), nullptr, &runs, jig.WorkerThreads);
}

/// Labels the cut map into the pieces, from the open runs the cut found, and
/// writes their masks into a fresh OutlineData. The runs, the map and the
/// seeds are freed as soon as they are no longer needed.
void extractPieces(TJigsaw& jig, CutMap& map, SeedTable& seeds, OpenRuns& runs) {
    BusyScope busy(jig.host());
    ProgressReporter progress(jig.host(), "Extracting: ", 3 * int64_t(jig.pieceCount()));
    const uint32_t maskBytes = jig.labelPieces(map, seeds, &progress, &runs);
    runs = OpenRuns();
    seeds.clear();
    // The game record keeps room for two mask atlases, as saved games have
    // it; only the first is ever written or read, so only that is made.
    jig.OutlineData.assign(maskBytes, 0xFF);
    jig.OutlineDataSize = 2 * maskBytes;
    jig.State.MaskBufferSize = int32_t(jig.OutlineDataSize);
    jig.writeMasks(map, jig.OutlineData, &progress);
    map.clear();
}

} // namespace

void TJigsaw::BuildPuzzle(Bitmap24 picture) {
    if (picture.isEmpty() || picture.width() > UINT16_MAX || picture.height() > UINT16_MAX) {
        throw GiftDamagedError();
    }
    Picture = std::move(picture);
    OriginalPicture = Bitmap24();
    State.PictureWidth = uint16_t(Picture.width());
    State.PictureHeight = uint16_t(Picture.height());
    State.ScaledWidth = State.PictureWidth;
    State.ScaledHeight = State.PictureHeight;
    State.ScalePercent = 100;
    computeGridFromState();

    try {
        CutMap map;
        SeedTable seeds;
        OpenRuns runs;
        cutPicture(*this, Picture.width(), Picture.height(), map, seeds, runs);
        createRecords(State.PieceCount);
        // Each piece's shape class follows from its own index; a rescale keeps them.
        assignEdgeClasses(Pieces);
        resetTrays(Config.BoardWidth, Config.BoardHeight);
        extractPieces(*this, map, seeds, runs);
    } catch (const AtlasTooLargeError&) {
        throw GiftDamagedError();
    } catch (const std::invalid_argument&) {
        throw GiftDamagedError();
    }
    {
        BusyScope busy(host());
        // The mask bytes become MaskAtlas's own: no second copy is held.
        buildAtlases(std::move(OutlineData));
        OutlineData.clear();
    }
    computeColorKeys(Picture);
}

bool TJigsaw::Rescale(int32_t percent) {
    if (percent == 0 || originalPicture().isEmpty() || pieceCount() == 0 ||
        !pieceSizeValid(percent, State.PictureWidth, State.PictureHeight, State.Cols, State.Rows)) {
        return false;
    }
    const int64_t width = int64_t(percent) * State.PictureWidth / 100;
    const int64_t height = int64_t(percent) * State.PictureHeight / 100;
    if (width > UINT16_MAX || height > UINT16_MAX) {
        return false;
    }
    {
        CutMap map;
        SeedTable seeds;
        OpenRuns runs;
        cutPicture(*this, int32_t(width), int32_t(height), map, seeds, runs);
        // Labelling refuses a too large cut before it changes any piece.
        extractPieces(*this, map, seeds, runs);
    }
    State.ScalePercent = int16_t(percent);
    State.ScaledWidth = uint16_t(width);
    State.ScaledHeight = uint16_t(height);
    {
        BusyScope busy(host());
        if (OriginalPicture.isEmpty()) {
            OriginalPicture = std::move(Picture);
        }
        if (width == OriginalPicture.width() && height == OriginalPicture.height()) {
            // Back at 100 %: the original is the picture again, kept once.
            Picture = std::move(OriginalPicture);
            OriginalPicture = Bitmap24();
        } else {
            Picture = stretchBitmap(OriginalPicture, int32_t(width), int32_t(height));
        }
        // The mask bytes become MaskAtlas's own: no second copy is held.
        buildAtlases(std::move(OutlineData));
        OutlineData.clear();
    }
    // The atlases are upright now: every piece is turned again as it lay.
    ReapplyTurns(Pieces, Config.RotationOn);
    return true;
}

} // namespace zg
