// Messages of a long run on standard error, with a progress line on a terminal.
#pragma once
#include <chrono>
#include <cstdint>
#include <string>

namespace orv::io {

// Writes messages prefixed by the command's name, and, when shown, a
// progress line that is redrawn at most every half second and erased
// before a message and at the end.
class progress_line {
  public:
    // prefix: "orvalis batch"; shown: draw the progress line.
    progress_line(std::string prefix, bool shown);
    ~progress_line() { clear(); }

    // Rows read so far; redraws the line when it is due.
    void tick(uint64_t rows);
    // Shows text as the progress line when it is due.
    void show(const std::string& text);
    // One message line.
    void message(const std::string& text);
    // Erases the progress line.
    void clear();

  private:
    std::string prefix_;
    bool shown_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point next_;
};

} // namespace orv::io
