// Options several subcommands take read alike in each: --coords, --threads,
// the breach's --origin, --azimuth and --crs, and the extension of -o in any case.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/command.h"

namespace {

using orv::test::run_orvalis;
using orv::test::scratch_dir;
using orv::test::write_file;

TEST(SharedOptions, ReadAlikeInEveryCommand) {
    const std::string d = scratch_dir();
    write_file(d + "/o.csv", "E,N,id\n2600050,1200000,1\n");
    write_file(d + "/w.csv", "WKT,id\n\"POINT (2600050 1200000)\",1\n");
    write_file(d + "/r.csv", "E,N,H,B,Vol,S,D,azimuth\n2600000,1200000,3,5,2000,4,0.1,90\n");
    write_file(d + "/b.csv", "E,N\n2600050,1200000\n");
    const std::vector<std::string> site = {"-H",       "8",   "-B",       "20",  "--vol",
                                           "60000",    "-S",  "6",        "-D",  "0.1",
                                           "--origin", "2600000,1200000", "--azimuth", "90",
                                           "--crs",    "EPSG:2056"};
    auto with_site = [&](std::vector<std::string> a) {
        a.insert(a.begin() + 2, site.begin(), site.end());
        return a;
    };
    // Each command with --coords in place of COORDS and --threads of THREADS.
    const std::vector<std::vector<std::string>> commands = {
        with_site({"assess", d + "/o.csv", "--coords", "COORDS", "--threads", "THREADS"}),
        with_site({"report", d + "/o.csv", "-o", d + "/x.Pdf", "--coords", "COORDS", "--threads",
                   "THREADS"}),
        {"inventory", d + "/r.csv", "--objects", d + "/w.csv", "--crs", "EPSG:2056", "-o", "-",
         "--coords", "COORDS", "--threads", "THREADS"},
        {"batch", d + "/b.csv", "-o", d + "/b.out.csv", "--origin", "2600000,1200000",
         "--azimuth", "90", "--coords", "COORDS"},
    };
    struct option_case {
        const char *coords, *threads;
        int code;
        const char* err;
    } cases[] = {
        {" E , N ", "1", 0, ""},
        {"E,E", "1", 1, "Option --coords: zwei verschiedene Spaltennamen E,N erwartet: E,E"},
        {"E", "1", 1, "Option --coords: zwei verschiedene Spaltennamen E,N erwartet: E"},
        {"E,N", "-1", 1, "Option --threads: ganze Zahl von 0 bis 256 erwartet: -1"},
    };
    for (const auto& command : commands) {
        for (const option_case& c : cases) {
            std::vector<std::string> a = command;
            bool takes_threads = false;
            for (auto& w : a) {
                if (w == "COORDS") w = c.coords;
                if (w == "THREADS") w = c.threads, takes_threads = true;
            }
            if (!takes_threads && std::string(c.threads) != "1") continue;
            SCOPED_TRACE(a[0] + " --coords '" + c.coords + "' --threads " + c.threads);
            const auto r = run_orvalis(a);
            EXPECT_EQ(r.code(), c.code) << r.err;
            EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        }
    }
}

// --origin, --azimuth and --crs: one reading, one message in map, assess and report.
TEST(SharedOptions, FrameReadAlike) {
    const std::string d = scratch_dir();
    write_file(d + "/o.csv", "E,N,id\n2600050,1200000,1\n");
    const std::vector<std::vector<std::string>> commands = {
        {"map", "--raster", d + "/r.tif"},
        {"assess", d + "/o.csv"},
        {"report", d + "/o.csv", "-o", d + "/r.pdf"},
    };
    struct frame_case {
        const char *origin, *azimuth, *crs;
        const char* err;
    } cases[] = {
        {"1", "90", "EPSG:2056", "Option --origin: zwei Zahlen E,N erwartet: 1"},
        {"2600000,1200000", "x", "EPSG:2056", "Option --azimuth: keine Zahl: x"},
        {"2600000,1200000", "90", "EPSG:abc", "Option --crs: EPSG:NNNN erwartet: EPSG:abc"},
        {"2600000,1200000", "90", "EPSG:99999",
         "Option --crs: unbekanntes Koordinatensystem: EPSG:99999"},
    };
    for (const auto& command : commands) {
        for (const frame_case& c : cases) {
            std::vector<std::string> a = command;
            a.insert(a.end(), {"-H", "8", "-B", "20", "--vol", "60000", "-S", "6", "-D", "0.1",
                               "--origin", c.origin, "--azimuth", c.azimuth, "--crs", c.crs});
            SCOPED_TRACE(a[0] + " " + c.err);
            const auto r = run_orvalis(a);
            EXPECT_EQ(r.code(), 1);
            EXPECT_EQ(r.err, "orvalis " + a[0] + ": " + c.err + "\n");
        }
    }
}

} // namespace
