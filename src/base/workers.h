// The one worker pool: threads that may fail to start, exceptions carried to the caller.
#pragma once
#include <atomic>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace orv::base {

namespace testing {

// Threads still allowed to start before every later start fails as it does
// for a user at its process limit; -1: no limit. Tests only.
inline std::atomic<int> thread_starts_left{-1};

// Tasks still allowed to run before the next one fails as if memory ran
// out (std::bad_alloc); -1: none fails. Tests only.
inline std::atomic<int> tasks_before_no_memory{-1};

// True when this task is to fail for want of memory.
inline bool task_out_of_memory() {
    int left = tasks_before_no_memory.load();
    while (left >= 0) {
        if (tasks_before_no_memory.compare_exchange_weak(left, left - 1)) return left == 0;
    }
    return false;
}

// From now on, the next `after` thread starts succeed and every later one
// fails (on), or all succeed again (off).
inline void fail_thread_start(bool on, int after = 0) {
    thread_starts_left.store(on ? after : -1);
}

} // namespace testing

// Threads started by one owner. A task that throws (std::bad_alloc
// included) has its exception kept; stopped() tells the others to take no
// new work, and join() rethrows the first one on the owner's thread once
// every thread is joined.
class crew {
  public:
    crew() = default;
    crew(const crew&) = delete;
    crew& operator=(const crew&) = delete;
    // Joins what still runs; an exception not fetched by join() is dropped.
    ~crew() { wait(); }

    // Starts fn on a thread of its own; false, with fn not run, when no
    // thread can be started (the process limit, no memory).
    bool start(std::function<void()> fn) {
        if (!may_start()) return false;
        try {
            threads_.emplace_back([this, f = std::move(fn)] { guarded(f); });
        } catch (const std::system_error&) {
            return false;
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }
    // Runs fn on the caller's thread as a task: its exception is kept too.
    void here(const std::function<void()>& fn) { guarded(fn); }
    // True once a task threw.
    bool stopped() const { return stop_.load(std::memory_order_relaxed); }
    // True while a thread started and not joined is there.
    bool running() const { return !threads_.empty(); }
    // Joins every thread, then rethrows the first exception of a task.
    void join() {
        wait();
        if (first_) std::rethrow_exception(std::exchange(first_, nullptr));
    }

  private:
    // The test hook's say on one more thread.
    static bool may_start() {
        int left = testing::thread_starts_left.load();
        while (left >= 0) {
            if (left == 0) return false;
            if (testing::thread_starts_left.compare_exchange_weak(left, left - 1)) return true;
        }
        return true;
    }
    void guarded(const std::function<void()>& fn) {
        try {
            if (testing::task_out_of_memory()) throw std::bad_alloc();
            fn();
        } catch (...) {
            std::lock_guard<std::mutex> lock(m_);
            if (!first_) first_ = std::current_exception();
            stop_.store(true);
        }
    }
    void wait() {
        for (std::thread& t : threads_) t.join();
        threads_.clear();
    }

    std::vector<std::thread> threads_;
    std::mutex m_;
    std::exception_ptr first_;
    std::atomic<bool> stop_{false};
};

// Runs fn(worker, item) for every item in [0, items) on up to `workers`
// workers (worker < workers), each taking the next item when free. Worker 0
// is the caller's thread; when a thread cannot be started, the workers
// started so far (at least the caller's) do all the work. Once fn throws, no
// worker takes a new item, and the first exception is rethrown here after
// every thread is joined.
template <class F> void for_each(std::size_t items, unsigned workers, const F& fn) {
    if (workers > items) workers = static_cast<unsigned>(items);
    std::atomic<std::size_t> next{0};
    crew c;
    auto work = [&](unsigned w) {
        for (std::size_t k; !c.stopped() && (k = next.fetch_add(1)) < items;) fn(w, k);
    };
    for (unsigned w = 1; w < workers; ++w)
        if (!c.start([&work, w] { work(w); })) break;
    c.here([&] { work(0); });
    c.join();
}

// Runs aside on a thread of its own while the caller's thread runs main;
// when no thread can be started, the caller runs aside first, then main.
// Returns once both ended; the first exception of either is rethrown.
template <class A, class M> void alongside(const A& aside, const M& main) {
    crew c;
    if (!c.start([&aside] { aside(); })) c.here([&aside] { aside(); });
    if (!c.stopped() || c.running()) c.here([&main] { main(); });
    c.join();
}

} // namespace orv::base
