// gift-maker preview, run as a program: the PNG it writes is decoded here
// (chunk CRCs, zlib stream, row filters) and compared with the picture and
// with what the core builds from the same gift.

#include "ToolRunner.h"
#include "files/GiftError.h"
#include "files/GiftFile.h"
#include "game/Grid.h"
#include "game/TJigsaw.h"
#include "gfx/Jpeg.h"
#include "pieces/CutPreview.h"
#include "pieces/Cutter.h"
#include "support/FakeHost.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <stdexcept>
#include <sys/wait.h>
#include <zlib.h>

namespace zg {
namespace {

using namespace zg::test;

namespace fs = std::filesystem;

uint32_t bigEndian32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

uint8_t paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    return uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

/// Decodes an 8-bit RGB, non-interlaced PNG, checking the signature, every
/// chunk's CRC and the zlib stream, and undoing all five row filters.
/// @throws std::runtime_error naming what is wrong.
Bitmap24 decodePng(const std::vector<uint8_t>& png) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 8 || std::memcmp(png.data(), kSignature, 8) != 0) {
        throw std::runtime_error("no PNG signature");
    }
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> compressed;
    bool ended = false;
    for (std::size_t at = 8; !ended;) {
        if (png.size() - at < 12) {
            throw std::runtime_error("truncated chunk");
        }
        const uint32_t length = bigEndian32(&png[at]);
        if (png.size() - at - 12 < length) {
            throw std::runtime_error("chunk longer than the file");
        }
        const std::string type(reinterpret_cast<const char*>(&png[at + 4]), 4);
        const uint8_t* data = &png[at + 8];
        if (uint32_t(crc32(0, &png[at + 4], 4 + length)) != bigEndian32(data + length)) {
            throw std::runtime_error("bad CRC in " + type);
        }
        if (type == "IHDR") {
            if (length != 13 || data[8] != 8 || data[9] != 2 || data[12] != 0) {
                throw std::runtime_error("not an 8-bit RGB picture without interlace");
            }
            width = bigEndian32(data);
            height = bigEndian32(data + 4);
        } else if (type == "IDAT") {
            compressed.insert(compressed.end(), data, data + length);
        } else if (type == "IEND") {
            ended = true;
        }
        at += 12 + std::size_t(length);
    }
    if (width == 0 || height == 0 || width > 100000 || height > 100000) {
        throw std::runtime_error("bad size in IHDR");
    }
    const std::size_t rowBytes = 3 * std::size_t(width);
    std::vector<uint8_t> raw(height * (rowBytes + 1));
    uLongf rawSize = uLongf(raw.size());
    if (uncompress(raw.data(), &rawSize, compressed.data(), uLong(compressed.size())) != Z_OK ||
        rawSize != raw.size()) {
        throw std::runtime_error("the zlib stream does not hold the picture's rows");
    }
    Bitmap24 out{int32_t(width), int32_t(height)};
    std::vector<uint8_t> previous(rowBytes, 0);
    std::vector<uint8_t> current(rowBytes);
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* line = &raw[y * (rowBytes + 1)];
        const uint8_t filter = line[0];
        for (std::size_t i = 0; i < rowBytes; ++i) {
            const int a = i >= 3 ? current[i - 3] : 0;
            const int b = previous[i];
            const int c = i >= 3 ? previous[i - 3] : 0;
            const int predictor = filter == 0   ? 0
                                  : filter == 1 ? a
                                  : filter == 2 ? b
                                  : filter == 3 ? (a + b) / 2
                                  : filter == 4 ? paeth(a, b, c)
                                                : throw std::runtime_error("unknown row filter");
            current[i] = uint8_t(line[1 + i] + predictor);
        }
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t* p = &current[3 * std::size_t(x)];
            out.setPixel(int32_t(x), int32_t(y), rgb(p[0], p[1], p[2]));
        }
        std::swap(previous, current);
    }
    return out;
}

class PreviewCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        maker = env("ZG_GIFT_MAKER");
        player = env("ZG_PLAYER");
        assets = env("ZG_ASSETS");
        if (maker.empty() || player.empty() || assets.empty()) {
            GTEST_SKIP() << "ZG_GIFT_MAKER, ZG_PLAYER and ZG_ASSETS must be set";
        }
        dir = makePrivateFolder("zg-preview");
        picture = fs::path(assets) / "demo" / "picture.jpg";
        gift = dir / "gift";
        png = dir / "cut.png";
        ASSERT_EQ(run({"--player", player, "--pieces", "48", "--seed", "24680", "--style", "classic",
                       "--oddness", "2", picture.string(), "-o", gift.string()})
                      .status,
                  0);
    }
    void TearDown() override {
        std::error_code ignored;
        if (!dir.empty()) {
            fs::remove_all(dir, ignored);
        }
    }

    RunResult run(const std::vector<std::string>& args) { return runProgram(maker, args, dir); }

    /// Runs `gift-maker preview GIFT --out cut.png` with `extra` options.
    RunResult preview(const std::vector<std::string>& extra) {
        std::vector<std::string> args = {"preview", gift.string(), "--out", png.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        return run(args);
    }

    Bitmap24 plainPicture() const { return decodeJpeg(readBytes(picture)); }

    /// The core's cut preview of the gift at 100 %, with the given style and oddness.
    Bitmap24 coreCutPreview(int32_t style, int32_t oddness) const {
        const Bitmap24 plain = plainPicture();
        const GridSize grid = computeGrid(uint32_t(plain.width()), uint32_t(plain.height()),
                                          GiftFile::open(gift).info().RequestedPieces);
        CutParams params;
        params.Width = plain.width();
        params.Height = plain.height();
        params.Cols = grid.Cols;
        params.Rows = grid.Rows;
        params.Style = style;
        params.Oddness = oddness;
        RandomGenerator rng;
        rng.RandSeed = 24680;
        CutMap map;
        SeedTable seeds;
        cutPuzzle(map, seeds, params, rng, nullptr);
        return renderCutPreview(plain, map);
    }

    std::string maker, player, assets;
    fs::path dir, picture, gift, png;
};

TEST_F(PreviewCommandTest, WritesThePictureWithBlackOrWhiteCutLinesOverIt) {
    const RunResult r = preview({});
    ASSERT_EQ(r.status, 0) << r.err;
    const Bitmap24 cut = decodePng(readBytes(png));
    const Bitmap24 plain = plainPicture();
    ASSERT_EQ(cut.width(), plain.width());
    ASSERT_EQ(cut.height(), plain.height());
    int64_t changed = 0;
    for (int32_t y = 0; y < cut.height(); ++y) {
        for (int32_t x = 0; x < cut.width(); ++x) {
            const Color c = cut.pixel(x, y);
            if (c != plain.pixel(x, y)) {
                ++changed;
                EXPECT_TRUE(c == rgb(0, 0, 0) || c == rgb(255, 255, 255)) << x << "," << y;
            }
        }
    }
    // 48 pieces of about 60 x 60 pixels: thousands of line pixels, but far
    // fewer than the picture has.
    EXPECT_GT(changed, 2000);
    EXPECT_LT(changed, int64_t(plain.width()) * plain.height() / 5);
    EXPECT_EQ(cut, coreCutPreview(kStyleClassic, 2));
}

TEST_F(PreviewCommandTest, SameGiftAndOptionsGiveIdenticalFiles) {
    ASSERT_EQ(preview({"--style", "mixture", "--oddness", "7"}).status, 0);
    const std::vector<uint8_t> first = readBytes(png);
    ASSERT_EQ(preview({"--style", "mixture", "--oddness", "7"}).status, 0);
    EXPECT_EQ(readBytes(png), first);
    ASSERT_EQ(preview({"--style", "mixture", "--oddness", "8"}).status, 0);
    EXPECT_NE(readBytes(png), first);
}

