// The option value readers: what each accepts and the one wording of what it refuses.
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/option_values.h"

namespace {

using orv::cli::maybe_problem;

// One reader call: its problem text ("" when accepted) and what it read.
struct outcome {
    std::string problem;
    std::string read;
};

std::string text_of(const maybe_problem& p) {
    return p ? p->text : "";
}

TEST(OptionValues, AcceptedAndRefused) {
    struct row {
        outcome got, want;
    };
    auto pair = [](const std::string& t) {
        std::string a, b;
        const auto p = orv::cli::read_pair(t, "--coords", "zwei Spaltennamen E,N", a, b);
        return outcome{text_of(p), p ? "" : a + "|" + b};
    };
    auto point = [](const std::string& t) {
        double e = 0, n = 0;
        const auto p = orv::cli::read_point(t, "--origin", e, n);
        return outcome{text_of(p), p ? "" : std::to_string(e) + "|" + std::to_string(n)};
    };
    auto range = [](const std::string& t) {
        std::optional<orv::map::range> r;
        const auto p = orv::cli::read_range(t, "--x", r);
        return outcome{text_of(p),
                       r ? std::to_string(r->min) + "|" + std::to_string(r->max) : std::string()};
    };
    auto size = [](const std::string& t) {
        std::optional<double> v;
        const auto p = orv::cli::read_size(t, "--cell", v);
        return outcome{text_of(p), v ? std::to_string(*v) : ""};
    };
    auto count = [](const std::string& t) {
        int n = -7;
        const auto p = orv::cli::read_count(t, "--digits", 0, 30, n);
        return outcome{text_of(p), std::to_string(n)};
    };
    const std::string pair_want = "Option --coords: zwei Spaltennamen E,N erwartet: ";
    const std::string point_want = "Option --origin: zwei Zahlen E,N erwartet";
    const std::string grouping =
        "Apostroph nur zwischen Gruppen von drei Ziffern erlaubt (2'600'000)";
    const std::vector<row> rows = {
        {pair(" Ost ,\tNord "), {"", "Ost|Nord"}},
        {pair("E,"), {pair_want + "E,", ""}},
        {pair("E,N,Z"), {pair_want + "E,N,Z", ""}},
        {point(" 2600000.5 , -1e3"), {"", "2600000.500000|-1000.000000"}},
        {point("1"), {point_want + ": 1", ""}},
        {point("1;2"), {point_want + ": 1;2", ""}},
        {point("1, "), {point_want + ": 1, ", ""}},
        {point("a,2"), {point_want + ", keine Zahl: a,2", ""}},
        {point("1,inf"), {point_want + ", Wert muss endlich sein: 1,inf", ""}},
        {range("-5:90"), {"", "-5.000000|90.000000"}},
        {range(""), {"", ""}},
        {range("2:2"), {"Option --x: MIN muss kleiner als MAX sein: 2:2", ""}},
        {range("1:2:3"), {"Option --x: MIN:MAX erwartet: 1:2:3", ""}},
        {range("nan:1"), {"Option --x: MIN:MAX erwartet, Wert muss endlich sein: nan:1", ""}},
        {size("0.5"), {"", "0.500000"}},
        {size("-0"), {"Option --cell: Wert muss groesser als 0 sein: -0", ""}},
        {size("1e999"), {"Option --cell: Wert muss endlich sein: 1e999", ""}},
        {count("30"), {"", "30"}},
        {count(""), {"", "-7"}},
        {count("-0"), {"Option --digits: ganze Zahl von 0 bis 30 erwartet: -0", "-7"}},
        {count("3 "), {"Option --digits: ganze Zahl von 0 bis 30 erwartet: 3 ", "-7"}},
        {count("99999999999"),
         {"Option --digits: ganze Zahl von 0 bis 30 erwartet: 99999999999", "-7"}},
        // Coordinates as the tool prints them, apostrophes between groups of three.
        {point("2'600'000,1'200'000"), {"", "2600000.000000|1200000.000000"}},
        {point("-1'250.5, 999"), {"", "-1250.500000|999.000000"}},
        {point("2'600'000.25,+12'345"), {"", "2600000.250000|12345.000000"}},
        {point("26'00'000,1"), {point_want + ", " + grouping + ": 26'00'000,1", ""}},
        {point("2600'000,1"), {point_want + ", " + grouping + ": 2600'000,1", ""}},
        {point("'600,1"), {point_want + ", " + grouping + ": '600,1", ""}},
        {point("2'600',1"), {point_want + ", " + grouping + ": 2'600',1", ""}},
        {point("2''600,1"), {point_want + ", " + grouping + ": 2''600,1", ""}},
        {point("1.000'5,1"), {point_want + ", " + grouping + ": 1.000'5,1", ""}},
        {point("1e3'000,1"), {point_want + ", " + grouping + ": 1e3'000,1", ""}},
        // A comma is the pair's separator: two of them are never read as decimals.
        {point("2600000,5,1200000,5"), {point_want + ": 2600000,5,1200000,5", ""}},
        {point("2600000,1200000"), {"", "2600000.000000|1200000.000000"}},
        // Decimal commas where they cannot be anything else.
        {size("2,5"), {"Option --cell: Dezimalpunkt verwenden: 2.5 statt 2,5", ""}},
        {size("2,5,1"), {"Option --cell: keine Zahl: 2,5,1", ""}},
        {size(","), {"Option --cell: keine Zahl: ,", ""}},
        {range("0,5:10"), {"Option --x: Dezimalpunkt verwenden: 0.5:10 statt 0,5:10", ""}},
        {range("-1,5:2,25"),
         {"Option --x: Dezimalpunkt verwenden: -1.5:2.25 statt -1,5:2,25", ""}},
        {range("0,5:a"), {"Option --x: MIN:MAX erwartet, keine Zahl: 0,5:a", ""}},
        // Apostrophes only in coordinates.
        {size("1'000"), {"Option --cell: keine Zahl: 1'000", ""}},
    };
    for (const row& r : rows) {
        EXPECT_EQ(r.got.problem, r.want.problem) << r.want.read;
        EXPECT_EQ(r.got.read, r.want.read) << r.want.problem;
    }
}

} // namespace
