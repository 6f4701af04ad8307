#include <gtest/gtest.h>

#include "consoleio/rterror.h"
#include "consoleio/write.h"

namespace orv {
namespace {

TEST(RuntimeReport, ShortLocusForTextInMemory) {
    EXPECT_EXIT(runtime_error_report({169, 0}, "End of file"), ::testing::ExitedWithCode(2),
                "^At line 169 of file orvalis2d.cpp\nFortran runtime error: End of file\n$");
}

TEST(RuntimeReport, LongLocusForStandardInput) {
    EXPECT_EXIT(runtime_error_report({141, 5}, "End of file"), ::testing::ExitedWithCode(2),
                "^At line 141 of file orvalis2d.cpp \\(unit = 5, file = 'stdin'\\)\n"
                "Fortran runtime error: End of file\n$");
}

TEST(RuntimeReport, InternalRecordOverflowIsEndOfRecord) {
    char rec[10];
    EXPECT_EXIT(write_internal({7, 0}, rec, "('0123456789AB')"), ::testing::ExitedWithCode(2),
                "^At line 7 of file orvalis2d.cpp\nFortran runtime error: End of record\n$");
}

TEST(RuntimeReport, MemoryFailureExitsWithOne) {
    EXPECT_EXIT(memory_error_report("Memory allocation failed", 12), ::testing::ExitedWithCode(1),
                "^Operating system error: Cannot allocate memory\nMemory allocation failed\n$");
}

} // namespace
} // namespace orv