TEST_F(PreviewCommandTest, StyleAndOddnessOverrideTheGift) {
    ASSERT_EQ(preview({"--style", "squares", "--oddness", "0"}).status, 0);
    const Bitmap24 cut = decodePng(readBytes(png));
    EXPECT_EQ(cut, coreCutPreview(kStyleSquare, 0));

    // Straight cuts on the grid: every changed pixel lies on a grid line or the border.
    const Bitmap24 plain = plainPicture();
    const GridSize grid = computeGrid(uint32_t(plain.width()), uint32_t(plain.height()), 48);
    std::vector<bool> lineX(std::size_t(plain.width()), false);
    std::vector<bool> lineY(std::size_t(plain.height()), false);
    lineX.front() = lineX.back() = lineY.front() = lineY.back() = true;
    for (int32_t j = 1; j < grid.Cols; ++j) {
        lineX[std::size_t(plain.width() * j / grid.Cols)] = true;
    }
    for (int32_t i = 1; i < grid.Rows; ++i) {
        lineY[std::size_t(plain.height() * i / grid.Rows)] = true;
    }
    int64_t changed = 0;
    for (int32_t y = 0; y < cut.height(); ++y) {
        for (int32_t x = 0; x < cut.width(); ++x) {
            if (cut.pixel(x, y) != plain.pixel(x, y)) {
                ++changed;
                EXPECT_TRUE(lineX[std::size_t(x)] || lineY[std::size_t(y)]) << x << "," << y;
            }
        }
    }
    EXPECT_GT(changed, 0);
}

TEST_F(PreviewCommandTest, AtlasOptionWritesThePlayersImageAtlas) {
    ASSERT_EQ(preview({"--atlas"}).status, 0);
    const Bitmap24 atlas = decodePng(readBytes(png));

    test::FakeHost host;
    TJigsaw jig(host);
    initGameState(GiftFile::open(gift).info(), jig.State);
    jig.BuildPuzzle(plainPicture());
    jig.drawImageAtlas();
    EXPECT_EQ(atlas.width(), jig.State.AtlasWidth);
    EXPECT_EQ(atlas.height(), jig.State.AtlasHeight);
    EXPECT_EQ(atlas, jig.ImageAtlas);
}

TEST_F(PreviewCommandTest, ScaleSizesThePicture) {
    ASSERT_EQ(preview({"--scale", "50"}).status, 0);
    const Bitmap24 half = decodePng(readBytes(png));
    const Bitmap24 plain = plainPicture();
    EXPECT_EQ(half.width(), plain.width() * 50 / 100);
    EXPECT_EQ(half.height(), plain.height() * 50 / 100);
}

TEST_F(PreviewCommandTest, ScaleOutsideTheRangeIsAUsageError) {
    for (const char* scale : {"9", "301", "fifty"}) {
        const RunResult r = preview({"--scale", scale});
        EXPECT_EQ(r.status, 2) << scale;
        EXPECT_NE(r.err.find("--scale"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fs::exists(png));
}

TEST_F(PreviewCommandTest, ScaleGivingPiecesUnderEightPixelsIsRefused) {
    // 48 pieces of the 480 x 360 picture are 60 pixels wide: 10 % makes them 6.
    const RunResult r = preview({"--scale", "10"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("8 to 640"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(png));
}

TEST_F(PreviewCommandTest, DamagedGiftIsRefused) {
    std::vector<uint8_t> bytes = readBytes(gift);
    const GiftFile intact = GiftFile::open(gift);
    // The trailer stays valid; the picture it points at is overwritten.
    std::fill_n(bytes.begin() + intact.info().PictureOffset, intact.info().PictureLength, uint8_t(0xA5));
    writeBytes(gift, bytes);
    RunResult r = preview({});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(kDamagedGiftMessage), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(png));

    writeBytes(gift, std::vector<uint8_t>(100, 0));
    r = preview({"--atlas"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(kDamagedGiftMessage), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(png));
}

TEST_F(PreviewCommandTest, CommandLinesThatCannotBeUnderstoodExitWithTwo) {
    EXPECT_EQ(run({"preview", gift.string()}).status, 2); // no --out
    EXPECT_EQ(run({"preview", "--out", png.string()}).status, 2);
    EXPECT_EQ(run({"preview", gift.string(), gift.string(), "--out", png.string()}).status, 2);
    EXPECT_EQ(preview({"--style", "hexagons"}).status, 2);
    EXPECT_EQ(preview({"--oddness", "11"}).status, 2);
    EXPECT_EQ(preview({"--sharpen"}).status, 2);
    EXPECT_FALSE(fs::exists(png));
}

TEST_F(PreviewCommandTest, HelpDescribesThePreviewOptions) {
    const RunResult r = run({"preview", "--help"});
    ASSERT_EQ(r.status, 0);
    for (const char* option : {"gift-maker preview", "--out", "--style", "--oddness", "--scale", "--atlas"}) {
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
    }
}

} // namespace
} // namespace zg
