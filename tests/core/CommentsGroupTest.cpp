#include "core/scan/CommentsGroup.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/support/ScanRecorders.h"
#include "support/TestBase.h"
#include "support/TestFiles.h"

namespace parvane::scan {
namespace {

namespace fs = std::filesystem;
using test::readFile;

class CommentsGroupTest : public ::testing::Test
{
protected:
    CommentsGroupTest()
        : m_base(m_dir.path() / "root")
        , m_environment(test::fixedMoment(), ',')
        , m_log(m_dir.path() / "errorlog.txt", m_environment)
    {}

    std::string build()
    {
        const BaseLayout layout = BaseLayout::resolve(m_base.root(), "", "");
        return majgroupecomm(layout, m_observer, m_log);
    }

    std::string quennel() const { return readFile(m_base.groupe() / "Quennel.txt"); }

    test::TempDir m_dir;
    test::TestBase m_base;
    FixedEnvironment m_environment;
    ErrorLog m_log;
    test::RecordingObserver m_observer;
};

TEST_F(CommentsGroupTest, OneLinePerCommentFileSplitAtTheFirstUnderscore)
{
    m_base.addComment("ALPHA_120000.TXT", "x");
    m_base.addComment("A_B_C.txt", "x");
    m_base.addComment("BETA_.txt", "x");
    m_base.addComment("_NONAME.txt", "x");
    m_base.addGroup("Quennel.txt", "999999\tOLD\r\n888888\tOLDER\r\n");

    const std::string message = build();

    EXPECT_EQ(quennel(), "NONAME\t\r\n"
                         "B_C\tA\r\n"
                         "120000\tALPHA\r\n"
                         "\tBETA\r\n");
    EXPECT_EQ(message, "FIN: 0 Erreur(s)");
    EXPECT_EQ(m_observer.statusTexts, (std::vector<std::string>{"EXECUTION", "FIN: 0 Erreur(s)"}));
    EXPECT_EQ(m_observer.ranges, std::vector<double>{5});
    EXPECT_EQ(m_observer.values, (std::vector<double>{0.1, 1.1, 2.1, 3.1, 4.1, 0.1}));
    EXPECT_TRUE(m_observer.progressVisible);
}

TEST_F(CommentsGroupTest, TakesOnlyPlainTextFilesAndNeverOpensThem)
{
    m_base.addComment("ALPHA_120000.txt", "");
    // A comment too large to read still names its stock: the builder does not read comments.
    test::writeSparseFile(m_base.comment() / "BIG_1.txt", std::uintmax_t{300} << 20);
    ASSERT_EQ(::mkfifo((m_base.comment() / "PIPE_2.txt").c_str(), 0644), 0);
    fs::create_directories(m_base.comment() / "DIR_3.txt");
    m_base.addComment(".HIDDEN_4.txt", "x");
    m_base.addComment("NOTE_5.doc", "x");

    EXPECT_EQ(build(), "FIN: 0 Erreur(s)");
    EXPECT_EQ(quennel(), "120000\tALPHA\r\n1\tBIG\r\n");
    EXPECT_EQ(m_observer.ranges, std::vector<double>{3});
}

TEST_F(CommentsGroupTest, EmptyCommentFolderGivesAnEmptyGroup)
{
    m_base.addGroup("Quennel.txt", "999999\tOLD\r\n");
    EXPECT_EQ(build(), "FIN: 0 Erreur(s)");
    EXPECT_TRUE(fs::exists(m_base.groupe() / "Quennel.txt"));
    EXPECT_EQ(fs::file_size(m_base.groupe() / "Quennel.txt"), 0u);
    EXPECT_EQ(m_observer.ranges, std::vector<double>{1});
}

TEST_F(CommentsGroupTest, NameWithoutUnderscoreIsLoggedAndPassedOver)
{
    m_base.addComment("ALPHA_120000.txt", "x");
    m_base.addComment("NOTES.txt", "x");

    EXPECT_EQ(build(), "FIN: 1 Erreur(s)\r\nvoir errorlog.txt");
    EXPECT_EQ(quennel(), "120000\tALPHA\r\n");
    EXPECT_EQ(readFile(m_log.file()),
              test::logLine((m_base.comment() / "NOTES.txt").string(),
                            ": nom sans \"_\" (nom_code.txt attendu), fichier ignore"));
}

TEST_F(CommentsGroupTest, MissingGroupFolderIsLogged)
{
    m_base.addComment("ALPHA_120000.txt", "x");
    fs::remove_all(m_base.groupe());

    EXPECT_EQ(build(), "FIN: 1 Erreur(s)\r\nvoir errorlog.txt");
    EXPECT_FALSE(fs::exists(m_base.groupe()));
    EXPECT_EQ(readFile(m_log.file()), test::logLine((m_base.groupe() / "Quennel.txt").string(),
                                                    ": ecriture impossible, erreur no:  2"));
    EXPECT_EQ(m_observer.values.back(), 0.1);
}

TEST_F(CommentsGroupTest, GroupFileIsNeverWrittenThroughALink)
{
    m_base.addComment("ALPHA_120000.txt", "note\r\n");
    fs::create_symlink(m_base.comment() / "ALPHA_120000.txt", m_base.groupe() / "Quennel.txt");

    EXPECT_EQ(build(), "FIN: 1 Erreur(s)\r\nvoir errorlog.txt");
    EXPECT_EQ(readFile(m_base.comment() / "ALPHA_120000.txt"), "note\r\n");
    EXPECT_EQ(readFile(m_log.file()), test::logLine((m_base.groupe() / "Quennel.txt").string(),
                                                    ": ecriture impossible, erreur no:  40"));
}

TEST_F(CommentsGroupTest, EndMessageCountsTheErrorsOfTheRunSoFar)
{
    m_log.write("x", ": y");
    m_log.write("x", ": y");
    m_log.write("x", ": y");
    EXPECT_EQ(build(), "FIN: 3 Erreur(s)\r\nvoir errorlog.txt");
}

} // namespace
} // namespace parvane::scan
