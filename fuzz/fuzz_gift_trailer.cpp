// Feeds arbitrary bytes to the gift reader as a whole gift file: the trailer
// checks, the picture and music ranges, the record made from the gift, the
// picture decoder and the grid. Damaged gifts must be refused with
// GiftDamagedError and nothing else; a trailer that was accepted must write
// back to the same bytes it reads as.

#include "files/ColorNames.h"
#include "files/GiftError.h"
#include "files/GiftFile.h"
#include "files/GiftInfo.h"
#include "game/Grid.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zg;
    try {
        const GiftFile gift = GiftFile::fromBytes(std::vector<uint8_t>(data, data + size));
        const TGiftInfo& info = gift.info();

        const auto written = serializeGiftInfo(info);
        if (serializeGiftInfo(parseGiftInfo(written)) != written) {
            std::abort();
        }

        TGameState state;
        initGameState(info, state);
        (void)makerVersionLabel(info.MakerVersion);
        (void)formatGiftDate(info.Created);
        (void)colorFromName(info.StartBackground);
        (void)colorFromName(info.EndBackground);
        if (gift.hasMusic() && gift.musicBytes().size() != std::size_t(info.MusicLength)) {
            std::abort();
        }

        const Bitmap24 picture = gift.LoadGiftPicture();
        (void)computeGrid(uint32_t(picture.width()), uint32_t(picture.height()), info.RequestedPieces);
    } catch (const GiftDamagedError&) {
    }
    return 0;
}
