// The hand-over of chunks between reading and writing.
#include "batch/chunk_queue.h"

#include <algorithm>
#include <exception>

namespace orv::batch {

chunk_queue::chunk_queue(std::function<bool(chunk&)> drain, std::size_t size, std::size_t max_rows,
                         std::size_t max_sites, bool threaded)
    : drain_(std::move(drain)) {
    for (int k = 0; k < 2; ++k) {
        all_.push_back(std::make_unique<chunk>(size, max_rows, max_sites));
        free_.push_back(all_.back().get());
    }
    // Without a thread the chunks are drained in turn.
    threaded_ = threaded && crew_.start([this] { serve(); });
}

// A drain's exception not fetched by close() is dropped with the crew.
chunk_queue::~chunk_queue() {
    if (!threaded_) return;
    stop();
}

// Empties c and makes it free again (m_ is held).
void chunk_queue::release(chunk* c, bool ok) {
    if (!ok) failed_ = true;
    c->rows.clear();
    c->sites.clear();
    c->flush = false;
    free_.push_back(c);
}

chunk* chunk_queue::take(const chunk* except) {
    std::unique_lock<std::mutex> lock(m_);
    auto it = free_.end();
    cv_.wait(lock, [&] {
        it = std::find_if(free_.begin(), free_.end(), [&](chunk* c) { return c != except; });
        return it != free_.end();
    });
    chunk* c = *it;
    free_.erase(it);
    return c;
}

void chunk_queue::give(chunk* c) {
    if (!threaded_) {
        const bool ok = drain_(*c);
        std::lock_guard<std::mutex> lock(m_);
        release(c, ok);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_);
        full_.push_back(c);
    }
    cv_.notify_all();
}

bool chunk_queue::failed() {
    std::lock_guard<std::mutex> lock(m_);
    return failed_;
}

// The second thread: drains chunks as they come until closed. After a
// drain threw, the chunks are only released, so that the reading side,
// seeing failed(), ends its run and close() rethrows.
void chunk_queue::serve() {
    std::unique_lock<std::mutex> lock(m_);
    std::exception_ptr thrown;
    for (;;) {
        cv_.wait(lock, [this] { return !full_.empty() || closing_; });
        if (full_.empty()) break;
        chunk* c = full_.front();
        full_.pop_front();
        lock.unlock();
        bool ok = false;
        if (!thrown) {
            try {
                ok = drain_(*c);
            } catch (...) {
                thrown = std::current_exception();
            }
        }
        lock.lock();
        release(c, ok);
        cv_.notify_all();
    }
    if (thrown) std::rethrow_exception(thrown);
}

// Ends the second thread once every chunk given was drained.
void chunk_queue::stop() {
    {
        std::lock_guard<std::mutex> lock(m_);
        closing_ = true;
    }
    cv_.notify_all();
    threaded_ = false;
}

void chunk_queue::close() {
    if (!threaded_) return;
    stop();
    crew_.join();
}

} // namespace orv::batch
