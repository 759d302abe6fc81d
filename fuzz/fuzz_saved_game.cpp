// Feeds arbitrary bytes to the saved-game reader and, for every file it
// accepts, resumes it on a small puzzle built from a fixed picture, as the
// player does at start-up. A file may be refused only with SavedGameError;
// anything else, a crash or a sanitizer report is a finding. A resumed game
// must be playable: every piece in exactly one tray, group numbers below
// NextGroupId, and its image written again must read back.

#include "files/SavedGame.h"
#include "game/SilentHost.h"
#include "game/TJigsaw.h"
#include "pieces/EdgeShapes.h"

#include <cstdlib>

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

/// The picture the seed corpus was saved from: 160 x 120 pixels of a gradient.
zg::Bitmap24 picture() {
    zg::Bitmap24 b(160, 120);
    for (int32_t y = 0; y < 120; ++y) {
        for (int32_t x = 0; x < 160; ++x) {
            b.setPixel(x, y, zg::rgb(uint8_t(x * 2), uint8_t(y * 3), uint8_t(x ^ y)));
        }
    }
    return b;
}

/// The puzzle every input is resumed on; the seed corpus holds saves of it.
void buildFuzzPuzzle(zg::TJigsaw& jig) {
    jig.State.Version = 5;
    jig.State.RequestedPieces = 12;
    jig.State.Seed = 2024;
    jig.State.Style = zg::kStyleClassic;
    jig.State.Oddness = 4;
    jig.Config.BoardWidth = 320;
    jig.Config.BoardHeight = 240;
    jig.BuildPuzzle(picture());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zg;
    SavedGame game;
    try {
        game = parseSavedGame(std::span<const uint8_t>(data, size));
    } catch (const SavedGameError&) {
        return 0;
    }
    check(game.Pieces.size() == game.State.PieceCount);
    const std::vector<uint8_t> again = encodeSavedGame(game);
    check(parseSavedGame(again).Pieces.size() == game.Pieces.size());

    SilentHost host;
    TJigsaw jig(host);
    buildFuzzPuzzle(jig);
    try {
        jig.resumeFrom(game);
    } catch (const SavedGameError&) {
        return 0;
    }
    check(jig.IsPlaying());
    std::size_t held = 0;
    for (const auto& tray : jig.Trays) {
        held += tray->Pieces.size();
        for (const TFormPiece* p : tray->Pieces) {
            check(p->TrayIndex == tray->Number);
        }
    }
    check(held == jig.Pieces.size());
    for (const TFormPiece* p : jig.Pieces) {
        check(p->GroupId >= 0 && p->GroupId < jig.State.NextGroupId);
    }
    const std::vector<uint8_t> saved = encodeSavedGame(jig.makeSavedGame());
    check(parseSavedGame(saved).Pieces.size() == jig.Pieces.size());
    return 0;
}
