// Scans on worker threads: the ordered hand-back itself (order, errors, stopping, the waits on
// the calling thread), and the find and the generation giving the same bytes on 1, 2 and 7
// threads. Also run under ThreadSanitizer.
#include "platform/Workers.h"
#include "support/ZoltRunner.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <stdexcept>

namespace {

using namespace std::chrono_literals;

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST(Workers, DeliverInOrderOnTheCallingThread) {
    const auto caller = std::this_thread::get_id();
    for (int threads : {1, 2, 7}) {
        std::atomic<int> computedElsewhere = 0, mostAhead = 0, delivered = 0;
        std::vector<int> got;
        bool offThread = false;
        platform::RunInOrder<int>(
            500, threads,
            [&](int i, int worker) {
                if (std::this_thread::get_id() != caller) ++computedElsewhere;
                EXPECT_LT(worker, threads);
                const int ahead = i - delivered;
                for (int seen = mostAhead; ahead > seen;)
                    if (mostAhead.compare_exchange_weak(seen, ahead)) break;
                if (i % 37 == 0) std::this_thread::sleep_for(2ms); // out of step with the others
                return i * i;
            },
            [&](int i, int v) {
                offThread |= std::this_thread::get_id() != caller;
                EXPECT_EQ(v, i * i);
                got.push_back(i);
                ++delivered;
                return true;
            },
            [&] {
                offThread |= std::this_thread::get_id() != caller;
                return true;
            });
        ASSERT_EQ(got.size(), 500u) << threads;
        for (int i = 0; i < 500; ++i) ASSERT_EQ(got[static_cast<size_t>(i)], i);
        EXPECT_FALSE(offThread);
        EXPECT_EQ(computedElsewhere.load(), threads == 1 ? 0 : 500) << threads;
        // Workers stay within their lead of delivery, so results held stay few.
        EXPECT_LE(mostAhead.load(), 32 * threads + threads) << threads;
    }
}

TEST(Workers, ErrorsAndStopsComeInTheListsOrder) {
    for (int threads : {1, 7}) {
        // An error of item 40 comes after items 0..39, although later items were computed.
        std::vector<int> got;
        EXPECT_THROW(platform::RunInOrder<int>(
                         200, threads,
                         [](int i, int) {
                             if (i == 40) throw std::runtime_error("unreadable");
                             return i;
                         },
                         [&](int i, int) { return got.push_back(i), true; }, [] { return true; }),
                     std::runtime_error);
        EXPECT_EQ(got.size(), 40u) << threads;

        // Stopped after item 3: nothing more is delivered, and the run ends long before the
        // remaining items' 10 seconds of work.
        got.clear();
        std::atomic<int> computed = 0;
        const auto start = std::chrono::steady_clock::now();
        platform::RunInOrder<int>(
            500, threads,
            [&](int i, int) {
                ++computed;
                std::this_thread::sleep_for(20ms);
                return i;
            },
            [&](int i, int) { return got.push_back(i), i < 3; }, [] { return true; });
        EXPECT_EQ(got, (std::vector<int>{0, 1, 2, 3})) << threads;
        EXPECT_LT(std::chrono::steady_clock::now() - start, 3s) << threads;
        EXPECT_LT(computed.load(), 100) << threads;
    }

    // A long wait calls idle on the calling thread, and idle's false ends the run.
    int idles = 0;
    bool delivered = false;
    platform::RunInOrder<int>(
        4, 2,
        [](int i, int) {
            if (i == 0) std::this_thread::sleep_for(300ms);
            return i;
        },
        [&](int, int) { return delivered = true; }, [&] { return ++idles < 3; });
    EXPECT_EQ(idles, 3);
    EXPECT_FALSE(delivered);
}

TEST(Workers, ThreadCounts) {
    int n = 0;
    EXPECT_TRUE(platform::ParseThreadCount("7", n));
    EXPECT_EQ(n, 7);
    EXPECT_TRUE(platform::ParseThreadCount("256", n));
    for (const char* bad : {"", "0", "257", "-2", "2x", " 2", "99999999999", "1.5"})
        EXPECT_FALSE(platform::ParseThreadCount(bad, n)) << bad;

    testutil::ZoltResult r = testutil::RunZolt({"--threads", "0", "host"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--threads wants a number from 1 to 256, not \"0\""), std::string::npos)
        << r.err;
}

// The find and the generation on a made host with broken tickers among the good ones: every
// output byte for byte the same on 1, 2 and 7 threads.
TEST(Workers, SameOutputOnAnyNumberOfThreads) {
    testutil::MadeHost host({.tickers = 90, .years = 3, .broken = true});
    const char* finds[] = {
        "[Settings]\r\nMarketAction=0\r\nMarketLine=0\r\nDoPrevAction=1\r\nPrevActLine=11\r\n"
        "PrevActOutOfDays=60\r\nPrevActSpentDays=2\r\nDoEval=1\r\nEvalDays=3\r\n"
        "MarketDate=17100\r\n",
        "[Settings]\r\nMarketAction=3\r\nMarketLine=5\r\nDoPrevAction=1\r\nPrevActLine=1\r\n"
        "PrevActAction=1\r\nPrevActOutOfDays=99\r\nPrevActSpentDays=1\r\n",
        "[Settings]\r\nMarketAction=0\r\nMarketLine=11\r\nDoPrevAction=0\r\n"};
    std::string first[std::size(finds) + 1];
    for (int threads : {1, 2, 7}) {
        const std::string n = std::to_string(threads);
        for (size_t f = 0; f < std::size(finds); ++f) {
            testutil::WriteFile(host.program / ("T" + std::to_string(f) + ".MNI"), finds[f]);
            std::string out = testutil::Zolt(host, {"--threads", n, "find", "--settings",
                                                    "T" + std::to_string(f), "--format", "grid"});
            ASSERT_GT(out.size(), 200u) << f;
            if (threads == 1)
                first[f] = out;
            else
                EXPECT_EQ(out, first[f]) << "find " << f << " on " << threads << " threads";
        }
        const std::filesystem::path dir = host.tmp / ("sets" + n);
        std::filesystem::create_directories(dir);
        std::string said = testutil::Zolt(host, {"--threads", n, "generate", "--date", "2026-11-20",
                                                 "--ma", "10", "--out-dir", dir.string()});
        std::string set = FileBytes(dir / "26112010.vds");
        ASSERT_GT(set.size(), 1000u) << said;
        if (threads == 1)
            first[std::size(finds)] = set;
        else
            EXPECT_EQ(set, first[std::size(finds)]) << "the data set on " << threads << " threads";
    }
}
