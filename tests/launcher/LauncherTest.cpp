#include "launcher/GiftLayout.h"
#include "tools/ToolRunner.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>

extern char** environ;

namespace zg {
namespace {

using namespace zg::test;
namespace fs = std::filesystem;

constexpr std::size_t kPictureOffsetField = 2;
constexpr std::size_t kMusicOffsetField = 10;
constexpr const char* kDamaged = "This jigsaw gift file is damaged and cannot be opened";
constexpr const char* kUnpacking = "unpacking the libraries";

/// The "name=value" lines a probe player printed.
std::map<std::string, std::string> probeLines(const std::string& out) {
    std::map<std::string, std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos) {
            lines[line.substr(0, eq)] = line.substr(eq + 1);
        }
    }
    return lines;
}

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

uint32_t trailerField(const std::vector<uint8_t>& gift, std::size_t field) {
    const std::size_t at = gift.size() - bundle::kTrailerSize + field;
    return uint32_t(gift[at]) | uint32_t(gift[at + 1]) << 8 | uint32_t(gift[at + 2]) << 16 |
           uint32_t(gift[at + 3]) << 24;
}

void setTrailerField(std::vector<uint8_t>& gift, std::size_t field, uint32_t value) {
    const std::size_t at = gift.size() - bundle::kTrailerSize + field;
    for (int i = 0; i < 4; ++i) {
        gift[at + std::size_t(i)] = uint8_t(value >> (8 * i));
    }
}

/// Portable gifts made from a probe player (which prints what it read from
/// its gift instead of opening windows), run with a private cache folder.
class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        maker = env("ZG_GIFT_MAKER");
        probe = env("ZG_PROBE");
        portableProbe = env("ZG_PORTABLE_PROBE");
        launcher = env("ZG_LAUNCHER");
        assets = env("ZG_ASSETS");
        if (maker.empty() || probe.empty() || portableProbe.empty() || launcher.empty() || assets.empty()) {
            GTEST_SKIP()
                << "ZG_GIFT_MAKER, ZG_PROBE, ZG_PORTABLE_PROBE, ZG_LAUNCHER and ZG_ASSETS must be set";
        }
        dir = makePrivateFolder("zg-launcher");
        // A folder name with a space and non-ASCII letters, as gifts get.
        giftDir = dir / "Geschenk f\u00FCr Oma";
        fs::create_directories(giftDir);
        cache = dir / "cache";
        picture = fs::path(assets) / "demo" / "picture.jpg";
    }
    void TearDown() override {
        std::error_code ignored;
        if (!dir.empty()) {
            fs::permissions(dir, fs::perms::owner_all, ignored);
            fs::remove_all(dir, ignored);
        }
    }

    fs::path makeGift(const std::string& player, const std::string& name) {
        const fs::path gift = giftDir / name;
        const RunResult r = runProgram(
            maker, {"--player", player, "--title", "Lakeside", picture.string(), "-o", gift.string()}, dir);
        EXPECT_EQ(r.status, 0) << r.err;
        return gift;
    }

    /// Runs a gift with the cache folder and temporary folder given.
    RunResult runGift(const fs::path& gift, const fs::path& cacheHome, const fs::path& tmp = "/tmp") {
        return runProgram(
            "env", {"XDG_CACHE_HOME=" + cacheHome.string(), "TMPDIR=" + tmp.string(), gift.string()}, dir);
    }

    std::vector<std::string> cacheNames() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(cache / "zanthoria-gift")) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string maker, probe, portableProbe, launcher, assets;
    fs::path dir, giftDir, cache, picture;
};

