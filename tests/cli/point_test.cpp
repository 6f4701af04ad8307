// orvalis point end to end: exact output and exit status, and results equal
// to the model's bits.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/number_text.h"
#include "csv/number.h"
#include "model/intensity.h"
#include "model/level.h"
#include "model/point.h"
#include "support/command.h"
#include "support/csv_text.h"
#include "support/random_params.h"

namespace {

using orv::test::run_orvalis;

struct point_case {
    std::vector<std::string> args;
    std::string out;
    std::string err;
    int code;
};

const std::string initial_text = " >spezifischer Abfluss : 0.5092651 m2/s\n"
                                 " >Fliessgeschwindigkeit: 1.6098896 m/s\n"
                                 " >Abflusstiefe:          0.3163354 m\n"
                                 " >Energiehoehe:          0.44843248 m\n"
                                 " >Status:                0\n"
                                 " >Gefahrenstufe:         1\n";

TEST(Point, TextAndCsv) {
    const std::string hdr = "H,B,Vol,S,D,x,y,q,v,h,he,status,level\n";
    const std::vector<point_case> cases = {
        {{"point"}, initial_text, "", 0},
        {{"point", "-H", "5", "-B", "10", "--vol", "4000", "-S", "1", "-D", "0.15", "-x", "100",
          "-y", "0"},
         initial_text,
         "",
         0},
        {{"point", "-y", "-20", "--digits", "2"},
         " >spezifischer Abfluss : 0.44 m2/s\n >Fliessgeschwindigkeit: 1.50 m/s\n"
         " >Abflusstiefe:          0.29 m\n >Energiehoehe:          0.41 m\n"
         " >Status:                0\n >Gefahrenstufe:         0\n",
         "",
         0},
        {{"point", "--csv"},
         hdr + "5,10,4000,1,0.15,100,0,0.5092651,1.6098896,0.3163354,0.44843248,0,1\n",
         "",
         0},
        {{"point", "--csv", "-x", "5"},
         hdr + "5,10,4000,1,0.15,5,0,,,,,1,\n",
         " Distanz von der Bresche zu klein\n korrigierter Wert: x = 7.071068 m\n",
         0},
        {{"point", "-x", "5"},
         " Distanz von der Bresche zu klein\n korrigierter Wert: x = 7.071068 m\n"
         " >Status:                1\n >Gefahrenstufe:         keine\n",
         "",
         0},
        {{"point", "-x", "1000"},
         " Distanz von der Bresche zu gross\n korrigierter Wert: x = 100 m\n"
         " >Status:                2\n >Gefahrenstufe:         keine\n",
         "",
         0},
        {{"point", "-S", "0.1", "--csv"},
         hdr + "5,10,4000,0.1,0.15,100,0,,,,,3,\n",
         " Gefaelle zu klein\n korrigierter Wert: S = 0.25 %\n",
         0},
        {{"point", "-x", "5", "--correct", "--digits", "2"},
         " Distanz von der Bresche zu klein\n korrigierter Wert: x = 7.071068 m\n"
         " >verwendet:            x = 7.071068 m, S = 1 %\n"
         " >spezifischer Abfluss : 12.74 m2/s\n >Fliessgeschwindigkeit: 7.55 m/s\n"
         " >Abflusstiefe:          1.69 m\n >Energiehoehe:          4.59 m\n"
         " >Status:                0\n >Gefahrenstufe:         3\n",
         "",
         0},
        // Slope first, then the distance: two rounds.
        {{"point", "-S", "20", "-x", "5", "--correct", "--csv", "--digits", "2"},
         "H,B,Vol,S,D,x,y,x_used,S_used,q,v,h,he,status,level\n"
         "5,10,4000,20,0.15,5,0,7.071068,16,13.98,9.02,1.55,5.69,0,3\n",
         " Gefaelle zu gross\n korrigierter Wert: S = 16 %\n"
         " Distanz von der Bresche zu klein\n korrigierter Wert: x = 7.071068 m\n",
         0},
        // The distance stays 100 and the warning repeats: no result, status 1.
        {{"point", "--vol", "40", "--correct"},
         " Distanz von der Bresche zu gross\n korrigierter Wert: x = 100 m\n"
         " >verwendet:            x = 100 m, S = 1 %\n"
         " >Status:                2\n >Gefahrenstufe:         keine\n",
         "",
         1},
        {{"point", "-x", "0"},
         " nicht unterhalb der Bresche\n >Status:                5\n >Gefahrenstufe:         "
         "keine\n",
         "",
         0},
        {{"point", "-x", "-3", "--csv"},
         hdr + "5,10,4000,1,0.15,-3,0,,,,,5,\n",
         " nicht unterhalb der Bresche\n",
         0},
        {{"point", "--levels", "0.1,0.2,0.3", "--csv", "--digits", "1"},
         hdr + "5,10,4000,1,0.15,100,0,0.5,1.6,0.3,0.4,0,3\n",
         "",
         0},
        // Bad values: status 1; a malformed command line: status 2.
        {{"point", "-H", "-5"},
         "",
         "orvalis point: Option -H: Wert muss groesser als 0 sein: -5\n",
         1},
        {{"point", "--vol", "0"},
         "",
         "orvalis point: Option --vol: Wert muss groesser als 0 sein: 0\n",
         1},
        {{"point", "-D", "abc"}, "", "orvalis point: Option -D: keine Zahl: abc\n", 1},
        {{"point", "-x", "inf"}, "", "orvalis point: Option -x: Wert muss endlich sein: inf\n", 1},
        {{"point", "-x", "1,5"},
         "",
         "orvalis point: Option -x: Dezimalpunkt verwenden: 1.5 statt 1,5\n",
         1},
        {{"point", "--levels", "2,1,3"},
         "",
         "orvalis point: Option --levels: drei aufsteigende positive Zahlen erwartet "
         "(z. B. 0.5,1,2): 2,1,3\n",
         1},
        {{"point", "--digits", "x"},
         "",
         "orvalis point: Option --digits: ganze Zahl von 0 bis 30 erwartet: x\n",
         1},
        {{"point", "--bogus"}, "", "orvalis: unbekannte Option --bogus\n", 2},
        {{"point", "-x"}, "", "orvalis: Option -x: Wert fehlt\n", 2},
        {{"point", "-x", "--csv"}, "", "orvalis: Option -x: Wert fehlt\n", 2},
        {{"point", "-x", "", "--csv"}, "", "orvalis: Option -x: leerer Wert\n", 1},
        {{}, "", "orvalis: ein Unterbefehl fehlt (siehe --help)\n", 2},
        {{"punkt"}, "", "orvalis: ein Unterbefehl fehlt (siehe --help)\n", 2},
    };
    for (const auto& c : cases) {
        std::string name;
        for (const auto& a : c.args) name += a + " ";
        SCOPED_TRACE(name);
        const auto r = run_orvalis(c.args);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.code(), c.code);
    }
}

