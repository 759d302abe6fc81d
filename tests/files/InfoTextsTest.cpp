#include "files/InfoTexts.h"
#include "host/Host.h"
#include "support/FakeHost.h"

#include <gtest/gtest.h>

#include <cstring>

namespace zg {
namespace {

TGameState puzzle() {
    TGameState s;
    s.Version = 5;
    s.MakerVersion = "v4.04";
    s.PieceCount = 42;
    s.Cols = 7;
    s.Rows = 6;
    s.PictureWidth = 400;
    s.PictureHeight = 300;
    s.ElapsedSeconds = 125;
    return s;
}

TEST(CompletionText, CountsMinutesAndSecondsWithoutCheating) {
    EXPECT_EQ(completionText(puzzle()),
              "You solved all 42 pieces in 2 minutes and 5 seconds without cheating!");
}

TEST(CompletionText, NamesOneCheatOrSeveralOrAutoSolve) {
    TGameState s = puzzle();
    s.CheatCount = 1;
    EXPECT_EQ(completionText(s), "You solved all 42 pieces in 2 minutes and 5 seconds by cheating once!");
    s.CheatCount = 3;
    EXPECT_EQ(completionText(s), "You solved all 42 pieces in 2 minutes and 5 seconds by cheating 3 times!");
    s.AutoSolved = 1;
    EXPECT_EQ(completionText(s), "You solved all 42 pieces in 2 minutes and 5 seconds. You used Auto-solve!");
}

TEST(CompletionText, MinutesAreNotFoldedIntoHours) {
    TGameState s = puzzle();
    s.ElapsedSeconds = 2 * 3600 + 59;
    EXPECT_EQ(completionText(s), "You solved all 42 pieces in 120 minutes and 59 seconds without cheating!");
}

TEST(ProgressSoFarText, CountsSolvedPiecesAndCheats) {
    TGameState s = puzzle();
    s.SolvedCount = 17;
    s.CheatCount = 2;
    EXPECT_EQ(progressSoFarText(s), "You have solved 17 out of 42 pieces by cheating 2 times!");
}

TEST(SizeText, GivesCountGridAndPictureSize) {
    EXPECT_EQ(sizeText(puzzle()), "42 pieces 7x6, (400x300)");
}

TEST(VersionRemark, NamesTheMajorVersionTheRecordWasCutWith) {
    TGameState s = puzzle();
    EXPECT_EQ(versionRemark(s), ""); // v4 made a version 5 record
    s.MakerVersion = "v3.01";
    EXPECT_EQ(versionRemark(s), " (as v4)");
    s.Version = 4;
    EXPECT_EQ(versionRemark(s), "");
    s.Version = 3;
    EXPECT_EQ(versionRemark(s), " (as v2)");
    s.MakerVersion = "V2";
    EXPECT_EQ(versionRemark(s), "");
    s.MakerVersion = "x"; // no digit after the first character reads as 0
    EXPECT_EQ(versionRemark(s), " (as v2)");
    s.Version = 6;
    EXPECT_EQ(versionRemark(s), "");
}

TEST(CreationText, UsesTheCallersDateAndEndsInASpaceWithoutRemark) {
    TGameState s = puzzle();
    s.Created = 36526.0;
    const DateFormatter date = [](double days) { return days == 36526.0 ? "01/01/2000" : "?"; };
    EXPECT_EQ(creationText(s, date), "Created 01/01/2000 by version v4.04 ");
    s.MakerVersion = "v3.10";
    EXPECT_EQ(creationText(s, date), "Created 01/01/2000 by version v3.10  (as v4)");
}

TEST(AboutTexts, FillEveryLabelAndTheDescriptionOnlyWhenPresent) {
    TGameState s = puzzle();
    s.Title = "Harbour";
    s.Creator = "Ann";
    s.SolvedCount = 4;
    const auto date = [](double) { return std::string("d"); };
    AboutTexts texts = aboutTexts(s, date);
    EXPECT_EQ(texts.TitleName, "Harbour");
    EXPECT_EQ(texts.CreatorName, "Ann");
    EXPECT_EQ(texts.PuzzleStats, "42 pieces 7x6, (400x300)");
    EXPECT_EQ(texts.CreationStats, "Created d by version v4.04 ");
    EXPECT_EQ(texts.JigStatus, "You have solved 4 out of 42 pieces without cheating!");
    EXPECT_FALSE(texts.Description.has_value());

    s.HasDescription = 1;
    std::memcpy(s.Description.data(), "Caf\xe9", 4); // code page 1252 on disk
    EXPECT_EQ(aboutTexts(s, date).Description, "Caf\xc3\xa9");
    s.Description.fill('a'); // no terminator: the block ends at its capacity
    EXPECT_EQ(aboutTexts(s, date).Description->size(), s.Description.size());
}

TEST(ProgressReporter, ShowsOnlyMultiplesOfFiveAndNeverRepeats) {
    test::FakeHost host;
    ProgressReporter progress(host, "Generating: ", 42);
    for (int step = 0; step <= 42; ++step) {
        progress.step(step);
        progress.step(step); // a repeated step shows nothing new
    }
    ASSERT_GE(host.statusTexts.size(), 2u);
    EXPECT_EQ(host.statusTexts.front(), "Generating: 0%");
    EXPECT_EQ(host.statusTexts.back(), "Generating: 100%");
    int last = -1;
    for (const std::string& text : host.statusTexts) {
        const int percent = std::stoi(text.substr(std::strlen("Generating: ")));
        EXPECT_EQ(percent % 5, 0) << text;
        EXPECT_GT(percent, last) << text;
        last = percent;
    }
}

} // namespace
} // namespace zg
