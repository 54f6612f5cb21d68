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

// The lines of the group and the errors of names are golden scan cases (comments_group*); here
// what a case cannot hold.
TEST_F(CommentsGroupTest, TakesOnlyPlainTextFilesAndNeverOpensThem)
{
    m_base.addComment("ALPHA_120000.txt", "");
    // A comment too large to read still names its stock: the builder does not read comments.
    test::writeSparseFile(m_base.comment() / "BIG_1.txt", std::uintmax_t{300} << 20);
    ASSERT_EQ(::mkfifo((m_base.comment() / "PIPE_2.txt").c_str(), 0644), 0);
    fs::create_directories(m_base.comment() / "DIR_3.txt");
    m_log.write("x", ": y");

    EXPECT_EQ(build(), "FIN: 1 Erreur(s)\r\nvoir errorlog.txt");
    EXPECT_EQ(quennel(), "120000\tALPHA\r\n1\tBIG\r\n");
    EXPECT_EQ(m_observer.statusTexts,
              (std::vector<std::string>{"EXECUTION", "FIN: 1 Erreur(s)\r\nvoir errorlog.txt"}));
    EXPECT_EQ(m_observer.ranges, std::vector<double>{3});
    EXPECT_EQ(m_observer.values, (std::vector<double>{0.1, 1.1, 2.1, 0.1}));
    EXPECT_TRUE(m_observer.progressVisible);
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

} // namespace
} // namespace parvane::scan
