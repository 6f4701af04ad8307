// GDAL's drivers registered once, found by name, and GDAL's messages
// collected instead of printed.
#pragma once
#include <string>

class GDALDriver;

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
    // " (GDAL's last message)", or "" when none.
    std::string detail() const { return last_.empty() ? "" : " (" + last_ + ")"; }
    // How many failures GDAL reported since the last clear().
    int count() const { return count_; }
    // The errno of the first failure (0 when the system gave none).
    int first_errno() const { return errno_; }
    void clear() {
        last_.clear();
        count_ = 0;
        errno_ = 0;
    }
    void record(const char* msg, int err) {
        last_ = msg ? msg : "";
        if (count_++ == 0) errno_ = err;
    }

  private:
    std::string last_;
    int count_ = 0;
    int errno_ = 0;
};

// Registers GDAL's drivers once (safe from any thread).
void register_drivers();

// The driver of that name (drivers registered first); null when GDAL lacks it.
GDALDriver* driver(const std::string& name);

} // namespace orv::geo
