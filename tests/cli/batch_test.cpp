// orvalis batch end to end: exact output bytes, messages and exit statuses,
// results equal to the model's bits, output files replaced in one step.
#include <sys/stat.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/number_text.h"
#include "csv/number.h"
#include "model/level.h"
#include "model/point.h"
#include "support/command.h"
#include "support/csv_text.h"
#include "support/random_params.h"

namespace {

using orv::test::read_file;
using orv::test::run_orvalis;
using orv::test::write_file;

const std::string names = ",q,v,h,he,status,level";

// The six added fields the model gives for (x, y) at site p, written
// independently of the program: d before each, dec in the numbers.
std::string tail(const orv::params& p, float x, float y, char d = ',', char dec = '.',
                 int digits = -1) {
    const auto r = orv::evaluate(orv::make_site(p), x, y);
    std::string s;
    for (float v : {r.res.q, r.res.v, r.res.h, r.res.he})
        s += d + (r.st == 0 ? orv::write_real(v, dec, digits) : std::string());
    s += d + std::to_string(r.st) + d;
    const int lv = orv::danger_level(r.st, r.res);
    if (lv != orv::no_level) s += std::to_string(lv);
    return s;
}

std::string tail(float x, float y, char d = ',', char dec = '.', int digits = -1) {
    return tail(orv::params{}, x, y, d, dec, digits);
}

// A site other than the initial values.
orv::params site6() {
    orv::params p;
    p.h = 6, p.b = 12, p.vol = 5000, p.slp = 2, p.dm = 0.2f;
    return p;
}

struct batch_case {
    const char* what;
    std::vector<std::string> args;
    std::string in, out, err;
    int code;
};

// Runs each case with the input on standard input.
void run_cases(const std::vector<batch_case>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args = {"batch"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto r = run_orvalis(args, c.in);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.code(), c.code);
    }
}

TEST(Batch, CsvForms) {
    const std::string bom = "\xEF\xBB\xBF";
    run_cases({
        {"plain", {}, "x,y\n100,0\n", "x,y" + names + "\n100,0" + tail(100, 0) + "\n", "", 0},
        {"negative y, warnings, not downstream",
         {},
         "x,y\n50,-20\n5,0\n1000,0\n0,3\n-3,2\n",
         "x,y" + names + "\n50,-20" + tail(50, 20) + "\n5,0" + tail(5, 0) + "\n1000,0" +
             tail(1000, 0) + "\n0,3,,,,,5,\n-3,2,,,,,5,\n",
         "",
         0},
        {"byte-order mark, semicolons, decimal comma, CR LF",
         {},
         bom + "x;y\r\n100;0\r\n20,5;-3\r\n",
         bom + "x;y;q;v;h;he;status;level\r\n100;0" + tail(100, 0, ';', ',') + "\r\n20,5;-3" +
             tail(20.5f, 3, ';', ',') + "\r\n",
         "",
         0},
        {"quotes, a line end inside quotes, bytes not UTF-8",
         {},
         "Name,x,y\n\"a,b\",100,0\n\"multi\nline\",50,\"-20\"\n\"q\"\"\xff\",\" 30 \",4\n",
         "Name,x,y" + names + "\n\"a,b\",100,0" + tail(100, 0) + "\n\"multi\nline\",50,\"-20\"" +
             tail(50, 20) + "\n\"q\"\"\xff\",\" 30 \",4" + tail(30, 4) + "\n",
         "",
         0},
        {"empty lines stay, delimiters only get empty columns",
         {},
         "x,y\n\n100,0\n,\n\r\n",
         "x,y" + names + "\n\n100,0" + tail(100, 0) + "\n,,,,,,,\n\r\n",
         "",
         0},
        {"last line without a line end",
         {},
         "x,y\n100,0",
         "x,y" + names + "\n100,0" + tail(100, 0),
         "",
         0},
        {"tab",
         {},
         "x\ty\n100\t0\n",
         "x\ty\tq\tv\th\the\tstatus\tlevel\n100\t0" + tail(100, 0, '\t') + "\n",
         "",
         0},
        {"header only", {}, "x,y\n", "x,y" + names + "\n", "", 0},
        {"header only, no line end", {}, "x", "x" + names, "", 0},
        {"no site column: options, else initial values",
         {"-H", "6", "-B", "12", "--vol", "5000", "-S", "2", "-D", "0.2", "-x", "50"},
         "id,y\n1,3\n",
         "id,y" + names + "\n1,3" + tail(site6(), 50, 3) + "\n",
         "",
         0},
        {"site columns; Vol in any case; h is not H",
         {},
         "H,B,VOL,S,D,x,y,h\n6,12,5000,2,0.2,50,3,1\n5,10,4000,1,0.15,100,0,9\n",
         "H,B,VOL,S,D,x,y,h" + names + "\n6,12,5000,2,0.2,50,3,1" + tail(site6(), 50, 3) +
             "\n5,10,4000,1,0.15,100,0,9" + tail(100, 0) + "\n",
         "",
         0},
        {"a column and its option: an error",
         {"-H", "6"},
         "x,H\n100,5\n",
         "",
         "orvalis batch: Standardeingabe, Zeile 1: Spalte 2 (H) und Option -H geben beide H an; "
         "Option -H weglassen oder --prefer options angeben\n",
         1},
        {"--prefer options: the option wins, its column is not read",
         {"-x", "7", "--prefer", "options"},
         "x\nnone\n",
         "x" + names + "\nnone" + tail(7, 0) + "\n",
         "",
         0},
        {"digits and levels",
         {"--digits", "2", "--levels", "0.1,0.2,0.3"},
         "x\n100\n",
         "x" + names + "\n100,0.51,1.61,0.32,0.45,0,3\n",
         "",
         0},
        {"delimiter and decimal given",
         {"--delimiter", ";", "--decimal", "."},
         "a,b;x\n7,5;1.5e2\n",
         "a,b;x;q;v;h;he;status;level\n7,5;1.5e2" + tail(150, 0, ';') + "\n",
         "",
         0},
    });
}

