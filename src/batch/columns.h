// Which header column of a batch file gives which parameter.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv::batch {

// The values a column can give: the seven parameters (in the order of the
// parameter table) and the world coordinates E and N.
enum slot : int { sl_h, sl_b, sl_vol, sl_s, sl_d, sl_x, sl_y, sl_e, sl_n, n_slots };

// The name of a slot as messages show it (H, B, Vol, ..., E, N).
const char* slot_name(int s);

// The parameter a header name gives, as a batch header matches it: its
// slot from sl_h to sl_y (without point only the five of the site), or -1.
int param_slot(std::string_view name, bool point);

// A column that gives a slot: its index (from 0) and the slot.
struct wanted_column {
    uint64_t col;
    int slot;
};

// A problem with the header, as a German message without its place.
using header_problem = std::optional<std::string>;

// Built from the header's names one by one: one-letter names H, B, S, D, x,
// y match exactly, Vol in any case; with world coordinates the two names
// given for E and N match exactly and x, y are not looked for. Blanks and
// tabs around a name are ignored.
class columns {
  public:
    columns(bool world, std::string e_name, std::string n_name);

    // Takes the next header field's name (truncated: it was longer than
    // what was kept). A second column for the same slot is a problem.
    header_problem add(std::string_view name, bool truncated);

    // After the last name: with world coordinates, E and N must be there;
    // without, some column of the model must be, and x or y unless
    // point_given (-x or -y set the point).
    header_problem finish(bool point_given) const;

    // Stops reading the column of slot s (an option gives its value).
    void drop(int s);

    // How many columns the header has.
    uint64_t count() const { return count_; }
    // The column of slot s, or -1.
    int64_t col(int s) const { return col_[s]; }
    // The columns that give a slot, in ascending order.
    const std::vector<wanted_column>& wanted() const { return wanted_; }
    // Column c for messages: "Spalte 3 (Vol)", or without the name where it
    // is empty or was not kept. put_label appends it to out.
    std::string label(uint64_t c) const;
    void put_label(std::string& out, uint64_t c) const;
    // The names that were almost one of the model's ("Spalte 1 (h): gemeint
    // ist H?") and a hint at the delimiter when a name holds one; "" for none.
    std::string hints() const;

  private:
    int match(std::string_view name) const;
    std::string_view name_of(int k) const;
    std::string found_and_expected() const;
    std::string_view name(std::size_t k) const;

    bool world_;
    std::string e_name_, n_name_;
    uint64_t count_ = 0;
    int64_t col_[n_slots];
    std::vector<wanted_column> wanted_;
    // The first names, shortened, for messages: one after the other in
    // names_, name k ending at name_ends_[k] (no string per name: a wide
    // header costs two buffers, not one allocation per column).
    std::string names_;
    std::vector<uint32_t> name_ends_;
    std::string near_misses_; // "Spalte X: gemeint ist x?" for names almost right
    int first_[n_slots];      // first byte of each slot's name for near misses
    int hints_ = 0;           // near misses in near_misses_
    bool delimiters_ = false; // a name holds ',', ';' or a tab
};

// Text of a file's bytes for a message: shortened to max bytes (with "...")
// and with control bytes shown as '?'. put_shown appends it to out.
std::string shown_text(std::string_view s, std::size_t max = 40);
void put_shown(std::string& out, std::string_view s, std::size_t max = 40);

// Appends n in decimal to out.
void put_count(std::string& out, uint64_t n);

} // namespace orv::batch
