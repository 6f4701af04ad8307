// The register read row by row: a CSV file (its header's columns give the
// values) or a vector layer of points, each row a dam with its values.
#pragma once
#include <cstdint>
#include <string>

#include "geo/handles.h"
#include "inventory/csv_register.h"
#include "inventory/output.h"
#include "inventory/run.h"
#include "inventory/values.h"

namespace orv::inventory {

// The register, as CSV or as a vector layer of points.
class register_in {
  public:
    explicit register_in(const request& r) : r_(r), cols_(r.values) {}

    bool open(const OGRSpatialReference* site, std::string& why);
    bool csv() const { return csv_; }
    const record& header() const { return header_; }
    OGRLayer* layer() const { return layer_; }
    const OGRSpatialReference* srs() const { return layer_ ? layer_->GetSpatialRef() : nullptr; }
    char dec() const { return dec_; }
    char delim() const { return csv_ ? in_.delim() : ','; }
    double share() const;

    // The next row into d (d.row 0 for an empty line); false at the end
    // or on a read error (why set).
    bool next(dam_row& d, bool& blank, std::string& why);

  private:
    // What is wrong with the number of fields of a CSV record, "" when nothing.
    std::string length_fault(const record& rec) const;

    bool open_csv(std::string& why);

    bool open_vector(const OGRSpatialReference* site, std::string& why);

    // The breach of a vector row: its point in the site's system.
    void locate(dam_row& d);

    const request& r_;
    value_columns cols_;
    bool csv_ = false;
    csv_reader in_;
    record header_;
    char dec_ = '.';
    geo::dataset_handle ds_;
    OGRLayer* layer_ = nullptr;
    geo::transform_handle ct_;
    std::uint64_t rows_ = 0;
};

} // namespace orv::inventory