TEST(Batch, BadInput) {
    const std::string head = "x,y" + names + "\n";
    const std::string at = "orvalis batch: Standardeingabe, Zeile ";
    run_cases({
        {"not a number", {}, "x,y\n100,abc\n", head, at + "2, Spalte 2 (y): keine Zahl: abc\n", 1},
        {"empty cell",
         {},
         "x,y\n100,0\n100,\n",
         head + "100,0" + tail(100, 0) + "\n",
         at + "3, Spalte 2 (y): leer, keine Zahl\n",
         1},
        {"decimal point with semicolons",
         {},
         "x;y\n1.5;0\n",
         "x;y;q;v;h;he;status;level\n",
         at + "2, Spalte 1 (x): keine Zahl: 1.5\n",
         1},
        {"too few fields",
         {},
         "x,n,y\n100,a\n",
         "x,n,y" + names + "\n",
         at + "2, Spalte 3 (y): Feld fehlt, die Zeile hat 2 von 3 Feldern\n",
         1},
        {"too many fields",
         {},
         "x,y\n100,0,1\n",
         head,
         at + "2, Spalte 3: ueberzaehliges Feld, die Kopfzeile hat 2 Spalten\n",
         1},
        {"H not > 0",
         {},
         "H,x\n0,100\n",
         "H,x" + names + "\n",
         at + "2, Spalte 1 (H): Wert muss groesser als 0 sein: 0\n",
         1},
        {"no column of the model; a near miss",
         {},
         std::string("X,y\0,\xEF\xBB\xBFH\n100,0,5\n", 18),
         "",
         at + "1: keine Spalte erkannt; gefunden: \"X\", \"y?\", \"\xEF\xBB\xBFH\"; erwartet: "
              "H, B, Vol, S, D, x, y; Spalte 1 (X): gemeint ist x?; Spalte 2 (y?): gemeint ist "
              "y?; Spalte 3 (\xEF\xBB\xBFH): gemeint ist H?\n",
         1},
        {"a near miss only where the whole name folds to the model's",
         {},
         "hx,V o'L,y2\n1,2,3\n",
         "",
         at + "1: keine Spalte erkannt; gefunden: \"hx\", \"V o'L\", \"y2\"; erwartet: H, B, "
              "Vol, S, D, x, y; Spalte 2 (V o'L): gemeint ist Vol?\n",
         1},
        {"a comma file read with semicolons",
         {"--delimiter", ";"},
         "x,y\n100,0\n",
         "",
         at + "1: keine Spalte erkannt; gefunden: \"x,y\"; erwartet: H, B, Vol, S, D, x, y; "
              "Trennzeichen pruefen (--delimiter)\n",
         1},
        {"site columns without x, y, -x or -y",
         {},
         "H\n5\n",
         "",
         at + "1: keine Spalte x oder y und weder -x noch -y angegeben; gefunden: \"H\"; "
              "erwartet: H, B, Vol, S, D, x, y\n",
         1},
        {"UTF-16 with its byte-order mark",
         {},
         std::string("\xFF\xFEx\0,\0y\0", 8),
         "",
         "orvalis batch: Standardeingabe: in UTF-16 kodiert; bitte als UTF-8 (oder ASCII) "
         "speichern\n",
         1},
        {"Vol negative",
         {"-x", "100"},
         "vol\n-1\n",
         "vol" + names + "\n",
         at + "2, Spalte 1 (vol): Wert muss groesser als 0 sein: -1\n",
         1},
        {"D not finite",
         {"-x", "100"},
         "D\ninf\n",
         "D" + names + "\n",
         at + "2, Spalte 1 (D): Wert muss endlich sein: inf\n",
         1},
        {"x not a number: nan",
         {},
         "x\nnan\n",
         "x" + names + "\n",
         at + "2, Spalte 1 (x): Wert muss endlich sein: nan\n",
         1},
        {"S huge",
         {"-x", "100"},
         "S\n1e39\n",
         "S" + names + "\n",
         at + "2, Spalte 1 (S): Wert muss endlich sein: 1e39\n",
         1},
        {"text after quotes",
         {},
         "x,y\n\"1\"0,2\n",
         head,
         at + "2, Spalte 1 (x): fehlerhafte Anfuehrungszeichen: 10\n",
         1},
        {"number too long",
         {},
         "x\n" + std::string(600, '1') + "\n",
         "x" + names + "\n",
         at + "2, Spalte 1 (x): Zahl zu lang: " + std::string(40, '1') + "...\n",
         1},
        {"quotes not closed",
         {},
         "x,y,n\n1,2,\"abc\n",
         "x,y,n" + names + "\n",
         at + "2, Spalte 3 (n): Anfuehrungszeichen nicht geschlossen\n",
         1},
        {"physical line after a quoted line end",
         {},
         "n,x\n\"a\nb\",abc\n",
         "n,x" + names + "\n",
         at + "3, Spalte 2 (x): keine Zahl: abc\n",
         1},
        {"two columns for x",
         {},
         "x,y,x\n",
         "",
         at + "1: Spalte 1 (x) und Spalte 3 (x) geben beide x an\n",
         1},
        {"Vol twice",
         {},
         "Vol,y,VOL\n1,2,3\n",
         "",
         at + "1: Spalte 1 (Vol) und Spalte 3 (VOL) geben beide Vol an\n",
         1},
        {"empty input",
         {},
         "",
         "",
         "orvalis batch: Standardeingabe: keine Kopfzeile, die Eingabe ist leer\n",
         1},
        {"byte-order mark only",
         {},
         "\xEF\xBB\xBF",
         "",
         "orvalis batch: Standardeingabe: keine Kopfzeile, die Eingabe ist leer\n",
         1},
        {"empty header", {}, "\nx\n", "", at + "1: Kopfzeile ist leer\n", 1},
        {"comma for both",
         {"--decimal", ","},
         "x,y\n1,2\n",
         "",
         "orvalis batch: Trennzeichen und Dezimalzeichen sind beide ','\n",
         2},
        {"comma for both, given",
         {"--delimiter", ",", "--decimal", ","},
         "",
         "",
         "orvalis batch: Trennzeichen und Dezimalzeichen sind beide ','\n",
         2},
        {"N missing",
         {"--origin", "0,0", "--azimuth", "10"},
         "E,x\n",
         "",
         at + "1: Spalte N fehlt (Weltkoordinaten mit --origin)\n",
         1},
        {"point out of range",
         {"--origin", "0,0", "--azimuth", "10"},
         "E,N\n1e300,0\n",
         "E,N,x_jet,y_jet" + names + "\n",
         at + "2, Spalte 1 (E): Punkt zu weit vom Ursprung (--origin)\n",
         1},
        // Options: bad values exit 1, a malformed command line 2.
        {"-H 0",
         {"-H", "0"},
         "x\n",
         "",
         "orvalis batch: Option -H: Wert muss groesser als 0 sein: 0\n",
         1},
        {"--digits",
         {"--digits", "31"},
         "x\n",
         "",
         "orvalis batch: Option --digits: ganze Zahl von 0 bis 30 erwartet: 31\n",
         1},
        {"--levels",
         {"--levels", "1,1,2"},
         "x\n",
         "",
         "orvalis batch: Option --levels: drei aufsteigende positive Zahlen erwartet (z. B. "
         "0.5,1,2): 1,1,2\n",
         1},
        {"--delimiter",
         {"--delimiter", "|"},
         "x\n",
         "",
         "orvalis batch: Option --delimiter: ';', ',' oder tab erwartet: |\n",
         1},
        {"--decimal",
         {"--decimal", ";"},
         "x\n",
         "",
         "orvalis batch: Option --decimal: '.' oder ',' erwartet: ;\n",
         1},
        {"--origin one number",
         {"--origin", "5", "--azimuth", "0"},
         "x\n",
         "",
         "orvalis batch: Option --origin: zwei Zahlen E,N erwartet: 5\n",
         1},
        {"--origin not a number",
         {"--origin", "5,a", "--azimuth", "0"},
         "x\n",
         "",
         "orvalis batch: Option --origin: zwei Zahlen E,N erwartet, keine Zahl: 5,a\n",
         1},
        {"--azimuth",
         {"--origin", "5,6", "--azimuth", "inf"},
         "x\n",
         "",
         "orvalis batch: Option --azimuth: Wert muss endlich sein: inf\n",
         1},
        {"--coords",
         {"--origin", "5,6", "--azimuth", "0", "--coords", "E,E"},
         "x\n",
         "",
         "orvalis batch: Option --coords: zwei verschiedene Spaltennamen E,N erwartet: E,E\n",
         1},
        {"--origin alone",
         {"--origin", "5,6"},
         "x\n",
         "",
         "orvalis: --origin braucht --azimuth\n",
         2},
        {"--origin and -x",
         {"--origin", "5,6", "--azimuth", "1", "-x", "3"},
         "x\n",
         "",
         "orvalis: -x schliesst --origin aus\n",
         2},
        {"--coords alone",
         {"--coords", "a,b"},
         "x\n",
         "",
         "orvalis: --coords braucht --origin\n",
         2},
        {"two files", {"a", "b"}, "x\n", "", "orvalis: unerwartetes Argument: b\n", 2},
        {"empty output name", {"-o", ""}, "x\n", "", "orvalis: Option --output: leerer Wert\n", 1},
        {"no such file",
         {"/nonexistent/in.csv"},
         "",
         "",
         "orvalis batch: /nonexistent/in.csv: nicht lesbar: Datei oder Verzeichnis nicht "
         "vorhanden\n",
         1},
    });
}

