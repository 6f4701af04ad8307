// Progress line and messages on standard error.
#include "io/progress.h"

#include <cstdlib>

#include "base/number_text.h"
#include "io/output.h"

namespace orv::io {

namespace {

// The time between redraws. A test may shorten it through
// ORV_TEST_PROGRESS_MS, so that a short run shows its line on any machine.
std::chrono::milliseconds redraw_interval() {
    static const std::chrono::milliseconds every = [] {
        const char* v = std::getenv("ORV_TEST_PROGRESS_MS");
        return std::chrono::milliseconds(v && *v ? std::atoi(v) : 500);
    }();
    return every;
}

void err(const std::string& s) {
    write_all(2, s.data(), s.size());
}

} // namespace

progress_line::progress_line(std::string prefix, bool shown)
    : prefix_(std::move(prefix)), shown_(shown),
      next_(std::chrono::steady_clock::now() + redraw_interval()) {}

void progress_line::tick(uint64_t rows) {
    if (!shown_) return;
    const auto now = std::chrono::steady_clock::now();
    if (now < next_) return;
    next_ = now + redraw_interval();
    err("\r" + prefix_ + ": " + counted(rows, "Zeile", "Zeilen") + " ...");
    drawn_ = true;
}

void progress_line::show(const std::string& text) {
    if (!shown_) return;
    const auto now = std::chrono::steady_clock::now();
    if (now < next_) return;
    next_ = now + redraw_interval();
    err("\r\033[K" + prefix_ + ": " + text);
    drawn_ = true;
}

void progress_line::message(const std::string& text) {
    clear();
    err(prefix_ + ": " + text + "\n");
}

void progress_line::clear() {
    if (!drawn_) return;
    err("\r\033[K");
    drawn_ = false;
}

} // namespace orv::io
