#include <chrono>
#include <ctime>
#include <regex>
#include <string>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ScanProcess.h"
#include "support/TestBase.h"
#include "support/TestFiles.h"

namespace parvane::test {
namespace {

namespace fs = std::filesystem;
using Arguments = std::vector<std::string>;

const std::string kHeader = "Action\tSicovam\tDernier\tUT\tEcart%\tVar%\tCommentaires\n";
const std::string kOneLine = trendLineFile({TrendLineFields{}});

class ScanCommandTest : public ::testing::Test
{
protected:
    ScanCommandTest()
        : m_base(m_dir.path() / "root")
    {
        fs::create_directories(home());
    }

    fs::path home() const { return m_dir.path() / "home"; }

    // Runs parvane-scan with its program folder in the test's folder.
    ScanProcessResult scan(Arguments arguments)
    {
        arguments.insert(arguments.begin(), {"--home", home().string()});
        ScanProcessResult result = runScanProgram(arguments, m_dir.path() / "scratch");
        EXPECT_FALSE(result.timedOut);
        return result;
    }

    Arguments onBase(Arguments arguments) const
    {
        arguments.insert(arguments.begin(), {"--base", m_base.root().string()});
        return arguments;
    }

    std::string errorLog() const { return readFile(home() / "errorlog.txt"); }

    // The CSV files of the base.
    std::vector<fs::path> csvFiles() const
    {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(m_base.base())) {
            if (entry.path().extension() == ".csv")
                files.push_back(entry.path());
        }
        return files;
    }

    TempDir m_dir;
    TestBase m_base;
};

TEST_F(ScanCommandTest, TsvPrintsTheHeaderThenTheRowsSortedByActionWithoutCase)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, dailyHistory(100, "10.2", "9.9"));
    m_base.addStock("beta_130000.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    m_base.addStock("delta_150000.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    // Two weekly rows of one stock keep the order of its lines.
    TrendLineFields first;
    first.unit = "0";
    TrendLineFields second = first;
    second.intercept = "9.95";
    m_base.addStock("Gamma_140000.txt", trendLineFile({first, second}), weeklyHistory(100, "9.9", "9.8"));

    const ScanProcessResult result = scan(
        onBase({"--proximity", "--daily", "--weekly", "--max-gap", "3", "--crossing", "--format", "tsv"}));

    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, kHeader
                              + "beta            \t130000\t9.8  \tDAILY\t2.04\t-1.01\t\n"
                                "delta           \t150000\t9.8  \tDAILY\t2.04\t-1.01\t\n"
                                "Gamma           \t140000\t9.8  \tWEEK \t2.04\t-1.01\t\n"
                                "Gamma           \t140000\t9.8  \tWEEK \t1.53\t-1.01\t\n"
                                "X_ALPHA         \t120000\t9.9  \tDAILY\t1.01\t-2.94\t\n");
    EXPECT_EQ(result.err, "FIN: 0 erreur(s)\n");
    // The group files follow the walk, not the sort.
    EXPECT_EQ(readFile(m_base.groupe() / "Parvane.txt"),
              "120000\tX_ALPHA\r\n130000\tbeta\r\n150000\tdelta\r\n140000\tGamma\r\n");
    EXPECT_EQ(readFile(m_base.groupe() / "Melvor.txt"), "120000\tX_ALPHA\r\n");
    EXPECT_FALSE(fs::exists(home() / "errorlog.txt"));
}

TEST_F(ScanCommandTest, TableIsTheDefaultFormat)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    const ScanProcessResult result = scan(onBase({"--proximity", "--daily", "--max-gap", "3"}));
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out.rfind("Action  ", 0), 0u) << result.out;
    EXPECT_NE(result.out.find("\n---"), std::string::npos);
    EXPECT_NE(result.out.find("\nALPHA  "), std::string::npos);
}