TEST_F(LauncherTest, FindsThePayloadAndTrailerOfBothKindsOfGift) {
    const fs::path system = makeGift(probe, "plain gift");
    const fs::path portable = makeGift(portableProbe, "tragbares Geschenk \u2605");
    const uint64_t pictureSize = fs::file_size(picture);

    const bundle::GiftLayout plain = bundle::inspectGift(system.string());
    EXPECT_FALSE(plain.portable());
    EXPECT_EQ(plain.pictureOffset, fs::file_size(probe));
    EXPECT_EQ(plain.pictureLength, pictureSize);
    EXPECT_EQ(plain.trailerOffset, fs::file_size(system) - bundle::kTrailerSize);

    const bundle::GiftLayout bundled = bundle::inspectGift(portable.string());
    ASSERT_TRUE(bundled.portable());
    EXPECT_EQ(bundled.programEnd, fs::file_size(launcher));
    EXPECT_EQ(bundled.dataOffset + bundled.bundle->dataLength, fs::file_size(portableProbe));
    EXPECT_EQ(bundled.pictureOffset, fs::file_size(portableProbe));
    EXPECT_EQ(bundled.pictureLength, pictureSize);

    // Both start, and the player reads the gift it was started from.
    const RunResult direct = runGift(system, cache);
    EXPECT_EQ(direct.status, 0) << direct.err;
    auto lines = probeLines(direct.out);
    EXPECT_EQ(lines["gift"], system.string());
    EXPECT_EQ(lines["bundle"], "");
    EXPECT_EQ(lines["title"], "Lakeside");
    EXPECT_EQ(lines["picture"], std::to_string(pictureSize));

    const RunResult launched = runGift(portable, cache);
    EXPECT_EQ(launched.status, 0) << launched.err;
    lines = probeLines(launched.out);
    EXPECT_EQ(lines["gift"], portable.string());
    EXPECT_EQ(lines["bundle"],
              (cache / "zanthoria-gift" / bundle::hashName(bundled.bundle->contentHash)).string());
    EXPECT_EQ(lines["title"], "Lakeside");
    EXPECT_EQ(lines["picture"], std::to_string(pictureSize));
}

TEST_F(LauncherTest, GiftMakerInfoSaysWhichKindOfGift) {
    const fs::path system = makeGift(probe, "plain");
    const fs::path portable = makeGift(portableProbe, "portable");
    const RunResult plain = runProgram(maker, {"info", system.string()}, dir);
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_TRUE(plain.out.starts_with("Kind: system-libraries")) << plain.out;
    const RunResult bundled = runProgram(maker, {"info", portable.string()}, dir);
    ASSERT_EQ(bundled.status, 0) << bundled.err;
    EXPECT_TRUE(bundled.out.starts_with("Kind: portable")) << bundled.out;
    EXPECT_NE(bundled.out.find("Title: Lakeside\n"), std::string::npos) << bundled.out;

    // A plain gift is refused a portable player, and a portable one needs no flag.
    const RunResult refused = runProgram(
        maker,
        {"--system-libraries", "--player", portableProbe, picture.string(), "-o", (dir / "x").string()}, dir);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("portable"), std::string::npos) << refused.err;
    EXPECT_FALSE(fs::exists(dir / "x"));
}

TEST_F(LauncherTest, DamagedBundleGivesTheDamagedMessageAndCachesNothing) {
    const fs::path good = makeGift(portableProbe, "gift");
    const std::vector<uint8_t> bytes = readBytes(good);
    const uint32_t pictureAt = trailerField(bytes, kPictureOffsetField);

    // The bundle's last kilobyte cut away, the payload and trailer kept whole.
    std::vector<uint8_t> truncated = bytes;
    truncated.erase(truncated.begin() + pictureAt - 1024, truncated.begin() + pictureAt);
    setTrailerField(truncated, kPictureOffsetField, pictureAt - 1024);
    setTrailerField(truncated, kMusicOffsetField, trailerField(truncated, kMusicOffsetField) - 1024);
    // The compressed data damaged in the middle, the layout intact.
    std::vector<uint8_t> scrambled = bytes;
    const bundle::GiftLayout layout = bundle::inspectGift(good.string());
    for (uint64_t i = 0; i < 64; ++i) {
        scrambled[layout.dataOffset + layout.bundle->dataLength / 2 + i] ^= 0x5A;
    }

    for (const auto& [name, damaged] :
         {std::pair{"truncated", truncated}, std::pair{"scrambled", scrambled}}) {
        const fs::path gift = giftDir / name;
        writeBytes(gift, damaged);
        fs::permissions(gift, fs::perms::owner_all);
        const RunResult r = runGift(gift, cache);
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_NE(r.err.find(kDamaged), std::string::npos) << name << ": " << r.err;
        EXPECT_EQ(r.out, "") << name;
        if (fs::exists(cache / "zanthoria-gift")) {
            for (const std::string& entry : cacheNames()) {
                EXPECT_TRUE(entry.ends_with(".lock")) << name << " left " << entry;
            }
        }
    }
}

