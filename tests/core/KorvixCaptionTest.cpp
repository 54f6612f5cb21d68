#include "core/scan/KorvixCaption.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "core/scan/CommentLookup.h"
#include "support/TestFiles.h"

namespace {

using parvane::scan::findCommentFile;
using parvane::scan::stockSeparatorPosition;

TEST(KorvixCaption, SeparatorPosition)
{
    EXPECT_EQ(stockSeparatorPosition("Korvix - Base1 - ALPHA"), 16u);
    EXPECT_EQ(stockSeparatorPosition("Korvix - ALPHA (120000)"), 8u);
    EXPECT_EQ(stockSeparatorPosition("Korvix"), 0u);
}

TEST(KorvixCaption, FindsTheCommentFileByName)
{
    const parvane::test::TempDir temp;
    const std::filesystem::path folder = temp.path();
    for (const char* name : {"ALPHA_200000.txt", "ALPHA_120000.txt", "ALPHAB_1.txt", "BETA_1.csv",
                             "gamma_1.TXT", "DELTA_1.txt.bak", "EPS_.txt"})
        parvane::test::writeFile(folder / name, "x\r\n");
    std::filesystem::create_directory(folder / "ZETA_1.txt");
    parvane::test::writeFile(folder / "ZETA_2.txt", "x");
    std::filesystem::create_symlink(folder / "missing", folder / "ETA_1.txt");

    // Key, file found ("" for none).
    const std::pair<const char*, const char*> cases[] = {
        {"ALPHA_", "ALPHA_120000.txt"},
        {"GAMMA_", "gamma_1.TXT"},
        {"BETA_", ""},
        {"DELTA_", ""},
        {"EPS_", "EPS_.txt"},
        {"ZETA_", "ZETA_2.txt"},
        {"ETA_", "ETA_1.txt"},
        {"A*_", ""},
        {"?LPHA_", ""},
        {"../ALPHA_", ""},
    };

    for (const auto& [key, file] : cases) {
        const auto found = findCommentFile(folder, key);
        EXPECT_EQ(found ? found->filename().string() : "", file) << key;
    }
    EXPECT_EQ(findCommentFile(folder / "nowhere", "ALPHA_"), std::nullopt);
    EXPECT_EQ(findCommentFile(folder / "ALPHA_120000.txt", "ALPHA_"), std::nullopt);
}

} // namespace
