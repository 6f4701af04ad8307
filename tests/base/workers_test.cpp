// The worker pool: every item once, threads that cannot start, exceptions carried to the caller.
#include <atomic>
#include <chrono>
#include <new>
#include <stdexcept>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "base/workers.h"

namespace {

namespace bt = orv::base::testing;

// Switches the thread start hook for one test and off again.
struct failing_starts {
    failing_starts(bool on, int after) { bt::fail_thread_start(on, after); }
    ~failing_starts() { bt::fail_thread_start(false); }
};

// Every item is done exactly once by a worker below the count asked for,
// whether all threads start, some or none.
TEST(Workers, EveryItemOnceWhateverStarts) {
    struct row {
        std::size_t items;
        unsigned workers;
        bool fail;
        int after;
    };
    const row rows[] = {{0, 4, false, 0},    {1, 4, false, 0},   {1000, 1, false, 0},
                        {1000, 4, false, 0}, {1000, 4, true, 0}, {1000, 4, true, 1},
                        {1000, 4, true, 2},  {3, 8, true, 1},    {1000, 0, false, 0}};
    for (const row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.items << " items, " << r.workers << " workers, fail "
                                        << r.fail << " after " << r.after);
        failing_starts hook(r.fail, r.after);
        std::vector<std::atomic<int>> done(r.items);
        std::atomic<unsigned> highest{0};
        const auto caller = std::this_thread::get_id();
        std::atomic<int> elsewhere{0};
        orv::base::for_each(r.items, r.workers, [&](unsigned w, std::size_t k) {
            ++done[k];
            unsigned h = highest.load();
            while (w > h && !highest.compare_exchange_weak(h, w)) {
            }
            if (std::this_thread::get_id() != caller) ++elsewhere;
        });
        for (std::size_t k = 0; k < r.items; ++k) {
            ASSERT_EQ(done[k].load(), 1) << "item " << k;
        }
        EXPECT_LT(highest.load(), std::max(1u, r.workers));
        if (r.fail) {
            EXPECT_LE(highest.load(), static_cast<unsigned>(r.after));
            EXPECT_TRUE(r.after != 0 || elsewhere.load() == 0);
        }
    }
}

// The first exception of any worker, std::bad_alloc included, reaches the
// caller after all threads are joined, and the others stop taking items.
TEST(Workers, FirstExceptionReachesTheCaller) {
    struct row {
        bool bad_alloc;
        bool on_thread; // thrown by a started thread, else by the caller's
        bool fail;      // thread starts fail: the caller meets it itself
    };
    const row rows[] = {{false, false, false}, {true, false, false}, {false, true, false},
                        {true, true, false},   {false, false, true}, {true, false, true}};
    for (const row& r : rows) {
        SCOPED_TRACE(testing::Message() << "bad_alloc " << r.bad_alloc << " on thread "
                                        << r.on_thread << " fail " << r.fail);
        failing_starts hook(r.fail, 0);
        const auto caller = std::this_thread::get_id();
        const std::size_t items = 1000000;
        std::atomic<std::size_t> ran{0};
        std::atomic<bool> thrown{false};
        auto fn = [&](unsigned, std::size_t) {
            ++ran;
            const bool mine = (std::this_thread::get_id() != caller) == r.on_thread;
            if (!mine) {
                // The caller waits (at most 10 s) until a thread has thrown.
                const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
                while (!thrown && std::chrono::steady_clock::now() < until)
                    std::this_thread::yield();
                std::this_thread::sleep_for(std::chrono::microseconds(100));
                return;
            }
            thrown = true;
            if (r.bad_alloc) throw std::bad_alloc();
            throw std::runtime_error("worker");
        };
        if (r.bad_alloc)
            EXPECT_THROW(orv::base::for_each(items, 4, fn), std::bad_alloc);
        else
            EXPECT_THROW(orv::base::for_each(items, 4, fn), std::runtime_error);
        EXPECT_TRUE(thrown.load());
        EXPECT_LT(ran.load(), items);
    }
}

// alongside runs both parts, on two threads or, when none starts, the
// aside part first on the caller's; an exception of either reaches the
// caller, and without a thread a failed aside part skips the main part.
TEST(Workers, AlongsideRunsBothOrCarriesTheError) {
    struct row {
        bool fail;
        bool aside_throws;
        bool main_throws;
        bool main_runs;
    };
    const row rows[] = {{false, false, false, true}, {true, false, false, true},
                        {false, true, false, true},  {true, true, false, false},
                        {false, false, true, true},  {true, false, true, true}};
    for (const row& r : rows) {
        SCOPED_TRACE(testing::Message() << "fail " << r.fail << " aside throws " << r.aside_throws
                                        << " main throws " << r.main_throws);
        failing_starts hook(r.fail, 0);
        const auto caller = std::this_thread::get_id();
        std::vector<int> order;
        bool aside_here = false, main_ran = false;
        auto run = [&] {
            orv::base::alongside(
                [&] {
                    aside_here = std::this_thread::get_id() == caller;
                    if (r.aside_throws) throw std::runtime_error("aside");
                },
                [&] {
                    main_ran = true;
                    if (r.main_throws) throw std::runtime_error("main");
                });
        };
        if (r.aside_throws || r.main_throws)
            EXPECT_THROW(run(), std::runtime_error);
        else
            EXPECT_NO_THROW(run());
        EXPECT_EQ(aside_here, r.fail);
        EXPECT_EQ(main_ran, r.main_runs);
    }
}

// A crew says whether its thread started; join() rethrows once.
TEST(Workers, CrewStartsOrSaysNo) {
    for (const bool fail : {false, true}) {
        failing_starts hook(fail, 0);
        orv::base::crew c;
        bool ran = false;
        EXPECT_EQ(c.start([&] {
            ran = true;
            throw std::runtime_error("x");
        }),
                  !fail);
        EXPECT_EQ(c.running(), !fail);
        if (fail) {
            EXPECT_NO_THROW(c.join());
            EXPECT_FALSE(ran);
        } else {
            EXPECT_THROW(c.join(), std::runtime_error);
            EXPECT_TRUE(ran);
            EXPECT_NO_THROW(c.join());
        }
    }
}

} // namespace
