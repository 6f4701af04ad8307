// Staged outputs: nothing appears at a target until every output of the run
// is complete, nothing is left behind when a run gives up, and the user's
// links, modes and special files are respected.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "io/output.h"
#include "support/command.h"

namespace {

using orv::io::fault;
using orv::io::output_set;
using orv::io::way;
using orv::test::read_file;
using orv::test::write_file;

// The names in directory d, sorted.
std::vector<std::string> names(const std::string& d) {
    std::vector<std::string> n;
    for (const auto& e : std::filesystem::directory_iterator(d)) n.push_back(e.path().filename());
    std::sort(n.begin(), n.end());
    return n;
}

mode_t mode_of(const std::string& p) {
    struct stat st {};
    stat(p.c_str(), &st);
    return st.st_mode & 07777;
}

// Writes text to output id of a staged set.
void put(output_set& s, std::size_t id, const std::string& text) {
    ASSERT_EQ(orv::io::write_all(s.fd(id), text.data(), text.size()), 0);
}

// A replaced file keeps its mode and a link stays a link; a new file gets
// 0666 less the umask; until the commit the targets are untouched.
TEST(Output, ReplacesThroughLinksKeepingModes) {
    const std::string d = orv::test::scratch_dir();
    write_file(d + "/alt.csv", "alt");
    chmod((d + "/alt.csv").c_str(), 0640);
    symlink("alt.csv", (d + "/link.csv").c_str());
    symlink("noch-nicht.png", (d + "/offen.png").c_str());
    const mode_t mask = umask(022);
    output_set s;
    std::size_t a = 0, b = 0;
    ASSERT_FALSE(s.add("-o", d + "/link.csv", way::stream, a));
    ASSERT_FALSE(s.add("--bild", d + "/offen.png", way::file, b));
    ASSERT_FALSE(s.stage());
    put(s, a, "neu");
    put(s, b, "bild");
    EXPECT_EQ(read_file(d + "/alt.csv"), "alt");
    EXPECT_EQ(names(d).size(), 5u); // two temporary files beside the three
    ASSERT_FALSE(s.commit());
    umask(mask);
    EXPECT_EQ(names(d),
              (std::vector<std::string>{"alt.csv", "link.csv", "noch-nicht.png", "offen.png"}));
    EXPECT_EQ(read_file(d + "/alt.csv"), "neu");
    EXPECT_EQ(mode_of(d + "/alt.csv"), 0640u);
    EXPECT_TRUE(std::filesystem::is_symlink(d + "/link.csv"));
    EXPECT_EQ(read_file(d + "/noch-nicht.png"), "bild");
    EXPECT_EQ(mode_of(d + "/noch-nicht.png"), 0644u);
}

// A failure at any output leaves every target as it was and no temporary
// file, whether it comes when staging or when the run gives up.
TEST(Output, FailureLeavesEverythingAsItWas) {
    const std::string d = orv::test::scratch_dir();
    write_file(d + "/a.csv", "alt");
    std::filesystem::create_directory(d + "/ordner.png");
    struct bad_case {
        std::string path, text;
        fault kind;
    };
    const std::vector<bad_case> cases = {
        {d + "/fehlt/b.tif",
         "--zwei " + d + "/fehlt/b.tif: nicht schreibbar: Verzeichnis " + d +
             "/fehlt nicht vorhanden",
         fault::unwritable},
        {d + "/a.csv/b.tif",
         "--zwei " + d + "/a.csv/b.tif: nicht schreibbar: ein Teil des Pfades ist kein Verzeichnis",
         fault::unwritable},
        {d + "/ordner.png", "--zwei " + d + "/ordner.png: nicht schreibbar: ist ein Verzeichnis",
         fault::unwritable},
        {d + "/../" + std::filesystem::path(d).filename().string() + "/a.csv",
         "--zwei " + d + "/../" + std::filesystem::path(d).filename().string() +
             "/a.csv: dasselbe Ziel wie -o " + d + "/a.csv",
         fault::same_target},
    };
    for (const bad_case& c : cases) {
        SCOPED_TRACE(c.path);
        output_set s;
        std::size_t a = 0, b = 0;
        ASSERT_FALSE(s.add("-o", d + "/a.csv", way::stream, a));
        auto f = s.add("--zwei", c.path, way::dataset, b);
        if (!f) f = s.stage();
        ASSERT_TRUE(f);
        EXPECT_EQ(f->kind, c.kind);
        EXPECT_EQ(f->text, c.text);
    }
    {
        output_set s;
        std::size_t a = 0;
        ASSERT_FALSE(s.add("-o", d + "/a.csv", way::stream, a));
        ASSERT_FALSE(s.stage());
        put(s, a, "halb");
    } // given up
    EXPECT_EQ(names(d), (std::vector<std::string>{"a.csv", "ordner.png"}));
    EXPECT_EQ(read_file(d + "/a.csv"), "alt");
}

// A dataset's sidecars move with it; an existing file of a sidecar's name
// that does not belong to the target stops the commit; the stale sidecars
// of a replaced dataset go.
TEST(Output, DatasetSidecars) {
    const std::string d = orv::test::scratch_dir();
    const auto write_dataset = [&](const std::string& target, bool existed,
                                   std::vector<std::string> own) {
        output_set s;
        std::size_t id = 0;
        EXPECT_FALSE(s.add("--raster", d + "/" + target, way::dataset, id));
        EXPECT_EQ(s.replaces(id), existed);
        s.own_files(id, std::move(own));
        EXPECT_FALSE(s.stage());
        const std::string p = s.path(id);
        write_file(p, "daten");
        write_file(p.substr(0, p.size() - 4) + ".hdr", "kopf");
        return s.commit();
    };
    EXPECT_FALSE(write_dataset("r.bil", false, {}));
    EXPECT_EQ(names(d), (std::vector<std::string>{"r.bil", "r.hdr"}));
    // Replacing it: its own stale sidecar is removed.
    write_file(d + "/r.prj", "alt");
    EXPECT_FALSE(write_dataset("r.bil", true, {d + "/r.bil", d + "/r.hdr", d + "/r.prj"}));
    EXPECT_EQ(names(d), (std::vector<std::string>{"r.bil", "r.hdr"}));
    // A new target beside someone else's file of a sidecar's name.
    write_file(d + "/s.hdr", "fremd");
    const auto f = write_dataset("s.bil", false, {});
    ASSERT_TRUE(f);
    EXPECT_EQ(f->kind, fault::sidecar_exists);
    EXPECT_EQ(f->text,
              "--raster " + d + "/s.bil: " + d + "/s.hdr besteht schon und gehoert nicht dazu");
    EXPECT_EQ(names(d), (std::vector<std::string>{"r.bil", "r.hdr", "s.hdr"}));
    EXPECT_EQ(read_file(d + "/s.hdr"), "fremd");
}

// A folder of files: created whole when it is new, joined when it exists
// (other files kept), refused when a file stands in its place; a discarded
// run leaves neither the folder nor its staging behind.
TEST(Output, FolderOfFiles) {
    const std::string d = orv::test::scratch_dir();
    const auto write_folder = [&](const std::string& target, bool keep) {
        output_set s;
        std::size_t id = 0;
        if (auto f = s.add("--reports", d + "/" + target, way::folder, id)) return f;
        EXPECT_FALSE(s.stage());
        write_file(s.path(id) + "/a.pdf", "neu");
        write_file(s.path(id) + "/b.pdf", "neu");
        if (!keep) {
            s.discard();
            return orv::io::maybe_failure{};
        }
        return s.commit();
    };
    EXPECT_FALSE(write_folder("leer/", false));
    EXPECT_EQ(names(d), std::vector<std::string>{});
    const mode_t mask = umask(022);
    EXPECT_FALSE(write_folder("neu/", true));
    umask(mask);
    EXPECT_EQ(names(d + "/neu"), (std::vector<std::string>{"a.pdf", "b.pdf"}));
    EXPECT_EQ(mode_of(d + "/neu"), 0755u); // not the staging folder's 0700
    std::filesystem::create_directory(d + "/alt");
    write_file(d + "/alt/a.pdf", "alt");
    write_file(d + "/alt/c.pdf", "fremd");
    EXPECT_FALSE(write_folder("alt", true));
    EXPECT_EQ(names(d + "/alt"), (std::vector<std::string>{"a.pdf", "b.pdf", "c.pdf"}));
    EXPECT_EQ(read_file(d + "/alt/a.pdf"), "neu");
    EXPECT_EQ(read_file(d + "/alt/c.pdf"), "fremd");
    write_file(d + "/datei", "x");
    const auto f = write_folder("datei", true);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->kind, fault::unwritable);
    EXPECT_EQ(f->text, "--reports " + d + "/datei: nicht schreibbar: ist kein Verzeichnis");
    EXPECT_EQ(names(d), (std::vector<std::string>{"alt", "datei", "neu"}));
}

