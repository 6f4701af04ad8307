// GDAL's messages collected instead of printed while an object lives.
#pragma once
#include <string>

namespace orv::assess {

class quiet_gdal {
  public:
    quiet_gdal();
    ~quiet_gdal();
    quiet_gdal(const quiet_gdal&) = delete;
    quiet_gdal& operator=(const quiet_gdal&) = delete;
    // GDAL's last failure message, "" when none.
    const std::string& last() const { return last_; }
    void record(const char* msg) { last_ = msg ? msg : ""; }

  private:
    std::string last_;
};

// Registers GDAL's drivers once.
void register_drivers();

} // namespace orv::assess
