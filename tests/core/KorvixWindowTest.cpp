#include <gtest/gtest.h>

#include "core/scan/KorvixExecutable.h"
#include "support/TestFiles.h"

namespace {

using parvane::scan::findKorvixExecutable;

TEST(KorvixExecutable, FoundWithoutRegardToCaseAndNeverAFolder)
{
    parvane::test::TempDir temp;
    EXPECT_FALSE(findKorvixExecutable(temp.path()));
    EXPECT_FALSE(findKorvixExecutable(temp.path() / "missing"));
    std::filesystem::create_directories(temp.path() / "korvix.EXE");
    EXPECT_FALSE(findKorvixExecutable(temp.path()));
    parvane::test::writeFile(temp.path() / "Korvix.exe", "MZ");
    EXPECT_EQ(findKorvixExecutable(temp.path()), temp.path() / "Korvix.exe");
    parvane::test::writeFile(temp.path() / "korvix.exe", "MZ");
    EXPECT_EQ(findKorvixExecutable(temp.path()), temp.path() / "korvix.exe");
}

} // namespace
