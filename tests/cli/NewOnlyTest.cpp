#include <algorithm>

#include "ScanProcess.h"

namespace parvane::test {
namespace {

const Arguments kOptions = {"--proximity", "--daily",    "--max-gap", "3",
                            "--crossing",  "--new-only", "--format",  "tsv"};

TEST_F(ScanTest, NewOnlyPrintsOnlyTheHitsThatThePreviousRunDidNotHave)
{
    const std::string nearAgain = dailyHistory(100, "9.9", "9.85");
    const std::string far = dailyHistory(100, "8", "8");

    struct Step
    {
        std::vector<std::pair<std::string, std::string>> stocks; // file name, history
        Arguments extra;
        std::string rows; // what the run prints
    };

    const std::vector<Step> steps = {
        {{{"ALPHA_100001.txt", kCrossing}, {"BETA_100002.txt", kNear}, {"GAMMA_100003.txt", kNear}},
         {},
         "BETA            \t100002\t9.8  \tDAILY\t2.04\t-1.01\t\n"
         "GAMMA           \t100003\t9.8  \tDAILY\t2.04\t-1.01\t\n"
         "X_ALPHA         \t100001\t9.9  \tDAILY\t1.01\t-2.94\t\n"},
        // BETA's hit vanishes, GAMMA's stays at another close, DELTA's is new.
        {{{"BETA_100002.txt", far}, {"GAMMA_100003.txt", nearAgain}, {"DELTA_100004.txt", kNear}},
         {},
         "DELTA           \t100004\t9.8  \tDAILY\t2.04\t-1.01\t\n"},
        // A proximity that becomes a crossing, and a vanished hit that comes back, are new.
        {{{"DELTA_100004.txt", kCrossing}, {"BETA_100002.txt", kNear}},
         {},
         "BETA            \t100002\t9.8  \tDAILY\t2.04\t-1.01\t\n"
         "X_DELTA         \t100004\t9.9  \tDAILY\t1.01\t-2.94\t\n"},
        {{}, {}, ""},
        // The runs of other options are kept side by side: without a rise of volume, the
        // crossings are proximities, new to that run.
        {{},
         {"--volume", "50"},
         "ALPHA           \t100001\t9.9  \tDAILY\t1.01\t-2.94\t\n"
         "BETA            \t100002\t9.8  \tDAILY\t2.04\t-1.01\t\n"
         "DELTA           \t100004\t9.9  \tDAILY\t1.01\t-2.94\t\n"
         "GAMMA           \t100003\t9.85 \tDAILY\t1.52\t-0.51\t\n"},
        {{}, {}, ""},
    };
    for (const Step& step : steps) {
        for (const auto& [file, history] : step.stocks)
            m_base.addStock(file, kOneLine, history);
        Arguments arguments = kOptions;
        arguments.insert(arguments.end(), step.extra.begin(), step.extra.end());
        const ScanProcessResult result = scan(arguments);
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(result.out, kHeader + step.rows);
    }
    // One file in the program folder holds the kept rows, as the golden file says.
    auto files = snapshotTree(home());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files.begin()->first.size(), std::string("newrows-0123456789abcdef.txt").size());
    expectGolden("cli/newrows.txt", files.begin()->second);

    // A folder in the file's place cannot be read: every row is new, and nothing is replaced.
    const std::filesystem::path file = home() / files.begin()->first;
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    const ScanProcessResult unreadable = scan(kOptions);
    EXPECT_EQ(std::count(unreadable.out.begin(), unreadable.out.end(), '\n'), 5) << unreadable.out;
    EXPECT_NE(unreadable.err.find("lignes de la recherche precedente illisibles"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(file));
}

} // namespace
} // namespace parvane::test
