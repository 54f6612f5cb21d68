#include "core/scan/KorvixCaption.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "core/scan/CommentLookup.h"
#include "support/TestFiles.h"

namespace {

using parvane::scan::findCommentFile;
using parvane::scan::stockKeyFromCaption;
using parvane::scan::stockSeparatorPosition;

TEST(KorvixCaption, WithoutParenthesisTheSecondDashSeparatesTheStock)
{
    EXPECT_EQ(stockSeparatorPosition("Korvix - Base1 - ALPHA"), 16u);
    EXPECT_EQ(stockKeyFromCaption("Korvix - Base1 - ALPHA"), "ALPHA_");
    // Further dashes belong to the stock text.
    EXPECT_EQ(stockKeyFromCaption("Korvix - Base1 - SAINT-GOBAIN"), "SAINT-GOBAIN_");
}

TEST(KorvixCaption, WithParenthesisTheFirstDashSeparatesTheStock)
{
    EXPECT_EQ(stockSeparatorPosition("Korvix - ALPHA (120000)"), 8u);
    EXPECT_EQ(stockKeyFromCaption("Korvix - ALPHA (120000)"), "ALPHA (120000)_");
    EXPECT_EQ(stockKeyFromCaption("Korvix - Base1 - ALPHA (120000)"), "Base1 - ALPHA (120000)_");
}

TEST(KorvixCaption, CaptionEndingWithTheSeparatorNamesNoStock)
{
    EXPECT_EQ(stockKeyFromCaption("Korvix - Base1 -"), std::nullopt);
    EXPECT_EQ(stockKeyFromCaption("Korvix (x) -"), std::nullopt);
    EXPECT_EQ(stockKeyFromCaption(""), std::nullopt);
}

TEST(KorvixCaption, DashFollowedByOneCharacterGivesAnEmptyName)
{
    EXPECT_EQ(stockKeyFromCaption("Korvix - Base1 - "), "_");
    EXPECT_EQ(stockKeyFromCaption("Korvix - Base1 -X"), "_");
}

TEST(KorvixCaption, CaptionWithoutTheSeparatorKeepsTheLiteralRule)
{
    // No dash found: the separator position is 0, the key starts at the second character.
    EXPECT_EQ(stockSeparatorPosition("Korvix"), 0u);
    EXPECT_EQ(stockKeyFromCaption("Korvix"), "orvix_");
    EXPECT_EQ(stockKeyFromCaption("Korvix - ALPHA"), "orvix - ALPHA_");
    EXPECT_EQ(stockKeyFromCaption("K"), "_");
}

class CommentFolder : public ::testing::Test
{
protected:
    void touch(const std::string& name) { parvane::test::writeFile(folder / name, "x\r\n"); }

    parvane::test::TempDir temp;
    std::filesystem::path folder = temp.path();
};

TEST_F(CommentFolder, FindsTheFirstMatchByName)
{
    touch("ALPHA_200000.txt");
    touch("ALPHA_120000.txt");
    touch("ALPHAB_1.txt");
    touch("BETA_1.txt");
    EXPECT_EQ(findCommentFile(folder, "ALPHA_"), folder / "ALPHA_120000.txt");
    EXPECT_EQ(findCommentFile(folder, "BETA_"), folder / "BETA_1.txt");
}

TEST_F(CommentFolder, MatchesWithoutRegardToCase)
{
    touch("alpha_120000.TXT");
    EXPECT_EQ(findCommentFile(folder, "ALPHA_"), folder / "alpha_120000.TXT");
}

TEST_F(CommentFolder, StarMayMatchNothingButTheExtensionIsRequired)
{
    touch("ALPHA_.txt");
    touch("BETA_1.csv");
    touch("GAMMA_1.txt.bak");
    EXPECT_EQ(findCommentFile(folder, "ALPHA_"), folder / "ALPHA_.txt");
    EXPECT_EQ(findCommentFile(folder, "BETA_"), std::nullopt);
    EXPECT_EQ(findCommentFile(folder, "GAMMA_"), std::nullopt);
}

TEST_F(CommentFolder, KeyIsTakenLiterally)
{
    touch("ALPHA_1.txt");
    EXPECT_EQ(findCommentFile(folder, "A*_"), std::nullopt);
    EXPECT_EQ(findCommentFile(folder, "?LPHA_"), std::nullopt);
    EXPECT_EQ(findCommentFile(folder, "../ALPHA_"), std::nullopt);
}

TEST_F(CommentFolder, FoldersAreNotCommentFilesButBrokenLinksAre)
{
    std::filesystem::create_directory(folder / "ALPHA_1.txt");
    touch("ALPHA_2.txt");
    EXPECT_EQ(findCommentFile(folder, "ALPHA_"), folder / "ALPHA_2.txt");
    std::filesystem::create_symlink(folder / "missing", folder / "BETA_1.txt");
    EXPECT_EQ(findCommentFile(folder, "BETA_"), folder / "BETA_1.txt");
}

TEST_F(CommentFolder, MissingFolderFindsNothing)
{
    EXPECT_EQ(findCommentFile(folder / "nowhere", "ALPHA_"), std::nullopt);
    touch("ALPHA_1.txt");
    EXPECT_EQ(findCommentFile(folder / "ALPHA_1.txt", "ALPHA_"), std::nullopt);
}

} // namespace
