#include "core/scan/RunCommand.h"

#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace parvane::scan {
namespace {

namespace fs = std::filesystem;

TEST(RunCommand, BaseCheckNeedsTheBaseFolder)
{
    test::TempDir dir;
    const fs::path base = dir.path() / "base";
    const std::string root = dir.path().string();

    const auto refusal = checkBaseFolder(root, base);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->title, "Parvane - Erreur Chemin(s)");
    EXPECT_EQ(refusal->text, "Repertoire base: " + root + " Incorrect.\n"
                                 + "Veuillez modifier le chemin de votre (vos) base(s)");

    test::writeFile(base, "a file, not a folder");
    EXPECT_TRUE(checkBaseFolder(root, base));
    fs::remove(base);
    fs::create_directory(base);
    EXPECT_FALSE(checkBaseFolder(root, base));
    // An empty active base never passes, whatever the current folder holds.
    EXPECT_EQ(checkBaseFolder("", base)->text,
              "Repertoire base:  Incorrect.\nVeuillez modifier le chemin de votre (vos) base(s)");
}

TEST(RunCommand, ThresholdsAndTheRunCondition)
{
    for (const auto& row : test::dataRows("run/thresholds.tsv")) {
        ASSERT_EQ(row.size(), 6u);
        SCOPED_TRACE(row[0] + " " + row[1] + " " + row[2]);
        ScanOptions checked;
        for (const auto& [letter, flag] : {std::pair{'p', &checked.proximity},
                                           {'d', &checked.daily},
                                           {'w', &checked.weekly},
                                           {'c', &checked.crossing}})
            *flag = row[0].find(letter) != std::string::npos;
        checked.maxGap = std::stod(row[1]);
        checked.volumeFilter = row[2] != "-";
        checked.volumeThreshold = checked.volumeFilter ? std::stod(row[2]) : 0;
        const auto refusal = checkThresholds(checked);
        EXPECT_EQ(refusal ? refusal->title + "|" + refusal->text : "",
                  row[3].empty() ? "" : "Parvane|" + row[3]);
        EXPECT_EQ(runCondition(checked), row[4] == "1");
        EXPECT_EQ(proximityWithoutUnit(checked), row[5] == "1");
    }
}

TEST(RunCommand, StatusTextShowsTheCountWithItsSignPlace)
{
    EXPECT_EQ(finStatusText(0), "FIN: 0 erreur(s)");
    EXPECT_EQ(finStatusText(2), "FIN: 2 erreur(s)\nvoir errorlog.txt");
    EXPECT_EQ(finStatusText(40000), "FIN: 40000 erreur(s)\nvoir errorlog.txt");
    EXPECT_EQ(finStatusTooltip(0), "nothing to declare");
    EXPECT_EQ(finStatusTooltip(2), "Double-Cliquez pour voir le fichier log");
}

} // namespace
} // namespace parvane::scan
