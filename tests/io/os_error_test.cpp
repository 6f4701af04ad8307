// The errno texts: every errno a run can meet has German words, and reading
// and writing name what is missing or forbidden as the user sees it.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "io/os_error.h"
#include "support/command.h"

namespace {

using orv::io::os_error;
using orv::io::use;

TEST(OsError, EveryErrnoMetHasGermanWords) {
    const std::vector<int> met = {
        ENOENT,    EACCES, EPERM,     ENOSPC,  EDQUOT, EROFS,  EISDIR, ENOTDIR,   ENAMETOOLONG,
        ENOTEMPTY, EEXIST, EXDEV,     EFBIG,   EIO,    ELOOP,  EMFILE, ENFILE,    EBUSY,
        ETXTBSY,   EMLINK, ENOMEM,    EAGAIN,  EINTR,  EINVAL, EBADF,  EPIPE,     ESPIPE,
        ENXIO,     ENODEV, EOVERFLOW, ENOTSUP, ENOSYS, ENOLCK, ESTALE, ETIMEDOUT, ECONNRESET,
    };
    std::vector<std::string> seen;
    for (const int e : met) {
        for (const use u : {use::read, use::write}) {
            const std::string t = os_error(e, u);
            SCOPED_TRACE(std::to_string(e) + ": " + t);
            EXPECT_FALSE(t.empty());
            EXPECT_EQ(t.find("Systemfehler"), std::string::npos);
            EXPECT_EQ(t.find("unbekannt"), std::string::npos);
            EXPECT_EQ(t.find_first_of("0123456789"), std::string::npos);
            for (const char c : t) EXPECT_TRUE(c >= 0x20 && c < 0x7f) << "ASCII on terminals";
        }
        seen.push_back(os_error(e));
    }
    // Distinct errors read differently (EPERM is EACCES to the user).
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::unique(seen.begin(), seen.end()) - seen.begin(),
              static_cast<long>(met.size()) - 1);
    // One the table does not know still says what it is, with its number.
    EXPECT_EQ(os_error(100000), "unbekannter Fehler des Betriebssystems (Nummer 100000)");
}

TEST(OsError, ReadingAndWritingSayWhatIsMissingOrForbidden) {
    struct row {
        int e;
        use u;
        const char* want;
    };
    const std::vector<row> rows = {
        {EACCES, use::read, "keine Leserechte"},
        {EPERM, use::read, "keine Leserechte"},
        {EACCES, use::write, "keine Schreibrechte"},
        {ENOENT, use::read, "Datei oder Verzeichnis nicht vorhanden"},
        {ENOENT, use::write, "Verzeichnis des Pfades nicht vorhanden"},
        {ENOSPC, use::write, "kein Platz mehr auf dem Datentraeger"},
    };
    for (const row& r : rows) EXPECT_EQ(os_error(r.e, r.u), r.want) << r.e;
}

TEST(OsError, ReadProblemOfFiles) {
    const std::string d = orv::test::scratch_dir();
    orv::test::write_file(d + "/da.csv", "x\n");
    orv::test::write_file(d + "/gesperrt.csv", "x\n");
    chmod((d + "/gesperrt.csv").c_str(), 0);
    EXPECT_EQ(orv::io::read_problem(d + "/da.csv"), "");
    EXPECT_EQ(orv::io::read_problem(d + "/fehlt.csv"), "Datei oder Verzeichnis nicht vorhanden");
    EXPECT_EQ(orv::io::read_problem(d + "/da.csv/x"), "ein Teil des Pfades ist kein Verzeichnis");
    // Root reads a file without read rights: the words are then checked above.
    if (geteuid() != 0)
        EXPECT_EQ(orv::io::read_problem(d + "/gesperrt.csv"), "keine Leserechte");
    else
        GTEST_LOG_(INFO) << "root reads any file: keine Leserechte checked by the table only";
}

} // namespace
