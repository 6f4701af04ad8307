// Only the geo room sets GDAL up: registers drivers, installs error
// handlers, looks drivers up by name or walks their list to choose one,
// reads coordinate systems and lists a dataset's files.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace {

TEST(GeoFloor, NoOtherRoomSetsGdalUp) {
    const char* const calls[] = {"GDALAllRegister",  "CPLPushErrorHandler", "CPLSetErrorHandler",
                                 "GetDriverByName",  "GetDriverCount",      "SetFromUserInput",
                                 "importFromEPSG",   "ImportFromEPSG",      "GetFileList"};
    const std::filesystem::path src = ORV_SOURCE_DIR;
    int files = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(src)) {
        const auto ext = e.path().extension();
        if (ext != ".cpp" && ext != ".h") continue;
        ++files;
        if (e.path().parent_path().filename() == "geo") continue;
        std::ifstream in(e.path());
        std::stringstream text;
        text << in.rdbuf();
        for (const char* c : calls)
            EXPECT_EQ(text.str().find(c), std::string::npos)
                << std::filesystem::relative(e.path(), src).string() << " calls " << c;
    }
    EXPECT_GT(files, 100); // the tree was found
}

} // namespace