TEST(Batch, KeepGoing) {
    const std::string at = "orvalis batch: Standardeingabe, Zeile ";
    run_cases({
        {"invalid rows written, run goes on, status 3",
         {"--keep-going"},
         "x,y\n100,abc\n7,8,9\n\n8\n100,0\n\"5\n",
         "x,y" + names + "\n100,abc,,,,,invalid,\n7,8,9,,,,,invalid,\n\n8,,,,,invalid,\n100,0" +
             tail(100, 0) + "\n\"5,,,,,invalid,\n",
         at + "2, Spalte 2 (y): keine Zahl: abc\n" + at +
             "3, Spalte 3: ueberzaehliges Feld, die Kopfzeile hat 2 Spalten\n" + at +
             "5, Spalte 2 (y): Feld fehlt, die Zeile hat 1 von 2 Feldern\n" + at +
             "7, Spalte 1 (x): Anfuehrungszeichen nicht geschlossen\n",
         3},
        {"world coordinates: invalid rows keep their place",
         {"--keep-going", "--origin", "0,0", "--azimuth", "90"},
         "E;N\n1;x\n",
         "E;N;x_jet;y_jet;q;v;h;he;status;level\n1;x;;;;;;;invalid;\n",
         at + "2, Spalte 2 (N): keine Zahl: x\n",
         3},
        {"summary",
         {"--keep-going", "--summary"},
         "x\n100\n5\n1000\n-1\nz\n\n,\n",
         "x" + names + "\n100" + tail(100, 0) + "\n5" + tail(5, 0) + "\n1000" + tail(1000, 0) +
             "\n-1,,,,,5,\nz,,,,,invalid,\n\n,,,,,,,\n",
         at + "6, Spalte 1 (x): keine Zahl: z\n"
              "orvalis batch: 7 Zeilen; Status 0: 1, 1: 1, 2: 1, 3: 0, 4: 0, 5: 1; ungueltig: 1; "
              "leer: 2 (Status 1 = zu nah an der Bresche; Status 1 bis 5: nicht berechnet, nicht "
              "\"keine Gefahr\")\n",
         3},
        {"summary of a clean run",
         {"--summary"},
         "x\n100\n",
         "x" + names + "\n100" + tail(100, 0) + "\n",
         "orvalis batch: 1 Zeile; Status 0: 1, 1: 0, 2: 0, 3: 0, 4: 0, 5: 0; ungueltig: 0; "
         "leer: 0 (Status 1 = zu nah an der Bresche; Status 1 bis 5: nicht berechnet, nicht "
         "\"keine Gefahr\")\n",
         0},
    });
}

