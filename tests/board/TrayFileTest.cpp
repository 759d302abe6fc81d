#include "TraySupport.h"
#include "files/PackedIo.h"
#include "files/TrayRecord.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

/// One tray record laid out byte by byte as the saved game stores it.
std::vector<uint8_t> rawRecord(int16_t number, int16_t left, int16_t top, uint16_t width, uint16_t height,
                               int32_t stamp, uint32_t color, uint8_t open, uint8_t descLength,
                               const std::string& desc) {
    std::vector<uint8_t> out;
    PackedWriter w(out);
    w.i16(number);
    w.i16(left);
    w.i16(top);
    w.u16(width);
    w.u16(height);
    w.i32(stamp);
    w.u32(color);
    w.u8(open);
    w.u8(descLength);
    std::vector<uint8_t> text(128, 0);
    std::copy(desc.begin(), desc.begin() + std::ptrdiff_t(std::min<std::size_t>(desc.size(), 128)),
              text.begin());
    w.bytes(text);
    return out;
}

class TrayFile : public ::testing::Test {
protected:
    TrayFile() { test::makePieces(boxes, 10, 16, 640, 480); }

    void expectEachPieceInOneTray(const TBoxes& b) {
        std::vector<int> seen(b.Pieces.size(), 0);
        for (const auto& tray : b.Trays) {
            for (const TFormPiece* p : tray->Pieces) {
                ++seen[std::size_t(p->Index)];
                EXPECT_EQ(p->TrayIndex, tray->Number) << "piece " << p->Index;
            }
        }
        for (std::size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i], 1) << "piece " << i;
        }
    }

    /// Loads `bytes` as the tray part of a saved game holding `count` trays.
    void load(const std::vector<uint8_t>& bytes, uint16_t count, int32_t nextStamp = 50) {
        TGameExtra extra;
        extra.SavedTrayCount = count;
        extra.NextStackStamp = nextStamp;
        PackedReader in(bytes);
        boxes.LoadTrays(in, extra);
    }

    test::FakeHost host;
    test::TestBoxes boxes{host};
};

TEST_F(TrayFile, RecordIs148LittleEndianBytes) {
    TrayRecord r;
    r.Number = 3;
    r.Left = -2;
    r.Top = 0x0102;
    r.Width = 300;
    r.Height = 0xFFFF;
    r.StackStamp = 0x01020304;
    r.TrayColor = rgb(0x11, 0x22, 0x33);
    r.Open = false;
    r.Description = "Edges";
    std::vector<uint8_t> out;
    PackedWriter w(out);
    r.write(w);
    ASSERT_EQ(out.size(), 148u);
    EXPECT_EQ(out, rawRecord(3, -2, 0x0102, 300, 0xFFFF, 0x01020304, 0x00332211, 0, 5, "Edges"));
}

TEST_F(TrayFile, TraysSurviveASaveAndLoad) {
    TBox& two = boxes.addTray(2);
    two.SetBounds(Rect::fromSize(40, 60, 220, 180));
    two.Color = rgb(10, 20, 30);
    two.Description = std::string(127, 'd') + "\xC3\xA9"; // 128 characters, the last one é
    TBox& five = boxes.addTray(5);
    five.Open = false;
    boxes.TransferPieces({boxes.Pieces[1], boxes.Pieces[4]}, two);
    boxes.Pieces[1]->setPosition(100, 110, two.ClientRect(), 320, 240);
    boxes.Pieces[4]->setPosition(60, 90, two.ClientRect(), 320, 240);
    boxes.TransferPieces({boxes.Pieces[7]}, five);
    boxes.FirstVisibleTray = 2;

    TGameExtra extra;
    boxes.StoreTrayState(extra);
    EXPECT_EQ(extra.SavedTrayCount, 3);
    std::vector<uint8_t> bytes;
    PackedWriter w(bytes);
    boxes.SaveTrays(w);
    ASSERT_EQ(bytes.size(), 2 * 148u);

    test::FakeHost host2;
    test::TestBoxes copy(host2);
    test::makePieces(copy, 10, 16, 640, 480);
    for (std::size_t i = 0; i < copy.Pieces.size(); ++i) {
        copy.Pieces[i]->TrayIndex = boxes.Pieces[i]->TrayIndex;
        copy.Pieces[i]->RelX = boxes.Pieces[i]->RelX;
        copy.Pieces[i]->RelY = boxes.Pieces[i]->RelY;
    }
    PackedReader in(bytes);
    copy.LoadTrays(in, extra);
    EXPECT_EQ(in.remaining(), 0u);
    ASSERT_EQ(copy.Trays.size(), 3u);
    const TBox& two2 = copy.TrayByNumber(2);
    EXPECT_EQ(two2.OuterRect(), two.OuterRect());
    EXPECT_EQ(two2.Color, two.Color);
    EXPECT_EQ(two2.Description, two.Description);
    EXPECT_EQ(two2.StackStamp, two.StackStamp);
    EXPECT_EQ(two2.PieceCount(), 2);
    EXPECT_EQ(copy.Pieces[1]->Left, 100);
    EXPECT_EQ(copy.Pieces[4]->Top, 90);
    EXPECT_FALSE(copy.TrayByNumber(5).Open);
    EXPECT_EQ(copy.FirstVisibleTray, 2);
    EXPECT_GT(copy.NextStackStamp(), copy.TrayByNumber(5).StackStamp);
    expectEachPieceInOneTray(copy);
}

