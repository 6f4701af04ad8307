// Where each dam's values come from: the register's columns (by the batch
// command's names, or those named by --field), else the options.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "inventory/dam.h"

namespace orv::inventory {

// The values of a dam: five site values, the jet's direction and, from a
// CSV register, the breach's coordinates.
enum value : int { v_h, v_b, v_vol, v_s, v_d, v_azimuth, v_e, v_n, n_values };

// The name of value v as messages and --field show it (H, B, Vol, S, D, azimuth, E, N).
const char* value_name(int v);

// What the options say about the values.
struct value_options {
    std::optional<real> site[n_site_params]; // -H, -B, --vol, -S, -D
    std::optional<double> azimuth;           // --azimuth
    std::string column[v_azimuth + 1];       // --field V=COLUMN; "" for the usual name
    std::string e_name, n_name;              // --coords E,N (CSV registers)
    std::string id;                          // --id FIELD; "" for the data row
    bool prefer_options = false;             // options win over columns of the same value
};

// Reads one "--field V=COLUMN" into o; false with a German reason.
bool read_field_option(const std::string& text, value_options& o, std::string& why);

// A register field's content: text, or a number held as such, or nothing.
struct cell {
    std::string text;
    bool number = false;
    double value = 0;
    bool null = false;
};

// The register's columns that give values, fixed from its field names.
class value_columns {
  public:
    explicit value_columns(const value_options& o) : o_(o) {}

    // Finds the columns among names; coords: E and N come from columns.
    // A value given twice, by a column and an option (unless options are
    // preferred) or by nothing at all, and a named column that is missing
    // are problems of the whole run: false with a German reason.
    bool set_header(const std::vector<std::string>& names, bool coords, std::string& why);

    // The column of value v, or -1.
    std::int64_t col(int v) const { return col_[v]; }
    // The --id column, or -1.
    std::int64_t id_col() const { return id_; }
    // The name of column c for messages.
    std::string label(std::int64_t c) const;
    // The first column a row lacks when it has only n fields, for messages.
    std::string first_missing(std::size_t n) const { return label(static_cast<std::int64_t>(n)); }

    // The values of a row whose fields are cells (missing ones empty), with
    // dec as the decimal separator; false with "Spalte NAME: why" in why.
    bool read(const std::vector<cell>& cells, char dec, dam_site& d, double en[2],
              std::string& why) const;
    // Only the breach's E and N of such a row: a row with another fault
    // keeps its point in the outputs. False when they cannot be read.
    bool read_point(const std::vector<cell>& cells, char dec, double en[2]) const;

  private:
    int value_of(const std::string& n, bool coords) const;
    bool match_names(bool coords, std::string& why);
    bool check_sources(bool coords, const std::string& hint, std::string& why);
    bool read_value(const std::vector<cell>& cells, char dec, int v, double& x, real& r,
                    std::string& why) const;

    const value_options& o_;
    std::vector<std::string> names_;
    std::int64_t col_[n_values] = {-1, -1, -1, -1, -1, -1, -1, -1};
    std::int64_t id_ = -1;
    std::string hints_; // names that were almost a value's, for a missing one
};

} // namespace orv::inventory
