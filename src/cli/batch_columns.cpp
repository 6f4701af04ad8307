// Matching header names to parameters.
#include "cli/batch_columns.h"

namespace orv::cli {

namespace {

// Names of columns kept for messages, and how much of each.
constexpr std::size_t kept_names = 256;
constexpr std::size_t kept_len = 40;

// s without blanks and tabs at either end.
std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// True when s is "vol" in any case.
bool is_vol(std::string_view s) {
    if (s.size() != 3) return false;
    const char* v = "vol";
    for (int k = 0; k < 3; ++k)
        if ((s[k] | 0x20) != v[k]) return false;
    return true;
}

} // namespace

const char* slot_name(int s) {
    static const char* const names[n_slots] = {"H", "B", "Vol", "S", "D", "x", "y", "E", "N"};
    return names[s];
}

std::string shown_text(std::string_view s, std::size_t max) {
    std::string t;
    for (std::size_t k = 0; k < s.size() && k < max; ++k) {
        const unsigned char c = static_cast<unsigned char>(s[k]);
        t += c < 0x20 || c == 0x7f ? '?' : static_cast<char>(c);
    }
    if (s.size() > max) t += "...";
    return t;
}

columns::columns(bool world, std::string e_name, std::string n_name)
    : world_(world), e_name_(std::move(e_name)), n_name_(std::move(n_name)) {
    for (auto& c : col_) c = -1;
}

// The slot that name gives, or -1.
int columns::match(std::string_view name) const {
    if (world_) {
        if (name == e_name_) return sl_e;
        if (name == n_name_) return sl_n;
    }
    if (is_vol(name)) return sl_vol;
    if (name.size() != 1) return -1;
    switch (name[0]) {
    case 'H': return sl_h;
    case 'B': return sl_b;
    case 'S': return sl_s;
    case 'D': return sl_d;
    case 'x': return world_ ? -1 : sl_x;
    case 'y': return world_ ? -1 : sl_y;
    default: return -1;
    }
}

maybe_problem columns::add(std::string_view name, bool truncated) {
    const uint64_t c = count_++;
    name = trimmed(name);
    if (c < kept_names) names_.push_back(shown_text(name, kept_len));
    const int s = truncated ? -1 : match(name);
    if (s < 0) return std::nullopt;
    if (col_[s] >= 0) {
        return problem{exit_bad_value, label(static_cast<uint64_t>(col_[s])) + " und " + label(c) +
                                           " geben beide " + slot_name(s) + " an"};
    }
    col_[s] = static_cast<int64_t>(c);
    wanted_.push_back({c, s});
    return std::nullopt;
}

maybe_problem columns::finish() const {
    if (!world_) return std::nullopt;
    for (int s : {sl_e, sl_n}) {
        if (col_[s] < 0) {
            const std::string& name = s == sl_e ? e_name_ : n_name_;
            return problem{exit_bad_value,
                           "Spalte " + shown_text(name) + " fehlt (Weltkoordinaten mit --origin)"};
        }
    }
    return std::nullopt;
}

std::string columns::label(uint64_t c) const {
    std::string s = "Spalte " + std::to_string(c + 1);
    if (c < names_.size() && !names_[c].empty()) s += " (" + names_[c] + ")";
    return s;
}

} // namespace orv::cli