// A name as long as a file name may be stays writable: temporary names are
// short and fixed.
TEST(Output, LongestNameIsWritable) {
    const std::string d = orv::test::scratch_dir();
    const std::string name = std::string(251, 'k') + ".csv";
    output_set s;
    std::size_t id = 0;
    ASSERT_FALSE(s.add("", d + "/" + name, way::file, id));
    ASSERT_FALSE(s.stage());
    put(s, id, "x");
    ASSERT_FALSE(s.commit());
    EXPECT_EQ(names(d), std::vector<std::string>{name});
}

// A pipe is written directly by a stream and gets a complete copy of a file
// at the commit; nothing is made beside it.
TEST(Output, PipeTargets) {
    const std::string d = orv::test::scratch_dir();
    for (way w : {way::stream, way::file}) {
        const std::string fifo = d + "/rohr";
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        std::string got;
        std::thread reader([&] { got = read_file(fifo); });
        {
            output_set s;
            std::size_t id = 0;
            ASSERT_FALSE(s.add("-o", fifo, w, id));
            ASSERT_FALSE(s.stage());
            put(s, id, "durch");
            EXPECT_EQ(names(d), std::vector<std::string>{"rohr"});
            ASSERT_FALSE(s.commit());
        }
        reader.join();
        EXPECT_EQ(got, "durch");
        unlink(fifo.c_str());
    }
}

} // namespace