// The fields of an output line without quotes.
std::vector<std::string> split(const std::string& line, char d = ',') {
    std::vector<std::string> f(1);
    for (char c : line) {
        if (c == d)
            f.emplace_back();
        else
            f.back() += c;
    }
    return f;
}

const auto lines = orv::test::text_lines;

// Checks the last six fields of a row against the model at (x, y) of p.
void expect_model(const std::vector<std::string>& f, const orv::params& p, float x, float y) {
    const auto want = orv::evaluate(orv::make_site(p), x, y);
    const std::size_t n = f.size();
    ASSERT_GE(n, 6u);
    EXPECT_EQ(f[n - 2], std::to_string(want.st));
    const int lv = orv::danger_level(want.st, want.res);
    EXPECT_EQ(f[n - 1], lv == orv::no_level ? "" : std::to_string(lv));
    const float w[] = {want.res.q, want.res.v, want.res.h, want.res.he};
    for (int k = 0; k < 4; ++k) {
        if (want.st != 0) {
            EXPECT_EQ(f[n - 6 + k], "");
            continue;
        }
        const auto r = orv::read_real(f[n - 6 + k]);
        ASSERT_TRUE(r.ok()) << f[n - 6 + k];
        EXPECT_EQ(orv::test::bits(r.value), orv::test::bits(w[k])) << k;
    }
}

