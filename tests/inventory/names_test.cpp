// The orv_names field: whole names joined up to 500 bytes, the rest
// counted, never a character cut in two.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "inventory/names.h"

namespace {

using orv::inventory::join_names;

// Whether s is whole UTF-8: no sequence cut short at its end.
bool whole_utf8(const std::string& s) {
    std::size_t k = 0;
    while (k < s.size()) {
        const auto c = static_cast<unsigned char>(s[k]);
        const std::size_t n = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        if (k + n > s.size()) return false;
        for (std::size_t i = 1; i < n; ++i)
            if ((static_cast<unsigned char>(s[k + i]) & 0xC0) != 0x80) return false;
        k += n;
    }
    return true;
}

std::vector<std::string> repeated(const std::string& name, std::size_t n) {
    std::vector<std::string> v;
    for (std::size_t k = 0; k < n; ++k) v.push_back(name + std::to_string(k));
    return v;
}

TEST(InventoryNames, JoinedAndCutAtWholeNames) {
    // "H\u00fctte " is 7 bytes: with a digit 8, with "; " 10 a name.
    const std::string hut = "H\u00fctte ";
    const std::string long_name(300, 'a');
    const std::string umlauts = [] {
        std::string s;
        for (int k = 0; k < 300; ++k) s += "\u00e4"; // 600 bytes
        return s;
    }();
    // 50 names of 8 bytes and 49 separators: 498 bytes, all fit.
    std::vector<std::string> fifty;
    std::string fifty_joined;
    for (int k = 0; k < 50; ++k) {
        fifty.push_back(hut + std::to_string(k % 10));
        fifty_joined += (k ? "; " : "") + fifty.back();
    }
    ASSERT_EQ(fifty_joined.size(), 498u);
    struct join_case {
        const char* name;
        std::vector<std::string> names;
        std::string want;
    } cases[] = {
        {"none", {}, ""},
        {"one", {"Scheune"}, "Scheune"},
        {"two", {"Scheune", "Stall 3"}, "Scheune; Stall 3"},
        {"just fits", fifty, fifty_joined},
        {"two long", {long_name, long_name}, long_name + " und 1 weitere"},
        {"one too long", {umlauts}, ""},
        {"first too long", {umlauts, "Stall"}, ""},
    };
    for (const join_case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string got = join_names(c.names);
        EXPECT_LE(got.size(), 500u);
        EXPECT_TRUE(whole_utf8(got));
        if (!c.want.empty() || c.names.empty()) {
            EXPECT_EQ(got, c.want);
        }
    }
    // A first name too long on its own: cut between characters, marked.
    const std::string alone = join_names({umlauts});
    EXPECT_TRUE(alone.ends_with("\u00e4..."));
    EXPECT_EQ(alone.size(), 499u); // 248 umlauts and "...": the 249th would make 501
    const std::string first = join_names({umlauts, "Stall"});
    EXPECT_TRUE(first.ends_with("\u00e4... und 1 weitere")) << first;
    EXPECT_TRUE(umlauts.starts_with(first.substr(0, first.size() - 17)));
}

TEST(InventoryNames, ManyNamesKeepTheMostThatFitWithTheRestCounted) {
    for (std::size_t n : {60u, 200u, 5000u}) {
        SCOPED_TRACE(n);
        const std::vector<std::string> names = repeated("Geb\u00e4ude ", n);
        const std::string got = join_names(names);
        ASSERT_LE(got.size(), 500u);
        const auto und = got.rfind(" und ");
        ASSERT_NE(und, std::string::npos);
        const std::string head = got.substr(0, und);
        std::size_t kept = 0;
        for (std::size_t at = 0; at <= head.size(); ++kept) {
            const auto sep = std::min(head.find("; ", at), head.size());
            EXPECT_EQ(head.substr(at, sep - at), names[kept]);
            at = sep + 2;
        }
        EXPECT_EQ(got.substr(und), " und " + std::to_string(n - kept) + " weitere");
        // One more whole name would not have fitted.
        const std::string more =
            head + "; " + names[kept] + " und " + std::to_string(n - kept - 1) + " weitere";
        EXPECT_GT(more.size(), 500u);
    }
}

} // namespace
