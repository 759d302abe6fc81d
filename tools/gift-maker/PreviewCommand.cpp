#include "PreviewCommand.h"

#include "ArgumentParser.h"
#include "OptionValues.h"
#include "PngWriter.h"
#include "ToolError.h"
#include "files/GiftError.h"
#include "files/GiftFile.h"
#include "game/Grid.h"
#include "game/SilentHost.h"
#include "game/TJigsaw.h"
#include "pieces/AtlasTooLargeError.h"
#include "pieces/CutPreview.h"
#include "pieces/Cutter.h"
#include "pieces/StylePreview.h"

#include <functional>
#include <map>

namespace zg::maker {
namespace {

using Setter = OptionSyntax<PreviewOptions>::Setter;

/// Every preview option that takes a value, by its long name.
const std::map<std::string, Setter>& optionTable() {
    static const std::map<std::string, Setter> table = {
        {"--out", [](PreviewOptions& o, auto&, auto& v) { o.outputPath = v; }},
        {"--style", [](PreviewOptions& o, auto& n, auto& v) { o.style = parseStyle(n, v); }},
        {"--oddness",
         [](PreviewOptions& o, auto& n, auto& v) { o.oddness = uint16_t(parseInteger(n, v, 0, 10)); }},
        {"--scale",
         [](PreviewOptions& o, auto& n, auto& v) {
             o.scale = int32_t(parseInteger(n, v, kMinPreviewScale, kMaxPreviewScale));
         }},
    };
    return table;
}

std::string damaged(const std::string& path) {
    return path + ": " + kDamagedGiftMessage;
}

/// The cut lines of the built puzzle at its current scale, drawn again from
/// its record exactly as the build drew them (the build frees its map).
CutMap cutLinesOf(const TJigsaw& jig) {
    CutParams params;
    params.Width = jig.State.ScaledWidth;
    params.Height = jig.State.ScaledHeight;
    params.Cols = jig.State.Cols;
    params.Rows = jig.State.Rows;
    params.Style = jig.State.Style;
    params.Oddness = jig.State.Oddness;
    params.Version = jig.State.Version;
    RandomGenerator rng;
    rng.RandSeed = uint32_t(jig.State.Seed);
    CutMap map;
    SeedTable seeds;
    cutPuzzle(map, seeds, params, rng, nullptr);
    return map;
}

} // namespace

PreviewOptions parsePreviewOptions(const std::vector<std::string>& args) {
    OptionSyntax<PreviewOptions> syntax;
    const auto help = [](PreviewOptions& o) { o.help = true; };
    syntax.flags = {{"--help", help}, {"-h", help}, {"--atlas", [](PreviewOptions& o) { o.atlas = true; }}};
    syntax.valued = optionTable();
    syntax.aliases = {{"-o", "--out"}, {"--output", "--out"}};
    syntax.context = "preview: ";
    PreviewOptions options;
    const std::vector<std::string> operands = parseArguments(args, syntax, options);
    if (options.help) {
        return options;
    }
    if (operands.empty()) {
        throw UsageError("preview: no gift given");
    }
    if (operands.size() > 1) {
        throw UsageError("preview: more than one gift given: " + operands[0] + ", " + operands[1]);
    }
    options.giftPath = operands[0];
    if (options.outputPath.empty()) {
        throw UsageError("preview: no output given (--out FILE.png)");
    }
    return options;
}

Bitmap24 renderPreview(const PreviewOptions& options) {
    const std::string& path = options.giftPath;
    SilentHost host;
    TJigsaw jig(host);
    Bitmap24 picture;
    try {
        const GiftFile gift = GiftFile::open(path);
        initGameState(gift.info(), jig.State);
        picture = gift.LoadGiftPicture();
    } catch (const GiftDamagedError&) {
        throw ToolError(damaged(path));
    }
    if (options.style) {
        jig.State.Style = *options.style;
    }
    if (options.oddness) {
        jig.State.Oddness = *options.oddness;
    }

    // Refuse a scale the player's piece size dialog would refuse, before the
    // (possibly long) build. At 100 % the player builds whatever the grid gives.
    if (options.scale != 100) {
        GridSize grid;
        try {
            grid = computeGrid(uint32_t(picture.width()), uint32_t(picture.height()),
                               jig.State.requestedCount());
        } catch (const GiftDamagedError&) {
            throw ToolError(damaged(path));
        }
        if (!pieceSizeValid(options.scale, picture.width(), picture.height(), grid.Cols, grid.Rows)) {
            const int64_t cellW = int64_t(options.scale) * picture.width() / 100 / grid.Cols;
            const int64_t cellH = int64_t(options.scale) * picture.height() / 100 / grid.Rows;
            throw ToolError("--scale " + std::to_string(options.scale) + ": the pieces would be " +
                            std::to_string(cellW) + " x " + std::to_string(cellH) + " pixels; they must be " +
                            std::to_string(kMinCellSize) + " to " + std::to_string(kMaxCellSize) +
                            " pixels on each side");
        }
    }

    try {
        jig.BuildPuzzle(std::move(picture));
    } catch (const GiftDamagedError&) {
        throw ToolError(damaged(path));
    }
    if (options.scale != 100) {
        bool rescaled = false;
        try {
            rescaled = jig.Rescale(options.scale);
        } catch (const AtlasTooLargeError& e) {
            throw ToolError("--scale " + std::to_string(options.scale) +
                            ": the pieces are too large to build (" + e.what() + ")");
        }
        if (!rescaled) {
            throw ToolError("--scale " + std::to_string(options.scale) + ": the picture would be too large");
        }
    }
    if (options.atlas) {
        jig.drawImageAtlas();
        return std::move(jig.ImageAtlas);
    }
    return renderCutPreview(jig.Picture, cutLinesOf(jig));
}

void runPreview(const PreviewOptions& options) {
    const Bitmap24 preview = renderPreview(options);
    writeFileBytes(options.outputPath, encodePng(preview));
}

} // namespace zg::maker