// The calculator's examples and random usable points (warnings, negative
// y, x <= 0), with the site in columns: every result is the model's, bit
// for bit. Enough rows to fill several chunks on both threads.
TEST(Batch, EqualsModelBits) {
    std::vector<orv::params> ps;
    orv::params p;
    ps.push_back(p);
    for (float x : {5.0f, 1000.0f, 7.0710678f, 0.0f, -3.0f}) p.x1 = x, ps.push_back(p);
    p = {}, p.slp = 0.1f, ps.push_back(p);
    p = {}, p.slp = 20, p.x1 = 5, ps.push_back(p);
    p = {}, p.vol = 40, ps.push_back(p);
    p = {}, p.y1 = -20, ps.push_back(p);
    orv::test::random_params rnd(13);
    while (ps.size() < 30000) {
        p = rnd();
        if (!(p.h > 0 && p.b > 0 && p.vol > 0 && p.dm > 0) || !std::isfinite(p.h) ||
            !std::isfinite(p.b) || !std::isfinite(p.vol) || !std::isfinite(p.dm) ||
            !std::isfinite(p.slp) || !std::isfinite(p.x1) || !std::isfinite(p.y1))
            continue;
        if (ps.size() % 11 == 0) p.x1 = -p.x1;
        // Runs of rows on one site, as files of many points have.
        if (ps.size() % 3 != 0) {
            const orv::params& q = ps.back();
            p.h = q.h, p.b = q.b, p.vol = q.vol, p.slp = q.slp, p.dm = q.dm;
        }
        ps.push_back(p);
    }
    std::string in = "H,B,Vol,S,D,x,y\n";
    for (const auto& q : ps) {
        for (float v : {q.h, q.b, q.vol, q.slp, q.dm, q.x1}) in += orv::write_real(v) + ",";
        in += orv::write_real(q.y1) + "\n";
    }
    const auto r = run_orvalis({"batch"}, in);
    ASSERT_EQ(r.code(), 0) << r.err;
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), ps.size() + 1);
    int computed = 0;
    for (std::size_t k = 0; k < ps.size(); ++k) {
        SCOPED_TRACE(out[k + 1]);
        const auto f = split(out[k + 1]);
        ASSERT_EQ(f.size(), 13u);
        expect_model(f, ps[k], ps[k].x1, ps[k].y1);
        computed += f[11] == "0";
        if (HasFailure()) return;
    }
    EXPECT_GT(computed, 1000);
}