TEST(Point, HelpIsGerman) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"point", "--help"}}) {
        const auto r = run_orvalis(args);
        EXPECT_EQ(r.code(), 0);
        EXPECT_NE(r.out.find("Aufruf: orvalis"), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("Usage"), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("Options"), std::string::npos) << r.out;
    }
    // What an option needs or excludes follows its description, on its line.
    const std::vector<std::pair<std::vector<std::string>, std::string>> lines = {
        {{"map", "--help"}, "statt der Gefahrenstufen eine Groesse zeigen; braucht -o\n"},
        {{"map", "--help"},
         "Bresche in Weltkoordinaten (fuer Raster, Zonen und Bild); braucht --azimuth und --crs\n"},
        {{"batch", "--help"}, "(Vorgabe 100); schliesst aus --origin\n"},
    };
    for (const auto& [args, want] : lines) {
        const std::string out = run_orvalis(args).out;
        const auto at = out.find(want);
        ASSERT_NE(at, std::string::npos) << out;
        const auto start = out.rfind('\n', at) + 1;
        EXPECT_EQ(out.compare(start, 2, "  "), 0) << out;
        EXPECT_NE(out[start + 2], ' ') << out;
    }
}

const auto fields = [](const std::string& l) { return orv::test::csv_fields(l); };

// Random points (warnings, negative y, x <= 0) through the program's CSV
// output and its text display: the numbers read back are the model's bits
// at (x, |y|).
TEST(Point, CsvAndTextEqualModelBits) {
    orv::test::random_params rnd(21);
    for (int i = 0; i < 150; ++i) {
        orv::params p = rnd();
        // The program refuses unusable values; keep the usable ones.
        if (!(p.h > 0 && p.b > 0 && p.vol > 0 && p.dm > 0) || !std::isfinite(p.slp) ||
            !std::isfinite(p.x1) || !std::isfinite(p.y1) || !std::isfinite(p.h) ||
            !std::isfinite(p.b) || !std::isfinite(p.vol) || !std::isfinite(p.dm))
            continue;
        if (i % 9 == 0) p.x1 = -p.x1;
        std::vector<std::string> args = {"point", "--csv"};
        const char* names[] = {"-H", "-B", "--vol", "-S", "-D", "-x", "-y"};
        const float vals[] = {p.h, p.b, p.vol, p.slp, p.dm, p.x1, p.y1};
        for (int k = 0; k < 7; ++k) {
            args.push_back(names[k]);
            args.push_back(orv::write_real(vals[k]));
        }
        const auto r = run_orvalis(args);
        ASSERT_EQ(r.code(), 0) << r.err;
        const auto row =
            fields(r.out.substr(r.out.find('\n') + 1, r.out.size() - r.out.find('\n') - 2));
        ASSERT_EQ(row.size(), 13u) << r.out;
        const auto want = orv::evaluate(p);
        EXPECT_EQ(row[11], std::to_string(want.st)) << r.out;
        if (want.st != 0) continue;
        const float got[] = {orv::read_real(row[7]).value, orv::read_real(row[8]).value,
                             orv::read_real(row[9]).value, orv::read_real(row[10]).value};
        const float exp[] = {want.res.q, want.res.v, want.res.h, want.res.he};
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(orv::test::bits(got[k]), orv::test::bits(exp[k])) << r.out;
        const int lv = orv::danger_level(want.st, want.res);
        EXPECT_EQ(row[12], lv < 0 ? "" : std::to_string(lv));
        // The text display: each value between the label's ": " and its unit.
        args.erase(args.begin() + 1);
        const std::string text = run_orvalis(args).out;
        std::size_t at = 0;
        for (int k = 0; k < 4; ++k) {
            at = text.find_first_not_of(' ', text.find(": ", text.find(" >", at)) + 1);
            const std::string shown = text.substr(at, text.find(' ', at) - at);
            EXPECT_EQ(orv::test::bits(orv::read_real(shown).value), orv::test::bits(exp[k]))
                << text;
        }
    }
}

} // namespace
