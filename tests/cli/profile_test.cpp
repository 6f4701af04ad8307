// orvalis profile end to end: samples bit for bit the model's, the CSV to
// a file, bad options and unwritable outputs.
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/number_text.h"
#include "csv/number.h"
#include "model/level.h"
#include "model/point.h"
#include "support/command.h"

namespace {

using orv::test::read_file;
using orv::test::run_orvalis;

// The expected CSV of the samples x = MIN + k STEP at lateral distance y
// (as given) for site p: the model at (x, |y|) written as the batch writes.
std::string expected_csv(const orv::params& p, double min, double max, double step, float y,
                         const std::string& ytext) {
    const orv::site s = orv::make_site(p);
    std::string out = "x,y,q,v,h,he,status,level\n";
    const auto n = static_cast<int>(std::floor((max - min) / step + 1e-9)) + 1;
    for (int k = 0; k < n; ++k) {
        const auto x = static_cast<float>(min + k * step);
        const orv::point_result r = orv::evaluate(s, x, y);
        out += orv::write_real(x);
        out += ",";
        out += ytext;
        for (float v : {r.res.q, r.res.v, r.res.h, r.res.he}) {
            out += ",";
            if (r.st == 0) out += orv::write_real(v);
        }
        const int lv = orv::danger_level(r.st, r.res);
        out += ",";
        out += std::to_string(r.st);
        out += ",";
        if (lv >= 0) out += std::to_string(lv);
        out += "\n";
    }
    return out;
}

TEST(Profile, CsvEqualsPointwise) {
    orv::params p;
    p.h = 4;
    p.vol = 9000;
    const auto r = run_orvalis({"profile", "-H", "4", "--vol", "9000", "-y", "-12.5", "--x",
                                "-2:400", "--step", "0.5", "--csv"});
    ASSERT_EQ(r.code(), 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, expected_csv(p, -2, 400, 0.5, -12.5f, "-12.5"));
    // Every status along the line: above, near, results, beyond.
    for (const char* st : {",5,\n", ",1,\n", ",0,", ",2,\n"})
        EXPECT_NE(r.out.find(st), std::string::npos) << st;
}

// The automatic range and step: from 0, about 1000 samples of a readable
// step, just past the end of the tables; to a file with -o.
TEST(Profile, AutomaticRangeToFile) {
    const std::string d = orv::test::scratch_dir();
    const auto r = run_orvalis({"profile", "--csv", "-o", d + "/p.csv"});
    ASSERT_EQ(r.code(), 0) << r.err;
    EXPECT_EQ(r.out, "");
    const std::string csv = read_file(d + "/p.csv");
    std::istringstream in(csv);
    std::string line, last;
    int rows = -1;
    while (std::getline(in, line)) ++rows, last = line;
    EXPECT_GT(rows, 1000);
    EXPECT_LT(rows, 1300);
    EXPECT_EQ(csv.substr(0, 37), "x,y,q,v,h,he,status,level\n0,0,,,,,5,\n");
    EXPECT_NE(last.find(",2,"), std::string::npos); // the last sample is beyond the tables
    EXPECT_EQ(csv.find("\n0.1,0,"), 36u);
}

struct cli_case {
    std::vector<std::string> args;
    std::string err;
    int code;
};

TEST(Profile, BadOptionsAndOutputs) {
    const std::string d = orv::test::scratch_dir();
    const std::string m = "orvalis profile: ";
    const std::vector<cli_case> cases = {
        {{}, m + "-o DATEI oder --csv angeben\n", 2},
        {{"-o", d + "/p.txt"},
         m + "Option -o: Endung .png, .svg oder .pdf erwartet: " + d + "/p.txt\n",
         2},
        {{"--csv", "--step", "0"}, m + "Option --step: Wert muss groesser als 0 sein: 0\n", 1},
        {{"--csv", "--step", "1e-7"},
         m + "zu viele Punkte (hoechstens 1000000); --step groesser waehlen\n",
         1},
        {{"--csv", "-y", "x"}, m + "Option -y: keine Zahl: x\n", 1},
        {{"--csv", "--x", "3"}, m + "Option --x: MIN:MAX erwartet: 3\n", 1},
        {{"--csv", "-S", "30"},
         m + "Gefaelle zu gross: S = 30 % (korrigierter Wert: S = 16 %; mit --correct wird damit "
             "gerechnet)\n",
         1},
        {{"--csv", "-o", d + "/fehlt/p.csv"},
         m + "-o " + d + "/fehlt/p.csv: nicht schreibbar: Verzeichnis " + d +
             "/fehlt nicht vorhanden\n",
         1},
        {{"-o", d + "/fehlt/p.png"},
         m + "-o " + d + "/fehlt/p.png: nicht schreibbar: Verzeichnis " + d +
             "/fehlt nicht vorhanden\n",
         1},
        {{"--csv", "--bogus"}, "orvalis: unbekannte Option --bogus\n", 2},
        {{"--csv", "--digits", "2"}, "orvalis: unbekannte Option --digits\n", 2},
        {{"--csv", "-o", ""}, "orvalis: Option -o: leerer Wert\n", 1},
    };
    for (const cli_case& c : cases) {
        std::vector<std::string> args = {"profile"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        SCOPED_TRACE(args.size() > 1 ? args[1] : "");
        const auto r = run_orvalis(args);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.code(), c.code);
        EXPECT_TRUE(std::filesystem::is_empty(d));
    }
}

// --correct computes with the corrected slope and says so.
TEST(Profile, CorrectedSlope) {
    orv::params p;
    p.slp = 16;
    const auto r =
        run_orvalis({"profile", "-S", "30", "--correct", "--csv", "--x", "0:50", "--step", "5"});
    EXPECT_EQ(r.code(), 0);
    EXPECT_EQ(r.err, "orvalis profile: Gefaelle zu gross, korrigierter Wert: S = 16 %\n");
    EXPECT_EQ(r.out, expected_csv(p, 0, 50, 5, 0, "0"));
}

} // namespace