// A result file read again gives the same results: its h, the flow depth,
// is not taken for H, and its results are copied as they were.
TEST(Batch, ResultFileReadAgain) {
    const std::string in = "H,B,Vol,S,D,x,y\n6,12,5000,2,0.2,50,3\n5,10,4000,1,0.15,100,-7\n"
                           "5,10,4000,1,0.15,5,0\n";
    const auto first = run_orvalis({"batch"}, in);
    ASSERT_EQ(first.code(), 0) << first.err;
    const auto second = run_orvalis({"batch"}, first.out);
    ASSERT_EQ(second.code(), 0) << second.err;
    const auto a = lines(first.out), b = lines(second.out);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(b[0], a[0] + names);
    for (std::size_t k = 1; k < a.size(); ++k) {
        // The second run appends what the first appended.
        std::size_t at = a[k].size();
        for (int j = 0; j < 6; ++j) at = a[k].rfind(',', at - 1);
        EXPECT_EQ(b[k], a[k] + a[k].substr(at));
        const auto fa = split(a[k]), fb = split(b[k]);
        ASSERT_EQ(fb.size(), fa.size() + 6);
        for (int j = 0; j < 6; ++j) EXPECT_EQ(fb[fa.size() + j], fa[fa.size() - 6 + j]);
    }
}

// World coordinates with directions that are not multiples of 90 degrees:
// x_jet and y_jet are the formula's values rounded to Reals, the results
// the model's at (x_jet, |y_jet|).
TEST(Batch, WorldCoordinates) {
    struct world_case {
        double e0, n0, deg;
        std::vector<std::pair<double, double>> pts;
    };
    const std::vector<world_case> cases = {
        {2600000.5,
         1200000.25,
         33.3,
         {{2600060.5, 1200080}, {2600010, 1199990}, {2600000.5, 1200000.25}}},
        {0, 0, 247.5, {{-40, -30}, {-100, 10}, {5, 5}}},
        {-12.5, 7, -400, {{30, 60}, {-50, 90.125}}},
    };
    for (const auto& c : cases) {
        char e0[64], n0[64], deg[64];
        std::snprintf(e0, sizeof e0, "%.17g", c.e0);
        std::snprintf(n0, sizeof n0, "%.17g", c.n0);
        std::snprintf(deg, sizeof deg, "%.17g", c.deg);
        std::string in = "Nord;Ost\n";
        for (const auto& [e, n] : c.pts) {
            char buf[128];
            std::snprintf(buf, sizeof buf, "%.17g;%.17g\n", n, e);
            std::string row = buf;
            for (char& ch : row)
                if (ch == '.') ch = ',';
            in += row;
        }
        const auto r = run_orvalis({"batch", "--origin", std::string(e0) + "," + n0, "--azimuth",
                                    deg, "--coords", "Ost,Nord"},
                                   in);
        ASSERT_EQ(r.code(), 0) << r.err;
        const auto out = lines(r.out);
        ASSERT_EQ(out.size(), c.pts.size() + 1);
        EXPECT_EQ(out[0], "Nord;Ost;x_jet;y_jet;q;v;h;he;status;level");
        const double a = c.deg * (std::numbers::pi / 180);
        for (std::size_t k = 0; k < c.pts.size(); ++k) {
            SCOPED_TRACE(out[k + 1]);
            const double de = c.pts[k].first - c.e0, dn = c.pts[k].second - c.n0;
            const float x = static_cast<float>(de * std::sin(a) + dn * std::cos(a));
            const float y = static_cast<float>(dn * std::sin(a) - de * std::cos(a));
            const auto f = split(out[k + 1], ';');
            ASSERT_EQ(f.size(), 10u);
            EXPECT_EQ(orv::test::bits(orv::read_real(f[2], ',').value), orv::test::bits(x));
            EXPECT_EQ(orv::test::bits(orv::read_real(f[3], ',').value), orv::test::bits(y));
            std::vector<std::string> g(f.begin(), f.end());
            for (auto& s : g)
                for (char& ch : s)
                    if (ch == ',') ch = '.';
            expect_model(g, orv::params{}, x, y);
        }
    }
}

