// Feeds arbitrary bytes to the gift reader and, for every gift it accepts
// whose picture is small, goes on as the player does: decode the picture,
// build the puzzle (cut, labelling, masks, atlases, colour keys) with a silent
// host, then rescale it once. A gift may be refused or fail to build only with
// the errors the player reports (GiftDamagedError, AtlasTooLargeError,
// std::invalid_argument); anything else, a crash or a sanitizer report is a
// finding. Pieces and atlases of a successful build must agree with the grid.

#include "files/GiftError.h"
#include "files/GiftFile.h"
#include "game/Grid.h"
#include "game/SilentHost.h"
#include "game/TJigsaw.h"
#include "pieces/AtlasTooLargeError.h"

#include <cstdlib>
#include <stdexcept>

namespace {

/// Inputs larger than this are skipped, so that one run stays fast.
constexpr int32_t kMaxSide = 256;
constexpr uint32_t kMaxPieces = 400;

/// The frame size a JPEG stream declares in its first start-of-frame marker,
/// found by walking the marker segments; false when there is none before the
/// data ends or the scan starts.
bool jpegFrameSize(const std::vector<uint8_t>& jpeg, int32_t& width, int32_t& height) {
    std::size_t at = 2; // after the start-of-image marker
    while (at + 4 <= jpeg.size()) {
        if (jpeg[at] != 0xFF) {
            return false;
        }
        const uint8_t marker = jpeg[at + 1];
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        const std::size_t length = std::size_t(jpeg[at + 2]) << 8 | jpeg[at + 3];
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 7 || at + 2 + length > jpeg.size()) {
                return false;
            }
            height = int32_t(jpeg[at + 5]) << 8 | jpeg[at + 6];
            width = int32_t(jpeg[at + 7]) << 8 | jpeg[at + 8];
            return true;
        }
        if (marker == 0xDA || length < 2) {
            return false;
        }
        at += 2 + length;
    }
    return false;
}

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zg;
    try {
        const GiftFile gift = GiftFile::fromBytes(std::vector<uint8_t>(data, data + size));
        const TGiftInfo& info = gift.info();
        int32_t width = 0;
        int32_t height = 0;
        if (!jpegFrameSize(gift.pictureBytes(), width, height) || width > kMaxSide || height > kMaxSide) {
            return 0;
        }
        Bitmap24 picture = gift.LoadGiftPicture();
        if (picture.width() > kMaxSide || picture.height() > kMaxSide) {
            return 0;
        }
        const GridSize grid =
            computeGrid(uint32_t(picture.width()), uint32_t(picture.height()), info.RequestedPieces);
        if (grid.pieceCount() > kMaxPieces) {
            return 0;
        }

        SilentHost host;
        TJigsaw jig(host);
        initGameState(info, jig.State);
        jig.Config.BoardWidth = 640;
        jig.Config.BoardHeight = 480;
        jig.BuildPuzzle(std::move(picture));
        check(uint32_t(jig.pieceCount()) == grid.pieceCount());
        check(jig.ImageAtlas.width() == jig.State.AtlasWidth &&
              jig.ImageAtlas.height() == jig.State.AtlasHeight);
        // Atlas rows are padded to whole 16-pixel groups.
        const int32_t cellsWide = jig.State.PieceWidth * jig.State.Cols;
        check(jig.State.AtlasWidth >= cellsWide && jig.State.AtlasWidth < cellsWide + 16);
        check(jig.State.AtlasHeight == jig.State.PieceHeight * jig.State.Rows);
        for (const TFormPiece* p : jig.Pieces) {
            check(p->Width >= 1 && p->Height >= 1 && p->Width <= jig.State.PieceWidth &&
                  p->Height <= jig.State.PieceHeight);
            check(p->HomeX >= 0 && p->HomeY >= 0 && p->HomeX + p->Width <= jig.Picture.width() &&
                  p->HomeY + p->Height <= jig.Picture.height());
        }

        // One rescale, at a scale the seed picks from 10..200 %.
        const int32_t percent = 10 + int32_t(uint32_t(info.Seed) % 191);
        if (jig.Rescale(percent)) {
            check(jig.Picture.width() == percent * jig.State.PictureWidth / 100);
            check(jig.ImageAtlas.width() == jig.State.AtlasWidth);
        }
    } catch (const GiftDamagedError&) {
    } catch (const AtlasTooLargeError&) {
    } catch (const std::invalid_argument&) {
    }
    return 0;
}
