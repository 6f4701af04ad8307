// GDAL's drivers registered once, and GDAL's messages collected instead of printed.
#pragma once
#include <string>

namespace orv::geo {

// Collects GDAL's failure messages on this thread while it lives, so that
// none reaches the terminal raw; the caller words them in its own message.
class messages {
  public:
    messages();
    ~messages();
    messages(const messages&) = delete;
    messages& operator=(const messages&) = delete;
    // GDAL's last failure message, "" when none.
    const std::string& last() const { return last_; }
    // How many failures GDAL reported since the last clear().
    int count() const { return count_; }
    void clear() {
        last_.clear();
        count_ = 0;
    }
    void record(const char* msg) {
        last_ = msg ? msg : "";
        ++count_;
    }

  private:
    std::string last_;
    int count_ = 0;
};

// Registers GDAL's drivers once (safe from any thread).
void register_drivers();

} // namespace orv::geo