TEST_F(ScanCommandTest, StatusAndErrorLogReportEveryFailure)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, std::nullopt);
    m_base.addStock("BETA_130000.txt", kOneLine, dailyHistory(100, "9.9", "0"));
    writeFile(home() / "errorlog.txt", "a line of the last start\r\n");

    const ScanProcessResult result = scan(onBase({"--crossing", "--format", "tsv"}));

    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, kHeader);
    EXPECT_EQ(result.err, "FIN: 2 erreur(s)\nvoir errorlog.txt\n");
    EXPECT_EQ(errorLogMessages(errorLog()),
              (std::vector<std::string>{
                  (m_base.histo() / "ALPHA_120000.txt").string()
                      + ": fichier introuvable, verifiez sa presence ou son integrite ",
                  "BETA_130000.txt: dernier cours ou avant dernier cours de cloture a zero!"}));
}

TEST_F(ScanCommandTest, ErrorLogOfTheLastStartIsDeleted)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    writeFile(home() / "errorlog.txt", "a line of the last start\r\n");
    EXPECT_EQ(scan(onBase({"--crossing"})).exitStatus, 0);
    EXPECT_FALSE(fs::exists(home() / "errorlog.txt"));
}

TEST_F(ScanCommandTest, MissingBaseFolderIsRefused)
{
    const std::string missing = (m_dir.path() / "nowhere").string();
    const ScanProcessResult result = scan({"--base", missing, "--crossing"});
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "Parvane - Erreur Chemin(s): Repertoire base: " + missing
                              + " Incorrect.\nVeuillez modifier le chemin de votre (vos) base(s)\n");
}

TEST_F(ScanCommandTest, InvalidThresholdsAreRefusedBeforeAnyFileIsTouched)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    m_base.addGroup("Parvane.txt", "999999\tOLD\r\n");
    m_base.addGroup("Melvor.txt", "888888\tX_OLD\r\n");
    const auto before = snapshotBaseTree(m_base.root());

    for (const char* gap : {"0", "abc", "-1"}) {
        const ScanProcessResult result =
            scan(onBase({"--proximity", "--daily", "--crossing", "--csv", "--max-gap", gap}));
        EXPECT_EQ(result.exitStatus, 2) << gap;
        EXPECT_EQ(result.err, "Parvane: ECART COURS/DROITES NON VALIDE\n") << gap;
    }
    const ScanProcessResult volume = scan(onBase({"--crossing", "--csv", "--volume", "0"}));
    EXPECT_EQ(volume.exitStatus, 2);
    EXPECT_EQ(volume.err, "Parvane: ECART DETECTION CROISEMENT\nAVEC VOLUME NON VALIDE\n");

    EXPECT_EQ(snapshotBaseTree(m_base.root()), before);
}

TEST_F(ScanCommandTest, UsageErrorsExitWith64)
{
    const std::vector<Arguments> wrong = {{"--frobnicate"},
                                          {"--base"},
                                          {"--format", "xml"},
                                          {"--base-index", "4"},
                                          {"--base", "/x", "--base-index", "2"},
                                          {"--max-gap"}};
    for (const Arguments& arguments : wrong) {
        const ScanProcessResult result = scan(arguments);
        EXPECT_EQ(result.exitStatus, 64) << arguments[0];
        EXPECT_EQ(result.err.rfind("parvane-scan: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find("usage: parvane-scan"), std::string::npos);
    }
    const ScanProcessResult help = scan({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.out.rfind("usage: parvane-scan", 0), 0u);
}

TEST_F(ScanCommandTest, GroupsRestrictTheScanToTheirStocks)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    m_base.addStock("BETA_130000.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    m_base.addStock("GAMMA_140000.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    m_base.addGroup("A.txt", "130000\tBETA\r\n");
    m_base.addGroup("B.txt", "120000\tALPHA\r\n130000\tBETA\r\n990000\tOMEGA\r\n");

    const ScanProcessResult result =
        scan(onBase({"--groups", "A,B", "--proximity", "--daily", "--max-gap", "3"}));

    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, "FIN: 0 erreur(s)\n");
    EXPECT_EQ(readFile(m_base.groupe() / "Parvane.txt"), "130000\tBETA\r\n120000\tALPHA\r\n");
}

TEST_F(ScanCommandTest, GroupsWithoutTrendLineFilesLeaveTheWholeBaseScanned)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    m_base.addGroup("Melvor.txt", "120000\tX_ALPHA\r\n");

    const ScanProcessResult result =
        scan(onBase({"--groups", "melvor", "--proximity", "--daily", "--max-gap", "3"}));

    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, "Aucune action des groupes choisis n'a de fichier de droites: toute la base est "
                          "scannee.\nFIN: 0 erreur(s)\n");
    EXPECT_EQ(readFile(m_base.groupe() / "Parvane.txt"), "120000\tALPHA\r\n");
}

