// Ordering, joining and cutting the names of a dam's endangered objects.
#include "inventory/names.h"

#include <algorithm>

namespace orv::inventory {

namespace {

// The first n bytes of s or fewer, ending where a UTF-8 character begins.
std::string cut_at_character(const std::string& s, std::size_t n) {
    if (n >= s.size()) return s;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    return s.substr(0, n);
}

// " und N weitere" for the n names left out.
std::string rest_text(std::size_t n) {
    return n == 0 ? std::string() : " und " + std::to_string(n) + " weitere";
}

} // namespace

std::string join_names(const std::vector<std::string>& names, std::size_t limit) {
    std::size_t total = names.empty() ? 0 : 2 * (names.size() - 1);
    for (const std::string& n : names) total += n.size();
    if (total <= limit) {
        std::string all;
        for (const std::string& n : names) all += (all.empty() ? "" : "; ") + n;
        return all;
    }
    // The most whole names that fit with the note of the rest.
    std::string kept;
    std::size_t k = 0;
    for (; k < names.size(); ++k) {
        const std::string more = kept + (k ? "; " : "") + names[k];
        if (more.size() + rest_text(names.size() - k - 1).size() > limit) break;
        kept = more;
    }
    if (k > 0) return kept + rest_text(names.size() - k);
    const std::string rest = "..." + rest_text(names.size() - 1);
    if (rest.size() >= limit) return cut_at_character(rest, limit);
    return cut_at_character(names[0], limit - rest.size()) + rest;
}

std::vector<std::string> endangered_names(std::vector<object_hit> hits, int from,
                                          const object_index& idx) {
    hits.erase(
        std::remove_if(hits.begin(), hits.end(),
                       [&](const object_hit& h) { return h.level == no_level || h.level < from; }),
        hits.end());
    std::sort(hits.begin(), hits.end(), [](const object_hit& a, const object_hit& b) {
        if (a.level != b.level) return a.level > b.level;
        if (a.x != b.x) return a.x < b.x;
        return a.obj < b.obj;
    });
    std::vector<std::string> names;
    names.reserve(hits.size());
    for (const object_hit& h : hits) names.push_back(idx.label(h.obj));
    return names;
}

} // namespace orv::inventory
