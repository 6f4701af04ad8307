// Staged output files: nothing appears at the target until commit, nothing
// is left behind when a run gives up.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "map/outfile.h"
#include "support/command.h"

namespace {

using orv::test::read_file;

// The names in directory d, sorted.
std::vector<std::string> names(const std::string& d) {
    std::vector<std::string> n;
    for (const auto& e : std::filesystem::directory_iterator(d)) n.push_back(e.path().filename());
    std::sort(n.begin(), n.end());
    return n;
}

TEST(MapOutfile, FileCommitAndDiscard) {
    const std::string d = orv::test::scratch_dir();
    std::string why;
    {
        orv::map::staged_file f;
        ASSERT_TRUE(f.open(d + "/karte.png", why));
        EXPECT_EQ(f.temp().rfind(".png"), f.temp().size() - 4);
        EXPECT_EQ(f.temp().find(d + "/.karte-"), 0u);
        std::fputs("neu", f.stream());
        EXPECT_EQ(names(d).size(), 1u);
        ASSERT_TRUE(f.commit(why));
    }
    EXPECT_EQ(names(d), std::vector<std::string>{"karte.png"});
    EXPECT_EQ(read_file(d + "/karte.png"), "neu");
    {
        orv::map::staged_file f;
        ASSERT_TRUE(f.open(d + "/karte.png", why));
        std::fputs("halb", f.stream());
    } // given up: the old file stays, the temporary one goes
    EXPECT_EQ(names(d), std::vector<std::string>{"karte.png"});
    EXPECT_EQ(read_file(d + "/karte.png"), "neu");
    orv::map::staged_file f;
    EXPECT_FALSE(f.open(d + "/fehlt/karte.png", why));
    EXPECT_EQ(why, "Verzeichnis nicht vorhanden");
    EXPECT_FALSE(f.open(d + "/karte.png/x.png", why));
    EXPECT_EQ(why, "Pfad fuehrt durch etwas, das kein Verzeichnis ist");
    // A target that is a directory fails at the rename and leaves nothing.
    std::filesystem::create_directory(d + "/ordner.png");
    ASSERT_TRUE(f.open(d + "/ordner.png", why));
    EXPECT_FALSE(f.commit(why));
    EXPECT_EQ(why, "ist ein Verzeichnis");
    f.discard();
    EXPECT_EQ(names(d), (std::vector<std::string>{"karte.png", "ordner.png"}));
}

// A writer's companion files move with the main file.
TEST(MapOutfile, DirectoryCommitAndDiscard) {
    const std::string d = orv::test::scratch_dir();
    std::string why;
    {
        orv::map::staged_dir s;
        ASSERT_TRUE(s.open(d + "/raster.bil", why));
        EXPECT_EQ(s.path().substr(s.path().size() - 11), "/raster.bil");
        orv::test::write_file(s.path(), "daten");
        orv::test::write_file(s.path().substr(0, s.path().size() - 4) + ".hdr", "kopf");
        ASSERT_TRUE(s.commit(why));
    }
    EXPECT_EQ(names(d), (std::vector<std::string>{"raster.bil", "raster.hdr"}));
    EXPECT_EQ(read_file(d + "/raster.bil"), "daten");
    {
        orv::map::staged_dir s;
        ASSERT_TRUE(s.open(d + "/zwei.tif", why));
        orv::test::write_file(s.path(), "halb");
    }
    EXPECT_EQ(names(d), (std::vector<std::string>{"raster.bil", "raster.hdr"}));
    orv::map::staged_dir s;
    EXPECT_FALSE(s.open(d + "/fehlt/r.tif", why));
}

} // namespace