TEST_F(ScanCommandTest, AGroupNameThatIsNoGroupIsAUsageErrorAndNothingIsWritten)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    m_base.addGroup("Melvor.txt", "120000\tX_ALPHA\r\n");
    m_base.addGroup("\xc3\x89lan.txt", "");

    const ScanProcessResult result =
        scan(onBase({"--groups", "Melvor,Absent", "--proximity", "--daily", "--max-gap", "3"}));

    EXPECT_EQ(result.exitStatus, 64);
    EXPECT_EQ(result.err, "parvane-scan: --groups: \"Absent\" n'est pas un groupe de la base; groupes: "
                          "\xc3\x89lan, Melvor\n");
    EXPECT_FALSE(fs::exists(m_base.groupe() / "Parvane.txt"));
}

TEST_F(ScanCommandTest, SettingsOfTheProgramFolderNameTheBases)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    const std::string first = (m_dir.path() / "first").string();
    writeFile(home() / "zarbel.ini",
              "[path]\r\nexe=C:\\Program Files\\Korvix 2.0\\\r\ndroite=\\base\\droite\\\r\n"
              "histo=\\base\\histo\\\r\nbase1="
                  + first + "\r\nbase2=" + m_base.root().string() + "\r\nbase3=\r\n");

    const ScanProcessResult byDefault = scan({"--proximity", "--daily"});
    EXPECT_EQ(byDefault.exitStatus, 2);
    EXPECT_NE(byDefault.err.find("Repertoire base: " + first + " Incorrect."), std::string::npos);

    const ScanProcessResult second =
        scan({"--base-index", "2", "--proximity", "--daily", "--max-gap", "3", "--format", "tsv"});
    EXPECT_EQ(second.exitStatus, 0);
    EXPECT_EQ(second.out, kHeader + "ALPHA           \t120000\t9.8  \tDAILY\t2.04\t-1.01\t\n");
}

TEST_F(ScanCommandTest, CsvFileIsNamedOnStandardErrorAndKeepsTheBaseBytes)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    // Windows-1252: e acute and the euro sign.
    m_base.addComment("ALPHA_120000.txt", "Hausse pr\xe9vue \x80\r\n");

    const ScanProcessResult result =
        scan(onBase({"--proximity", "--daily", "--max-gap", "3", "--csv", "--format", "tsv"}));

    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(
        result.out,
        kHeader
            + "ALPHA           \t120000\t9.8  \tDAILY\t2.04\t-1.01\tHausse pr\xc3\xa9vue \xe2\x82\xac - \n");
    const std::vector<fs::path> csv = csvFiles();
    ASSERT_EQ(csv.size(), 1u);
    EXPECT_TRUE(std::regex_match(csv[0].filename().string(), std::regex(R"(result_[0-9]{8}_[0-9]{4}\.csv)")));
    EXPECT_EQ(result.err, "CSV: " + csv[0].string() + "\nFIN: 0 erreur(s)\n");
    EXPECT_EQ(readFile(csv[0]), "ALPHA           ;120000;9.8  ;DAILY;2.04%;-1.01;Hausse pr\xe9vue \x80\r\n");
}