TEST_F(LauncherTest, TwoLaunchesAtOnceUnpackOnceAndBothStart) {
    const fs::path gift = makeGift(portableProbe, "gift");
    const std::string cacheVar = "XDG_CACHE_HOME=" + cache.string();
    std::vector<char*> envp;
    for (char** e = environ; *e != nullptr; ++e) {
        if (!std::string(*e).starts_with("XDG_CACHE_HOME=")) {
            envp.push_back(*e);
        }
    }
    envp.push_back(const_cast<char*>(cacheVar.c_str()));
    envp.push_back(nullptr);

    pid_t pids[2];
    for (int i = 0; i < 2; ++i) {
        const std::string out = (dir / ("out" + std::to_string(i))).string();
        const std::string err = (dir / ("err" + std::to_string(i))).string();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::string path = gift.string();
        char* argv[] = {path.data(), nullptr};
        ASSERT_EQ(posix_spawn(&pids[i], path.c_str(), &actions, nullptr, argv, envp.data()), 0);
        posix_spawn_file_actions_destroy(&actions);
    }
    std::string errors;
    for (int i = 0; i < 2; ++i) {
        int status = 0;
        ASSERT_EQ(waitpid(pids[i], &status, 0), pids[i]);
        const std::string out = readText(dir / ("out" + std::to_string(i)));
        const std::string err = readText(dir / ("err" + std::to_string(i)));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << err;
        EXPECT_EQ(probeLines(out)["title"], "Lakeside") << out << err;
        errors += err;
    }
    EXPECT_EQ(count(errors, kUnpacking), 1u) << errors;
    const std::string hash = bundle::hashName(bundle::inspectGift(gift.string()).bundle->contentHash);
    EXPECT_EQ(cacheNames(), (std::vector<std::string>{hash, hash + ".checked", hash + ".lock"}));
}

TEST_F(LauncherTest, ChangedCacheIsReplacedAndUnwritableCacheFallsBackToAPrivateFolder) {
    const fs::path gift = makeGift(portableProbe, "gift");
    ASSERT_EQ(runGift(gift, cache).status, 0);
    const std::string hash = bundle::hashName(bundle::inspectGift(gift.string()).bundle->contentHash);
    const fs::path player = cache / "zanthoria-gift" / hash / "bin" / "zanthoria-gift";
    const std::vector<uint8_t> original = readBytes(player);

    // Someone's program in place of the bundled player is never run.
    const std::string other = "#!/bin/sh\necho title=tampered\n";
    writeBytes(player, std::vector<uint8_t>(other.begin(), other.end()));
    fs::permissions(player, fs::perms::owner_all);
    RunResult r = runGift(gift, cache);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(probeLines(r.out)["title"], "Lakeside");
    EXPECT_EQ(count(r.err, kUnpacking), 1u) << r.err;
    EXPECT_EQ(readBytes(player), original);

    // Nor is a library someone added beside the bundled ones.
    const fs::path added = player.parent_path().parent_path() / "lib" / "libadded.so.1";
    writeBytes(added, {1, 2, 3});
    r = runGift(gift, cache);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(count(r.err, kUnpacking), 1u) << r.err;
    EXPECT_FALSE(fs::exists(added));

    // A cache folder that cannot be made: the gift still starts, from a
    // private folder that is gone when it ends.
    const fs::path blocked = dir / "not-a-folder";
    writeBytes(blocked, {1});
    const fs::path tmp = dir / "tmp";
    fs::create_directories(tmp);
    r = runGift(gift, blocked / "cache", tmp);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(probeLines(r.out)["title"], "Lakeside");
    EXPECT_TRUE(probeLines(r.out)["bundle"].starts_with(tmp.string() + "/")) << r.out;
    EXPECT_TRUE(fs::is_empty(tmp));
}

} // namespace
} // namespace zg
