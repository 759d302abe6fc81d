#include "files/SaveFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace zg {
namespace {

namespace fs = std::filesystem;

class SaveFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::path(::testing::TempDir()) / (std::string("savefiles-") + info->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    std::vector<std::string> folderContents(const fs::path& dir) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path m_dir;
};

TEST_F(SaveFilesTest, TheNameReplacesOnlyTheFileNamesExtension) {
    EXPECT_EQ(savedGamePath("/home/a.b/puzzle.exe"), "/home/a.b/puzzle.sav");
    EXPECT_EQ(savedGamePath("/home/a.b/puzzle"), "/home/a.b/puzzle.sav");
    EXPECT_EQ(savedGamePath("/opt/gift.v2/my.gift.bin"), "/opt/gift.v2/my.gift.sav");
}

TEST_F(SaveFilesTest, ASaveInterruptedAtAnyByteLeavesTheOldOneWhole) {
    const std::string target = path("gift.sav");
    const std::vector<uint8_t> old(300, 0xAA);
    ASSERT_TRUE(writeFileAtomically(target, old));
    std::vector<uint8_t> fresh(500);
    for (std::size_t i = 0; i < fresh.size(); ++i) {
        fresh[i] = uint8_t(i * 7);
    }
    for (std::size_t failAt = 0; failAt < fresh.size(); ++failAt) {
        // Writes in small pieces and fails (a full disk, a kill) after failAt bytes.
        std::size_t written = 0;
        const FileWriter failing = [&](int fd, const uint8_t* data, std::size_t size) -> long {
            if (written >= failAt) {
                errno = ENOSPC;
                return -1;
            }
            const std::size_t n = std::min<std::size_t>({size, failAt - written, 7});
            written += n;
            return systemWrite(fd, data, n);
        };
        ASSERT_FALSE(writeFileAtomically(target, fresh, failing)) << failAt;
        ASSERT_EQ(readWholeFile(target, 1 << 20), old) << failAt;
    }
    // Nothing but the save is left in the folder.
    EXPECT_EQ(folderContents(m_dir), std::vector<std::string>{"gift.sav"});
    ASSERT_TRUE(writeFileAtomically(target, fresh));
    EXPECT_EQ(readWholeFile(target, 1 << 20), fresh);
}

TEST_F(SaveFilesTest, AGiftFolderThatCannotBeWrittenSavesToTheDataFolder) {
    // A regular file where the gift's folder should be cannot be written into
    // by anyone, the administrator included.
    std::ofstream(path("not-a-folder")) << "x";
    const std::string gift = path("not-a-folder/puzzle.bin");
    const SavedGameFiles files(gift, path("data"));
    const std::vector<uint8_t> bytes{1, 2, 3};

    const auto written = files.write(SavedGameFiles::Kind::Save, bytes);
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(*written, files.inDataFolder(SavedGameFiles::Kind::Save));
    EXPECT_EQ(fs::path(*written).parent_path(), fs::path(path("data")) / "zanthoria-gift");
    EXPECT_EQ(readWholeFile(*written, 100), bytes);

    const auto found = files.findResumable();
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->Path, *written);
    EXPECT_EQ(found->FoundKind, SavedGameFiles::Kind::Save);

    // Another gift of the same name elsewhere has its own file.
    EXPECT_NE(SavedGameFiles(path("puzzle.bin"), path("data")).inDataFolder(SavedGameFiles::Kind::Save),
              *written);
    EXPECT_TRUE(files.removeAll());
    EXPECT_FALSE(files.findResumable().has_value());
    // Neither place: nothing written, and it says so.
    EXPECT_FALSE(SavedGameFiles(gift, "").write(SavedGameFiles::Kind::Save, bytes).has_value());
}

TEST_F(SaveFilesTest, ARecoveryCopyNewerThanTheSaveIsOfferedInstead) {
    const SavedGameFiles files(path("puzzle.bin"), path("data"));
    const std::vector<uint8_t> bytes{1};
    ASSERT_TRUE(files.write(SavedGameFiles::Kind::Save, bytes));
    fs::last_write_time(files.besideGift(SavedGameFiles::Kind::Save),
                        fs::file_time_type::clock::now() - std::chrono::hours(1));
    ASSERT_TRUE(files.write(SavedGameFiles::Kind::Recovery, bytes));
    EXPECT_EQ(files.findResumable()->FoundKind, SavedGameFiles::Kind::Recovery);

    // A later save wins over the recovery copy of the game before it.
    fs::last_write_time(files.besideGift(SavedGameFiles::Kind::Recovery),
                        fs::file_time_type::clock::now() - std::chrono::hours(2));
    EXPECT_EQ(files.findResumable()->FoundKind, SavedGameFiles::Kind::Save);

    files.removeRecovery();
    EXPECT_FALSE(fs::exists(files.besideGift(SavedGameFiles::Kind::Recovery)));
    EXPECT_TRUE(fs::exists(files.besideGift(SavedGameFiles::Kind::Save)));
    const std::string bad = SavedGameFiles::setAside(files.besideGift(SavedGameFiles::Kind::Save));
    EXPECT_EQ(bad, path("puzzle.sav.bad"));
    EXPECT_FALSE(files.findResumable().has_value());
}

} // namespace
} // namespace zg
