// Matching header names to parameters, and what a header lacks.
#include "batch/columns.h"

#include <charconv>

#include "model/params.h"

namespace orv::batch {

namespace {

// Names of columns kept for messages, and how much of each; names listed
// in a message; near misses hinted at.
constexpr std::size_t kept_names = 256;
constexpr std::size_t kept_len = 40;
constexpr std::size_t listed_names = 12;
constexpr int hinted = 3;

// s without blanks and tabs at either end.
std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The next byte of s from k on as a near miss sees it, in lower case, or
// -1 at the end; k moves past it. Blanks, line ends, quotes, NUL bytes and
// UTF-8 byte-order marks are skipped: what a name meant to be, as far as a
// near miss goes.
int next_folded(std::string_view s, std::size_t& k) {
    while (k < s.size()) {
        if (s.compare(k, 3, "\xEF\xBB\xBF") == 0) {
            k += 3;
            continue;
        }
        const char c = s[k++];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '"' || c == '\'' || c == '\0')
            continue;
        return c >= 'A' && c <= 'Z' ? c | 0x20 : static_cast<unsigned char>(c);
    }
    return -1;
}

// True when a and b are one name as a near miss sees them, and not empty.
bool same_folded(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    int c = next_folded(a, i);
    if (c < 0) return false;
    for (;;) {
        if (c != next_folded(b, j)) return false;
        if (c < 0) return true;
        c = next_folded(a, i);
    }
}

} // namespace

int param_slot(std::string_view name, bool point) {
    const int last = point ? n_params : n_site_params;
    for (int k = 0; k < last; ++k)
        if (names_param(name, k)) return k;
    return -1;
}

const char* slot_name(int s) {
    return s < sl_e ? param_table[s].name : s == sl_e ? "E" : "N";
}

void put_shown(std::string& out, std::string_view s, std::size_t max) {
    const std::size_t from = out.size();
    out.append(s.substr(0, max));
    for (std::size_t k = from; k < out.size(); ++k) {
        const unsigned char c = static_cast<unsigned char>(out[k]);
        if (c < 0x20 || c == 0x7f) out[k] = '?';
    }
    if (s.size() > max) out += "...";
}

std::string shown_text(std::string_view s, std::size_t max) {
    std::string t;
    put_shown(t, s, max);
    return t;
}

void put_count(std::string& out, uint64_t n) {
    char b[24];
    const auto r = std::to_chars(b, b + sizeof b, n);
    out.append(b, r.ptr);
}

columns::columns(bool world, std::string e_name, std::string n_name)
    : world_(world), e_name_(std::move(e_name)), n_name_(std::move(n_name)) {
    for (auto& c : col_) c = -1;
    // The first byte of each slot's name as near misses compare it, -1 for
    // the slots not compared: E and N only with world coordinates, x and y
    // only without.
    for (int k = 0; k < n_slots; ++k) {
        const bool coordinate = k == sl_x || k == sl_y;
        std::size_t at = 0;
        first_[k] = -1;
        if ((k >= sl_e && !world_) || (coordinate && world_)) continue;
        first_[k] = next_folded(name_of(k), at);
    }
}

// The name that gives slot k: the names given for E and N, else the slot's.
std::string_view columns::name_of(int k) const {
    return k == sl_e ? e_name_ : k == sl_n ? n_name_ : std::string_view(slot_name(k));
}

// The slot that name gives, or -1.
int columns::match(std::string_view name) const {
    if (world_) {
        if (name == e_name_) return sl_e;
        if (name == n_name_) return sl_n;
    }
    return param_slot(name, !world_);
}

header_problem columns::add(std::string_view name, bool truncated) {
    const uint64_t c = count_++;
    name = trimmed(name);
    if (c < kept_names) {
        put_shown(names_, name, kept_len);
        name_ends_.push_back(static_cast<uint32_t>(names_.size()));
    }
    const int s = truncated ? -1 : match(name);
    if (s < 0) {
        // A name that is one of the model's but for case, blanks, quotes,
        // a byte-order mark or NUL bytes.
        delimiters_ = delimiters_ || name.find_first_of(",;\t") != std::string_view::npos;
        if (truncated || hints_ >= hinted) return std::nullopt;
        std::size_t at = 0;
        const int first = next_folded(name, at);
        for (int k = 0; k < n_slots && first >= 0; ++k) {
            if (first != first_[k]) continue;
            const std::string_view want = name_of(k);
            if (!same_folded(name, want)) continue;
            if (!near_misses_.empty()) near_misses_ += "; ";
            put_label(near_misses_, c);
            near_misses_ += ": gemeint ist ";
            put_shown(near_misses_, want);
            near_misses_ += '?';
            ++hints_;
            break;
        }
        return std::nullopt;
    }
    if (col_[s] >= 0) {
        return label(static_cast<uint64_t>(col_[s])) + " und " + label(c) + " geben beide " +
               slot_name(s) + " an";
    }
    col_[s] = static_cast<int64_t>(c);
    wanted_.push_back({c, s});
    return std::nullopt;
}

void columns::drop(int s) {
    std::erase_if(wanted_, [s](const wanted_column& w) { return w.slot == s; });
}

// "gefunden: ...; erwartet: ..." and the hints, for a header that lacks columns.
std::string columns::found_and_expected() const {
    std::string t = "gefunden: ";
    for (std::size_t k = 0; k < name_ends_.size() && k < listed_names; ++k) {
        t += k ? ", \"" : "\"";
        t += name(k);
        t += '"';
    }
    if (count_ > listed_names) t += ", ...";
    t += "; erwartet: ";
    for (int k = 0; k < n_params; ++k) t += (k ? ", " : "") + std::string(param_table[k].name);
    if (const std::string h = hints(); !h.empty()) t += "; " + h;
    return t;
}

std::string columns::hints() const {
    std::string t = near_misses_;
    if (delimiters_)
        t += (t.empty() ? "" : "; ") + std::string("Trennzeichen pruefen (--delimiter)");
    return t;
}

header_problem columns::finish(bool point_given) const {
    if (world_) {
        for (int s : {sl_e, sl_n}) {
            if (col_[s] < 0)
                return "Spalte " + shown_text(name_of(s)) + " fehlt (Weltkoordinaten mit --origin)";
        }
        return std::nullopt;
    }
    bool any = false;
    for (int s = 0; s < n_params; ++s) any = any || col_[s] >= 0;
    if (!any) return "keine Spalte erkannt; " + found_and_expected();
    if (col_[sl_x] < 0 && col_[sl_y] < 0 && !point_given)
        return "keine Spalte x oder y und weder -x noch -y angegeben; " + found_and_expected();
    return std::nullopt;
}

std::string_view columns::name(std::size_t k) const {
    const std::size_t from = k == 0 ? 0 : name_ends_[k - 1];
    return std::string_view(names_).substr(from, name_ends_[k] - from);
}

void columns::put_label(std::string& out, uint64_t c) const {
    out += "Spalte ";
    put_count(out, c + 1);
    if (c < name_ends_.size() && !name(c).empty()) {
        out += " (";
        out += name(c);
        out += ')';
    }
}

std::string columns::label(uint64_t c) const {
    std::string s;
    put_label(s, c);
    return s;
}

} // namespace orv::batch
