// The register written back: every row with the fields a dam adds, as CSV
// that keeps the input's bytes, or through an OGR vector driver.
#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "inventory/column_types.h"
#include "inventory/csv_register.h"
#include "inventory/dam.h"
#include "inventory/objects.h"

class OGRFeature;
class OGRLayer;
class OGRSpatialReference;

namespace orv::inventory {

// A row of the register on its way through the run.
struct dam_row {
    std::uint64_t row = 0;               // the 1-based data row
    std::string id;                      // how messages and outputs name the dam
    std::string where;                   // the register and the row's line or feature, for messages
    record rec;                          // from a CSV register
    std::shared_ptr<OGRFeature> feature; // from a vector register
    bool located = false;                // e and n were read
    double e = 0, n = 0;                 // the breach in the site's system
    dam_site site;
    std::string error; // why the dam was not computed
    dam_result res;
    std::vector<object_hit> hits; // what the dam made of its objects, for --objects-out
};

// The fields a dam adds, in their order.
inline constexpr int n_added = 19;
extern const char* const added_names[n_added];

// The text of added field k of row d (empty for a null), with dec as the
// decimal separator.
std::string added_text(const dam_row& d, int k, char dec);

// Writes the rows into a staged output; the caller puts it in place.
class dam_writer {
  public:
    virtual ~dam_writer() = default;
    // The register's header (CSV) or layer (vector), before any row.
    virtual bool begin(const record* header, OGRLayer* layer, std::string& why) = 0;
    virtual bool write(const dam_row& d, std::string& why) = 0;
    // An empty line of a CSV register.
    virtual bool blank(const record& r, std::string& why) = 0;
    // Completes the output.
    virtual bool finish(std::string& why) = 0;
};

// CSV that copies each record's bytes and appends the fields before its
// line end, with the register's delimiter and decimal separator.
std::unique_ptr<dam_writer> csv_writer(std::FILE* f, char delim, char dec);

// The types of a CSV register's columns (by scan_column_types) and its
// decimal separator, for a vector output; no kinds: every column as text.
struct csv_columns {
    std::vector<column_kind> kinds;
    char dec = '.';
};

// A vector file created at path by driver, one layer named name of points
// in srs (may be null); the columns of a CSV register typed as cols says.
std::unique_ptr<dam_writer> vector_writer(const std::string& path, const std::string& driver,
                                          const std::string& name, const OGRSpatialReference* srs,
                                          std::string& why, csv_columns cols = {});

} // namespace orv::inventory
