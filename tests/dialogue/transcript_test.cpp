// End-to-end transcripts: input bytes in, exact output bytes and exit status out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/session.h"

namespace orv::test {
namespace {

// The value fields of the seven prompts, as shown.
struct fields {
    std::string h = "  5.00", b = " 10.00", vol = "      4000", slp = "  1.00", dm = " 0.150",
                x = "   100", y = "     0";
};

// The first n prompts of a pass showing the fields f.
std::string prompts(const fields& f, int n = 7) {
    const std::string p[] = {
        " <Stauhoehe       H (" + f.h + "m)> ",  " <Breschenbreite  B (" + f.b + "m)> ",
        " <Volumen  Vol (" + f.vol + "m3)> ",    " <Sohlengefaelle  S (" + f.slp + "%)> ",
        " <Korndurchmesser D (" + f.dm + "m)> ", " <Breschendistanz x (" + f.x + "m)> ",
        " <Mittendistanz   y (" + f.y + "m)> ",
    };
    std::string s;
    for (int k = 0; k < n; ++k) s += p[k];
    return s;
}

std::string result(const char* q, const char* v, const char* h, const char* he) {
    return std::string("\n >spezifischer Abfluss :") + q + "m2/s\n >Fliessgeschwindigkeit:" + v +
           "m/s\n >Abflusstiefe:         " + h + "m\n >Energiehoehe:         " + he + "m\n";
}

std::string warning(const char* message) {
    return std::string("\n ------ Beginn Warnung -----------\n  ") + message +
           "\n ------- Ende Warnung ------------\n";
}

// Seven answers: the given ones first, empty lines for the rest.
std::string answers(std::vector<std::string> a) {
    std::string s;
    for (std::size_t k = 0; k < 7; ++k) s += (k < a.size() ? a[k] : "") + "\n";
    return s;
}

const std::string seven_blank = answers({});
const std::string start = banner_and_menu();
const std::string m(menu);
const std::string first = prompts({});
const std::string init(initial_result);

struct transcript {
    const char* name;
    std::string input;
    std::string out; // after the Banner and the first Menu line
    int code;
    std::string err = "";
};

const transcript transcripts[] = {
    {"exit_lower", "x\n", "", 0},
    {"exit_upper", "X\n", "", 0},
    {"exit_first_letter_counts", "xyz\n", "", 0},
    {"exit_without_line_end", "x", "", 0},
    {"empty_line_calculates", "\n" + seven_blank + "x\n", first + init + m, 0},
    {"tab_letter_calculates", "\t\n" + seven_blank + "x\n", first + init + m, 0},
    {"any_letter_calculates", "q\n" + seven_blank + "I\n" + seven_blank + "x\n",
     first + init + m + first + init + m, 0},
    {"crlf_letter_and_answers", "i\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\nx\r\n", first + init + m, 0},
    {"answer_stored_and_shown_next_pass", "i\n7\nq\ni\nq\nx\n",
     prompts({}, 2) + m + prompts(fields{.h = "  7.00"}, 1) + m, 0},
    {"decimal_comma_is_a_separator", "i\n2,5\nq\ni\nq\nx\n",
     prompts({}, 2) + m + prompts(fields{.h = "  2.00"}, 1) + m, 0},
    {"comma_keeps_value", "i\n,\nq\ni\nq\nx\n", prompts({}, 2) + m + prompts({}, 1) + m, 0},
    {"slash_keeps_value", "i\n/\nq\ni\nq\nx\n", prompts({}, 2) + m + prompts({}, 1) + m, 0},
    {"first_value_of_line_counts", "i\n  3 9\n4,8\nq\ni\n\nq\nx\n",
     prompts({}, 3) + m + prompts(fields{.h = "  3.00", .b = "  4.00"}, 2) + m, 0},
    {"unit_letter_makes_answer_unreadable", "i\n7m\ni\nq\nx\n",
     prompts({}, 1) + m + prompts({}, 1) + m, 0},
    {"bad_fourth_answer_keeps_earlier_ones", "i\n6\n11\n5000\nabc\ni\n\n\n\nq\nx\n",
     prompts({}, 4) + m + prompts(fields{.h = "  6.00", .b = " 11.00", .vol = "      5000"}, 4) + m,
     0},
    {"only_first_64_characters_count", "i\n" + std::string(64, ' ') + "3\nq\ni\nq\nx\n",
     prompts({}, 2) + m + prompts({}, 1) + m, 0},
    // An answer of blanks and tabs keeps the value like an empty one.
    {"tab_answer_keeps_value", "i\n\t\n \t \n\t\n\t\n\t\n\t\n\t\nx\n", first + init + m, 0},
    // A decimal point without digits abandons the pass and keeps the value.
    {"lone_point_keeps_value", "i\n.\ni\nq\nx\n", prompts({}, 1) + m + prompts({}, 1) + m, 0},
    {"signed_point_keeps_value", "i\n-.\ni\nq\nx\n", prompts({}, 1) + m + prompts({}, 1) + m, 0},
    {"point_exponent_keeps_value", "i\n.E5\ni\nq\nx\n", prompts({}, 1) + m + prompts({}, 1) + m, 0},
    {"volume_shown_rounded", "i\n\n\n4000.4\nq\ni\n\n\n\nq\nx\n",
     prompts({}, 4) + m + prompts({}, 4) + m, 0},
    {"distance_half_rounds_up", "i\n\n\n\n\n\n99.5\nq\ni\n\n\n\n\n\n\nq\nx\n",
     prompts({}, 7) + m + prompts({}, 7) + m, 0},
    {"negative_half_rounds_away", "i\n\n\n\n\n\n-0.5\nq\ni\n\n\n\n\n\n\nq\nx\n",
     prompts({}, 7) + m + prompts(fields{.x = "    -1"}, 7) + m, 0},
    {"asterisks_for_fields_too_small", "i\n1000\n\nnan\n\n\n1e6\nq\ni\n\n\n\n\n\n\nq\nx\n",
     prompts({}, 7) + m + prompts(fields{.h = "******", .vol = "**********", .x = "******"}, 7) + m,
     0},
    {"distance_too_small_corrected",
     "i\n" + answers({"", "", "", "", "", "5"}) + "i\n" + seven_blank + "x\n",
     first + warning("Distanz von der Bresche zu klein") + m + prompts(fields{.x = "     7"}) +
         result("   12.74", "    7.55", "    1.69", "    4.59") + m,
     0},
    {"distance_too_large_corrected",
     "i\n" + answers({"", "", "", "", "", "500"}) + "i\n" + seven_blank + "x\n",
     prompts({}) + warning("Distanz von der Bresche zu gross") + m + first + init + m, 0},
    {"slope_too_small_corrected",
     "i\n" + answers({"", "", "", "0.1"}) + "i\n" + seven_blank + "x\n",
     prompts({}) + warning("Gefaelle zu klein") + m + prompts(fields{.slp = "  0.25"}) +
         result("    0.29", "    0.95", "    0.30", "    0.35") + m,
     0},
    {"slope_too_large_corrected", "i\n" + answers({"", "", "", "20"}) + "i\n" + seven_blank + "x\n",
     prompts({}) + warning("Gefaelle zu gross") + m + prompts(fields{.slp = " 16.00"}) +
         result("    3.14", "    6.46", "    0.49", "    2.61") + m,
     0},
    {"end_of_input_at_menu", "", "", 2, eof_report(122)},
    {"end_of_input_at_answer", "i\n\n\n\n\n", prompts({}, 5), 2, eof_report(195)},
    {"unended_last_answer_is_read", "i\n7", prompts({}, 2), 2, eof_report(174)},
};

// Names the case instead of dumping its bytes.
void PrintTo(const transcript& t, std::ostream* os) {
    *os << t.name;
}

class Transcript : public testing::TestWithParam<transcript> {};

TEST_P(Transcript, ExactBytes) {
    const transcript& t = GetParam();
    session s = run(t.input);
    EXPECT_EQ(s.out, start + t.out);
    EXPECT_EQ(s.err, t.err);
    ASSERT_TRUE(s.exited());
    EXPECT_EQ(s.code(), t.code);
}

INSTANTIATE_TEST_SUITE_P(Sessions, Transcript, testing::ValuesIn(transcripts),
                         [](const auto& i) { return std::string(i.param.name); });

// Splits text into lines at Line ends (the last piece has none).
std::vector<std::string> lines(const std::string& s) {
    std::vector<std::string> r;
    std::size_t a = 0;
    for (std::size_t e; (e = s.find('\n', a)) != std::string::npos; a = e + 1)
        r.push_back(s.substr(a, e - a));
    r.push_back(s.substr(a));
    return r;
}

TEST(Help, TwoPagesWithPauseBetween) {
    // Input ends at the pause: the first page is all that is shown.
    session p = run("h\n");
    ASSERT_EQ(p.out.substr(0, start.size()), start);
    std::string page1 = p.out.substr(start.size());
    EXPECT_EQ(p.err, eof_report(141));
    EXPECT_EQ(p.code(), 2);

    // Text typed at the pause is discarded; help can be repeated.
    session s = run("h\nx\nHilfe\nanything at all\nx");
    ASSERT_EQ(s.code(), 0);
    EXPECT_EQ(s.err, "");
    std::string body = s.out.substr(start.size());
    ASSERT_EQ(body.size() % 2, 0u);
    std::string once = body.substr(0, body.size() / 2);
    EXPECT_EQ(body.substr(body.size() / 2), once);
    ASSERT_EQ(once.substr(0, page1.size()), page1);
    ASSERT_EQ(once.substr(once.size() - m.size()), m);

    // Each line of text is a blank, the text and a Line end; empty lines are
    // bare. The citation, author's and web lines are free text of fixed width
    // (their fixed start, if any, is given).
    struct step {
        std::size_t width;
        const char* text;
        bool whole; // text is the whole line, not just its start
    };
    const step steps[] = {
        {0, "", true},
        {53, "----------------- Hilfetext -------------------------", true},
        {53, "ORVALIS 2D berechnet die Abflussintensitaeten, welche", true},
        {53, "beim Abfluss aus einer Bresche,  beispielsweise  nach", true},
        {53, "einem Dammbruch, auftreten. Das verwendete  Verfahren", true},
        {53, "ist im Detail beschrieben in: \"", false},
        {53, "", false},
        {53, "", false},
        {31, "", false},
        {0, "", true},
        {53, "Das Verfahren  eignet sich zur  Beschreibung von  Ab-", true},
        {53, "fluessen,  welche seitlich nicht begrenzt werden (Ab-", true},
        {53, "fluss auf einer offenen, geneigten Flaeche). Die Aus-", true},
        {51, "breitung ist zweidimensional und achsensymmetrisch.", true},
        {26, "Die freien Parameter sind:", true},
        {44, " (1) Stauhoehe H[m]  (2) Breschenbreite B[m]", true},
        {53, " (3) Speichervolumen Vol[m3]  (4) Sohlengefaelle S[%]", true},
        {45, " (5) Korndurchmesser D[m] als Rauhigkeitsmass", true},
        {0, "", true},
        {36, "Der Standort wird beschrieben durch:", true},
        {33, " (6) Abstand von der Bresche x[m]", true},
        {44, " (7) Abstand von der Mitte des Strahles y[m]", true},
        {0, "", true},
        {17, "Berechnet werden:", true},
        {41, " (8) spezifischer Abfluss q[m2/s] (= v*h)", true},
        {33, " (9) Fliessgeschwindigkeit v[m/s]", true},
        {22, "(10) Abflusstiefe h[m]", true},
        {38, "(11) Energiehoehe he[m] (= h + v*v/2g)", true},
        {0, "", true},
        {46, "", false},
        {47, "Letzte Revision 12-2015  http", false},
        {53, "-----------------------------------------------------", true},
    };
    std::vector<std::string> l = lines(once.substr(0, once.size() - m.size()));
    ASSERT_EQ(l.size(), std::size(steps) + 1);
    for (std::size_t k = 0; k < std::size(steps); ++k) {
        SCOPED_TRACE(k);
        const step& st = steps[k];
        std::string want = st.width ? std::string(" ") + st.text : "";
        if (st.whole)
            EXPECT_EQ(l[k], want);
        else
            EXPECT_EQ(l[k].substr(0, want.size()), want);
        EXPECT_EQ(l[k].size(), st.width ? st.width + 1 : 0);
    }
    EXPECT_EQ(l.back(), "");
    // The first page is steps 1 to 14; the pause writes nothing.
    EXPECT_EQ(lines(page1).size(), 15u);
    EXPECT_EQ(page1.back(), '\n');
}

} // namespace
} // namespace orv::test
