#include "pieces/PieceWorkers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace zg {
namespace {

struct FailingRun {
    std::string error;                  ///< what() of the exception that reached the caller
    std::vector<uint8_t> ran;           ///< per index, 1 when work ran to its end
    std::vector<int64_t> reports;       ///< the finished counts, in order
    bool reportedOnOtherThread = false; ///< a report came from another thread
};

/// Runs 400 pieces of which 137 and 290 throw.
FailingRun runFailing(int32_t threads) {
    FailingRun r;
    r.ran.assign(400, 0);
    const std::thread::id caller = std::this_thread::get_id();
    try {
        forEachPiece(
            400, threads,
            [&](int64_t i) {
                if (i == 137 || i == 290) {
                    throw std::runtime_error("piece " + std::to_string(i));
                }
                r.ran[std::size_t(i)] = 1;
            },
            [&](int64_t k) {
                r.reports.push_back(k);
                r.reportedOnOtherThread = r.reportedOnOtherThread || std::this_thread::get_id() != caller;
            });
    } catch (const std::runtime_error& e) {
        r.error = e.what();
    }
    return r;
}

TEST(PieceWorkersTest, EveryPieceRunsOnceAndProgressCountsUpOnTheCallingThread) {
    for (const int32_t threads : {1, 3, 8}) {
        std::vector<std::atomic<int>> runs(1000);
        std::vector<int64_t> reports;
        std::vector<std::thread::id> reporters;
        forEachPiece(
            1000, threads, [&](int64_t i) { runs[std::size_t(i)].fetch_add(1); },
            [&](int64_t k) {
                reports.push_back(k);
                reporters.push_back(std::this_thread::get_id());
            });
        for (const auto& n : runs) {
            ASSERT_EQ(n.load(), 1);
        }
        ASSERT_EQ(reports.size(), 1000u);
        for (std::size_t k = 0; k < reports.size(); ++k) {
            ASSERT_EQ(reports[k], int64_t(k) + 1);
            ASSERT_EQ(reporters[k], std::this_thread::get_id());
        }
    }
}

TEST(PieceWorkersTest, TheLowestFailingPieceReachesTheCallerAsInTheSerialLoop) {
    const FailingRun serial = runFailing(1);
    EXPECT_EQ(serial.error, "piece 137");
    for (const int32_t threads : {2, 4}) {
        const FailingRun parallel = runFailing(threads);
        EXPECT_EQ(parallel.error, serial.error);
        EXPECT_FALSE(parallel.reportedOnOtherThread);
        // Every piece before the failing one has run; the reports count up
        // one by one and never past the pieces that ran.
        for (int64_t i = 0; i < 137; ++i) {
            ASSERT_EQ(parallel.ran[std::size_t(i)], 1) << i;
        }
        int64_t ran = 0;
        for (const uint8_t r : parallel.ran) {
            ran += r;
        }
        for (std::size_t k = 0; k < parallel.reports.size(); ++k) {
            ASSERT_EQ(parallel.reports[k], int64_t(k) + 1);
        }
        EXPECT_LE(int64_t(parallel.reports.size()), ran);
    }
}

} // namespace
} // namespace zg

namespace zg {
namespace {

// The lent threads are shared by the process: a loop started from a loop's
// work, and loops started from two threads at once, still run every piece
// once and return (rather than wait for threads that are busy with them).
TEST(PieceWorkersTest, LoopsInsideLoopsAndSideBySideEachRunEveryPiece) {
    std::vector<std::atomic<int>> inner(200 * 50);
    forEachPiece(200, 4, [&](int64_t i) {
        forEachPiece(50, 4, [&](int64_t j) { inner[std::size_t(i * 50 + j)].fetch_add(1); });
    });
    for (const auto& n : inner) {
        ASSERT_EQ(n.load(), 1);
    }
    std::vector<std::atomic<int>> left(5000);
    std::vector<std::atomic<int>> right(5000);
    std::thread other([&] {
        for (int round = 0; round < 20; ++round) {
            forEachPiece(250, 3, [&](int64_t i) { right[std::size_t(round * 250 + i)].fetch_add(1); });
        }
    });
    for (int round = 0; round < 20; ++round) {
        forEachPiece(250, 3, [&](int64_t i) { left[std::size_t(round * 250 + i)].fetch_add(1); });
    }
    other.join();
    for (std::size_t k = 0; k < left.size(); ++k) {
        ASSERT_EQ(left[k].load(), 1) << k;
        ASSERT_EQ(right[k].load(), 1) << k;
    }
}

} // namespace
} // namespace zg