TEST_F(TrayFile, ACountOfOneMakesNoUserTray) {
    boxes.Pieces[3]->TrayIndex = 2; // names a tray the file does not hold
    load({}, 1);
    EXPECT_EQ(boxes.Trays.size(), 1u);
    EXPECT_EQ(boxes.Pieces[3]->TrayIndex, 0);
    expectEachPieceInOneTray(boxes);
}

TEST_F(TrayFile, HostileRecordsAreSkippedOrMadeSound) {
    std::vector<uint8_t> bytes;
    auto add = [&bytes](const std::vector<uint8_t>& r) { bytes.insert(bytes.end(), r.begin(), r.end()); };
    add(rawRecord(0, 10, 10, 200, 150, 1, 0, 1, 0, ""));                  // the board's number
    add(rawRecord(-4, 10, 10, 200, 150, 2, 0, 1, 0, ""));                 // negative
    add(rawRecord(6, 10, 10, 3, 2, 3, 0, 7, 255, std::string(128, 'a'))); // tiny, overlong text
    add(rawRecord(6, 90, 90, 200, 150, 4, 0, 1, 0, ""));                  // duplicate
    boxes.Pieces[0]->TrayIndex = 6;
    boxes.Pieces[1]->TrayIndex = -4;
    boxes.Pieces[2]->TrayIndex = 77;
    boxes.Pieces[3]->TrayIndex = 6;
    load(bytes, 5);
    ASSERT_EQ(boxes.Trays.size(), 2u);
    const TBox& six = *boxes.Trays[1];
    EXPECT_EQ(six.Number, 6);
    EXPECT_EQ(six.Left, 10);
    EXPECT_EQ(six.Width, 100);
    EXPECT_EQ(six.Height, 75);
    EXPECT_TRUE(six.Open);
    EXPECT_EQ(six.Description, std::string(128, 'a'));
    EXPECT_EQ(six.PieceCount(), 2);
    EXPECT_EQ(boxes.Pieces[1]->TrayIndex, 0);
    EXPECT_EQ(boxes.Pieces[2]->TrayIndex, 0);
    EXPECT_EQ(boxes.mainArea().PieceCount(), 8);
    expectEachPieceInOneTray(boxes);
}

TEST_F(TrayFile, OutOfRangeStampsAreHandedOutAgainInStackingOrder) {
    std::vector<uint8_t> bytes;
    auto add = [&bytes](const std::vector<uint8_t>& r) { bytes.insert(bytes.end(), r.begin(), r.end()); };
    add(rawRecord(1, 10, 10, 200, 150, 0x7FFFFFFF, 0, 1, 0, ""));
    add(rawRecord(2, 10, 10, 200, 150, -3, 0, 1, 0, ""));
    load(bytes, 3, 0x7FFFFFFF);
    ASSERT_EQ(boxes.Trays.size(), 3u);
    EXPECT_EQ(boxes.Trays[0]->Number, 0);
    EXPECT_EQ(boxes.Trays[1]->Number, 2);
    EXPECT_EQ(boxes.Trays[2]->Number, 1);
    EXPECT_TRUE(boxes.Trays[2]->IsFront());
    boxes.Trays[1]->TakeStamp();
    EXPECT_GT(boxes.Trays[1]->StackStamp, boxes.Trays[2]->StackStamp);
}

TEST_F(TrayFile, ShortDataThrowsAndChangesNothing) {
    TBox& one = boxes.addTray(1);
    boxes.TransferPieces({boxes.Pieces[0]}, one);
    std::vector<uint8_t> bytes = rawRecord(3, 10, 10, 200, 150, 1, 0, 1, 0, "");
    bytes.resize(147);
    EXPECT_THROW(load(bytes, 2), std::out_of_range);
    EXPECT_EQ(boxes.Trays.size(), 2u);
    EXPECT_EQ(one.PieceCount(), 1);
    expectEachPieceInOneTray(boxes);
}

TEST_F(TrayFile, DescriptionsOutsideTheCodePageAreSavedWithQuestionMarks) {
    TBox& one = boxes.addTray(1);
    one.Description = "Sky \xE2\x98\x81 blue \xE2\x82\xAC"; // a cloud has no 1252 form, the euro has
    std::vector<uint8_t> bytes;
    PackedWriter w(bytes);
    boxes.SaveTrays(w);
    PackedReader in(bytes);
    const TrayRecord r = TrayRecord::read(in);
    EXPECT_EQ(r.Description, "Sky ? blue \xE2\x82\xAC");
}

} // namespace
} // namespace zg