TEST_F(ScanCommandTest, InterruptedRunExitsWith128PlusTheSignal)
{
    // Enough stocks that the walk is still going when the signal comes.
    const std::string history = dailyHistory(12, "9.9", "9.8");
    for (int i = 0; i < 4000; ++i)
        m_base.addStock("S_" + std::to_string(100000 + i) + ".txt", kOneLine, history);
    const fs::path parvane = m_base.groupe() / "Parvane.txt";

    const ScanProcessResult result =
        runScanProgram({"--home", home().string(), "--base", m_base.root().string(), "--proximity", "--daily",
                        "--max-gap", "3"},
                       m_dir.path() / "scratch", [&](int processId) {
                           // Parvane.txt is created as the walk starts, once the program listens for signals.
                           const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
                           while (!fs::exists(parvane) && std::chrono::steady_clock::now() < deadline)
                               std::this_thread::sleep_for(std::chrono::microseconds(200));
                           ::kill(processId, SIGINT);
                       });

    EXPECT_EQ(result.exitStatus, 128 + SIGINT);
    EXPECT_NE(result.err.find("Scan interrompu: les fichiers de resultats sont incomplets.\n"),
              std::string::npos)
        << result.err;
}

} // namespace
} // namespace parvane::test

namespace parvane::test {
namespace {

TEST_F(ScanCommandTest, StatusIsWhatTheWindowLeavesWhenNothingIsScanned)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    // Nothing runs: the status label keeps its empty text.
    ScanProcessResult result = scan(onBase({"--proximity", "--max-gap", "3"}));
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, "");
    // Only the comments group runs: its builder's end message stays.
    result = scan(onBase({"--comments-group", "--proximity"}));
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, "FIN: 0 Erreur(s)\n");
}

TEST_F(ScanCommandTest, TableSortsAndPadsWineNamesByCharacters)
{
    // Names as Wine stores them: UTF-8 on the disk.
    m_base.addStock("\xc3\x89LAN_400002.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    m_base.addStock("FOX_400003.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    m_base.addStock("abc_400005.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    m_base.addStock("ABC_400006.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    const ScanProcessResult result = scan(onBase({"--proximity", "--daily", "--max-gap", "3"}));
    const std::string row = "   9.8      DAILY  2.04    -1.01\n";
    EXPECT_EQ(result.out, "Action            Sicovam  Dernier  UT     Ecart%  Var%   Commentaires\n"
                              + std::string(70, '-') + "\nabc               400005" + row
                              + "ABC               400006" + row + "\xc3\x89LAN              400002" + row
                              + "FOX               400003" + row);
    EXPECT_EQ(readFile(m_base.groupe() / "Parvane.txt"),
              "400005\tabc\r\n400006\tABC\r\n400003\tFOX\r\n400002\t\xc9LAN\r\n");
}

TEST_F(ScanCommandTest, AMissingProgramFolderIsCreatedOrTheRunRefused)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, std::nullopt);
    const fs::path newHome = m_dir.path() / "new" / "home";
    ScanProcessResult result = runScanProgram({"--home", newHome.string(), "--base", m_base.root().string(),
                                               "--proximity", "--daily", "--max-gap", "3"},
                                              m_dir.path() / "scratch");
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_NE(readFile(newHome / "errorlog.txt").find("ALPHA_120000.txt"), std::string::npos);

    writeFile(m_dir.path() / "file", "x");
    result = runScanProgram(
        {"--home", (m_dir.path() / "file" / "home").string(), "--base", m_base.root().string(), "--crossing"},
        m_dir.path() / "scratch");
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(result.err.rfind("parvane-scan: dossier du programme impossible a creer: ", 0), 0u)
        << result.err;
    EXPECT_EQ(result.out, "");
}

TEST_F(ScanCommandTest, ARelativeBaseIsReportedAsAnAbsolutePath)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, std::nullopt);
    const fs::path relative = fs::relative(m_base.root(), fs::current_path());
    ASSERT_TRUE(relative.is_relative());
    const ScanProcessResult result =
        scan({"--base", relative.string(), "--proximity", "--daily", "--max-gap", "3", "--csv"});
    const std::vector<fs::path> csv = csvFiles();
    ASSERT_EQ(csv.size(), 1u);
    EXPECT_EQ(result.err.rfind("CSV: " + csv[0].string() + "\n", 0), 0u) << result.err;
    EXPECT_NE(errorLog().find(" | " + m_base.histo().string() + "/ALPHA_120000.txt: "), std::string::npos)
        << errorLog();
}

