// Passes chunks from the reading side to the writing side: on a thread of
// its own where a second core is there, else in turn.
#pragma once
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "base/workers.h"
#include "batch/chunk.h"

namespace orv::batch {

class chunk_queue {
  public:
    // Two chunks of size bytes, max_rows rows and max_sites sites each;
    // drain: what becomes of a chunk handed over (returns false once
    // writing failed). threaded: drain on a second thread (one thread when
    // none can be started).
    chunk_queue(std::function<bool(chunk&)> drain, std::size_t size, std::size_t max_rows,
                std::size_t max_sites, bool threaded);
    ~chunk_queue();

    // A chunk no longer in use other than except, emptied (waits for one).
    chunk* take(const chunk* except = nullptr);
    // Hands c over to be drained.
    void give(chunk* c);
    // Waits until every chunk given was drained and stops the second thread;
    // rethrows what a drain on it threw.
    void close();
    // True when chunks are drained on a second thread.
    bool threaded() const { return threaded_; }
    // True once a drain failed.
    bool failed();

  private:
    void serve();
    void stop();
    void release(chunk* c, bool ok);

    std::function<bool(chunk&)> drain_;
    std::vector<std::unique_ptr<chunk>> all_;
    std::mutex m_;
    std::condition_variable cv_;
    std::deque<chunk*> free_, full_;
    bool closing_ = false;
    bool failed_ = false;
    bool threaded_ = false;
    base::crew crew_;
};

} // namespace orv::batch