// Two runs writing into one new folder, and a folder that cannot take a
// file: what happens meanwhile between staging and commit. A folder made
// meanwhile is joined; a directory in a file's place, or a file in the
// folder's, stops the commit before anything is renamed, so the -o file
// keeps its old content and nothing of the run is left.
TEST(Output, FolderChangedMeanwhile) {
    const struct {
        const char* name;
        std::function<void(const std::string&)> meanwhile; // given the folder's path
        const char* fails;                                 // a fragment, "" for success
        std::vector<std::string> after;                    // the folder's names
    } cases[] = {
        {"joined",
         [](const std::string& p) {
             std::filesystem::create_directory(p);
             write_file(p + "/c.pdf", "andere");
         },
         "",
         {"a.pdf", "b.pdf", "c.pdf"}},
        {"directory in the way",
         [](const std::string& p) { std::filesystem::create_directories(p + "/b.pdf"); },
         "b.pdf ist ein Verzeichnis",
         {"b.pdf"}},
        {"file in the folder's place",
         [](const std::string& p) { write_file(p, "x"); },
         "ein Teil des Pfades ist kein Verzeichnis",
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string d = orv::test::scratch_dir();
        write_file(d + "/a.csv", "alt");
        output_set s;
        std::size_t a = 0, r = 0;
        ASSERT_FALSE(s.add("-o", d + "/a.csv", way::stream, a));
        ASSERT_FALSE(s.add("--reports", d + "/berichte", way::folder, r));
        ASSERT_FALSE(s.stage());
        std::fputs("neu", s.stream(a));
        write_file(s.path(r) + "/a.pdf", "neu");
        write_file(s.path(r) + "/b.pdf", "neu");
        c.meanwhile(d + "/berichte");
        const auto f = s.commit();
        if (*c.fails) {
            ASSERT_TRUE(f);
            EXPECT_NE(f->text.find(c.fails), std::string::npos) << f->text;
            EXPECT_EQ(read_file(d + "/a.csv"), "alt");
        } else {
            EXPECT_FALSE(f) << f->text;
            EXPECT_EQ(read_file(d + "/a.csv"), "neu");
            EXPECT_EQ(read_file(d + "/berichte/a.pdf"), "neu");
        }
        if (std::filesystem::is_directory(d + "/berichte"))
            EXPECT_EQ(names(d + "/berichte"), c.after);
        EXPECT_EQ(names(d).size(), 2u) << "nothing staged left";
    }
}