// Runs a shell command with the built program's path in $ORV.
orv::test::run_result shell(const std::string& cmd, const std::string& dir) {
    return orv::test::run_program("/bin/sh", {"sh", "-c", "ORV='" ORVALIS_BINARY "'; " + cmd}, {},
                                  dir);
}

// The names in a directory.
std::vector<std::string> listing(const std::string& dir) {
    std::vector<std::string> v;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        v.push_back(e.path().filename().string());
    std::sort(v.begin(), v.end());
    return v;
}

TEST(Batch, OutputFile) {
    const std::string dir = orv::test::scratch_dir();
    write_file(dir + "/in.csv", "x,y\n100,0\n");
    write_file(dir + "/bad.csv", "x,y\n100,0\n1,a\n");
    write_file(dir + "/out.csv", "old\n");
    chmod((dir + "/out.csv").c_str(), 0640);
    const std::string good = "x,y" + names + "\n100,0" + tail(100, 0) + "\n";

    // A failed run leaves the old file as it was and no temporary file.
    auto r = run_orvalis({"batch", "bad.csv", "-o", "out.csv"}, {}, dir);
    EXPECT_EQ(r.code(), 1);
    EXPECT_EQ(r.err, "orvalis batch: bad.csv, Zeile 3, Spalte 2 (y): keine Zahl: a\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(read_file(dir + "/out.csv"), "old\n");
    EXPECT_EQ(listing(dir), (std::vector<std::string>{"bad.csv", "in.csv", "out.csv"}));

    // A good run replaces it, keeping its permissions.
    r = run_orvalis({"batch", "in.csv", "-o", "out.csv"}, {}, dir);
    EXPECT_EQ(r.code(), 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(read_file(dir + "/out.csv"), good);
    struct stat st;
    ASSERT_EQ(stat((dir + "/out.csv").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(listing(dir), (std::vector<std::string>{"bad.csv", "in.csv", "out.csv"}));

    // The input may be the output; a new file comes into being only at the end.
    r = run_orvalis({"batch", "in.csv", "-o", "in.csv"}, {}, dir);
    EXPECT_EQ(r.code(), 0) << r.err;
    EXPECT_EQ(read_file(dir + "/in.csv"), good);
    r = run_orvalis({"batch", "bad.csv", "-o", "new.csv"}, {}, dir);
    EXPECT_EQ(r.code(), 1);
    EXPECT_EQ(listing(dir), (std::vector<std::string>{"bad.csv", "in.csv", "out.csv"}));
    r = run_orvalis({"batch", "-o", "new.csv", "-"}, "x\n100\n", dir);
    EXPECT_EQ(r.code(), 0) << r.err;
    EXPECT_EQ(read_file(dir + "/new.csv"), "x" + names + "\n100" + tail(100, 0) + "\n");

    // Unwritable places and full devices.
    r = run_orvalis({"batch", "in.csv", "-o", "no/such/dir.csv"}, {}, dir);
    EXPECT_EQ(r.code(), 1);
    EXPECT_EQ(r.err, "orvalis batch: no/such/dir.csv: nicht schreibbar: Verzeichnis no/such "
                     "nicht vorhanden\n");
    r = run_orvalis({"batch", "in.csv", "-o", "/dev/full"}, {}, dir);
    EXPECT_EQ(r.code(), 1);
    EXPECT_EQ(r.err, "orvalis batch: /dev/full: nicht schreibbar: kein Platz mehr auf dem "
                     "Datentraeger\n");
    r = shell("\"$ORV\" batch in.csv >/dev/full", dir);
    EXPECT_EQ(r.code(), 1);
    EXPECT_EQ(r.err, "orvalis batch: Standardausgabe: nicht schreibbar: kein Platz mehr auf dem "
                     "Datentraeger\n");
    // A file size limit stops the writes half-way: the file is removed.
    std::string big = "x\n";
    for (int k = 0; k < 20000; ++k) big += "100\n";
    write_file(dir + "/big.csv", big);
    r = shell("ulimit -f 64; trap '' XFSZ; exec \"$ORV\" batch big.csv -o huge.csv", dir);
    EXPECT_EQ(r.code(), 1);
    EXPECT_EQ(r.err, "orvalis batch: huge.csv: nicht schreibbar: Datei zu gross\n");
    EXPECT_EQ(listing(dir),
              (std::vector<std::string>{"bad.csv", "big.csv", "in.csv", "new.csv", "out.csv"}));
}

// A reader that goes away ends the program quietly by SIGPIPE; a signal
// that ends the run removes the temporary file.
TEST(Batch, Signals) {
    const std::string dir = orv::test::scratch_dir();
    std::string big = "x\n";
    for (int k = 0; k < 200000; ++k) big += "100\n";
    write_file(dir + "/big.csv", big);
    auto r = shell("{ \"$ORV\" batch big.csv; echo $? >&2; } | head -c 10 >/dev/null", dir);
    EXPECT_EQ(r.err, "141\n");
    // The temporary file is there before the signal and gone after it.
    r = shell("mkfifo in; \"$ORV\" batch in -o out.csv & pid=$!; exec 3>in; echo x >&3; "
              "for i in $(seq 100); do ls -A | grep -q '^[.]orv-' && break; sleep 0.05; "
              "done; ls -A | grep -c '^[.]orv-'; kill -TERM $pid; wait $pid; echo $?; "
              "ls -A",
              dir);
    EXPECT_EQ(r.out, "1\n143\nbig.csv\nin\n");
}

// On a terminal: a progress line while rows come slowly, erased at the
// end, then the summary.
TEST(Batch, Terminal) {
    if (access("/usr/bin/script", X_OK) != 0) GTEST_SKIP() << "no script(1)";
    const std::string dir = orv::test::scratch_dir();
    const auto r = orv::test::run_program(
        "/usr/bin/script",
        {"script", "-qec",
         "{ echo x; seq 4100 | sed 's/.*/100/'; sleep 0.7; seq 4100 | sed "
         "'s/.*/100/'; } | ORV_TEST_PROGRESS_MS=1 '" ORVALIS_BINARY "' batch -o out.csv",
         "/dev/null"},
        {}, dir);
    EXPECT_EQ(r.code(), 0);
    EXPECT_NE(r.out.find("\rorvalis batch: 8192 Zeilen ..."), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\r\033[Korvalis batch: 8200 Zeilen; Status 0: 8200,"), std::string::npos)
        << r.out;
}

TEST(Batch, HelpIsGerman) {
    const auto r = run_orvalis({"batch", "--help"});
    EXPECT_EQ(r.code(), 0);
    for (const char* want :
         {"Aufruf: orvalis batch", "--keep-going", "--origin E,N", "Exit-Status"})
        EXPECT_NE(r.out.find(want), std::string::npos) << want;
    EXPECT_EQ(r.out.find("Usage"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("Options"), std::string::npos) << r.out;
}

} // namespace