TEST_F(ScanCommandTest, AFifoNamedLikeAResultFileIsLoggedNotWaitedOn)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    fs::create_directories(m_base.groupe());
    ASSERT_EQ(::mkfifo((m_base.groupe() / "Parvane.txt").c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo((m_base.groupe() / "Melvor.txt").c_str(), 0644), 0);
    // A reader on one of them: the open succeeds, and the FIFO is still refused.
    const int reader = ::open((m_base.groupe() / "Melvor.txt").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const ScanProcessResult result = scan(onBase({"--proximity", "--daily", "--max-gap", "3", "--crossing"}));
    ::close(reader);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(errorLogMessages(errorLog()),
              (std::vector<std::string>{
                  m_base.groupe().string() + "/Melvor.txt: n'est pas un fichier ordinaire, non ecrit",
                  m_base.groupe().string() + "/Parvane.txt: n'est pas un fichier ordinaire, non ecrit"}));
    EXPECT_NE(result.out.find("ALPHA"), std::string::npos);
}

} // namespace
} // namespace parvane::test

namespace parvane::test {
namespace {

// The system's settings reach the numbers shown, the CSV file and the error log.
struct LocaleCase
{
    const char* locale;
    const char* row;     // the tsv row of the stock
    const char* csvLine; // its CSV line
    const char* logDate; // the error log's date, a strftime format
};

constexpr LocaleCase kLocaleCases[] = {
    {"fr_FR.UTF-8", "ALPHA           \t120000\t9.8  \tDAILY\t2,04\t-1,01\t\n",
     "ALPHA           ;120000;9.8  ;DAILY;2,04%;-1,01\r\n", "%d/%m/%Y"},
    {"C", "ALPHA           \t120000\t9.8  \tDAILY\t2.04\t-1.01\t\n",
     "ALPHA           ;120000;9.8  ;DAILY;2.04%;-1.01\r\n", "%Y-%m-%d"},
};

TEST_F(ScanCommandTest, TheSystemLocaleSetsTheDecimalSeparatorAndTheDates)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    m_base.addStock("BETA_130000.txt", kOneLine, std::nullopt);
    for (const LocaleCase& c : kLocaleCases) {
        for (const fs::path& file : csvFiles())
            fs::remove(file);
        const auto before = std::chrono::system_clock::now();
        const ScanProcessResult result =
            runScanProgram({"--home", home().string(), "--base", m_base.root().string(), "--proximity",
                            "--daily", "--max-gap", "3", "--csv", "--format", "tsv"},
                           m_dir.path() / "scratch", {}, c.locale);
        EXPECT_EQ(result.exitStatus, 0) << c.locale;
        EXPECT_EQ(result.out, kHeader + c.row) << c.locale;
        const std::vector<fs::path> csv = csvFiles();
        ASSERT_EQ(csv.size(), 1u) << c.locale;
        EXPECT_EQ(readFile(csv[0]), c.csvLine) << c.locale;
        // The CSV file is named after the run's local date and time (a minute may turn meanwhile).
        const std::time_t now = std::chrono::system_clock::to_time_t(before);
        char name[40];
        std::strftime(name, sizeof name, "result_%d%m%Y_", std::localtime(&now));
        EXPECT_EQ(csv[0].filename().string().rfind(name, 0), 0u) << csv[0];
        char date[40];
        std::strftime(date, sizeof date, c.logDate, std::localtime(&now));
        EXPECT_TRUE(std::regex_search(
            errorLog(), std::regex(std::string("^") + date + " [0-9]{2}:[0-9]{2}:[0-9]{2} \\| ")))
            << c.locale << ": " << errorLog();
    }
}

} // namespace
} // namespace parvane::test
