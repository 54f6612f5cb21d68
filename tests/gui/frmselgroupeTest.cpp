#include "dialogs/frmselgroupe.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "core/scan/Selection.h"
#include "support/RecordingMessageBoxes.h"

namespace {

namespace fs = std::filesystem;
using parvane::dialogs::frmselgroupe;
using parvane::scan::BaseLayout;
using parvane::scan::Selection;
using parvane::test::RecordingMessageBoxes;

void writeBytes(const fs::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// A base with group files and trend-line files in a temporary folder.
struct Base
{
    Base()
    {
        root = fs::path(dir.path().toStdString()) / "base1";
        fs::create_directories(root / "base" / "groupe");
        fs::create_directories(root / "base" / "droite");
        fs::create_directories(root / "base" / "histo");
    }

    // Names that are not UTF-8 are beyond QTemporaryDir's own clean-up.
    ~Base()
    {
        std::error_code error;
        fs::remove_all(root, error);
    }

    Base(const Base&) = delete;
    Base& operator=(const Base&) = delete;

    void group(const std::string& fileName, const std::string& bytes) const
    {
        writeBytes(root / "base" / "groupe" / fileName, bytes);
    }

    void trendLines(const std::vector<std::string>& fileNames) const
    {
        for (const std::string& name : fileNames)
            writeBytes(root / "base" / "droite" / name, "1;2;3\r\n");
    }

    BaseLayout layout() const { return BaseLayout::resolve(root, "\\base\\droite\\", "\\base\\histo\\"); }

    QTemporaryDir dir;
    fs::path root;
};

QTreeWidget* list(const frmselgroupe& dialog)
{
    return dialog.findChild<QTreeWidget*>(QStringLiteral("lv2"));
}

QStringList rows(const frmselgroupe& dialog)
{
    QStringList texts;
    for (int i = 0; i < list(dialog)->topLevelItemCount(); ++i)
        texts << list(dialog)->topLevelItem(i)->text(0);
    return texts;
}

void tick(const frmselgroupe& dialog, const QString& group)
{
    const QList<QTreeWidgetItem*> found = list(dialog)->findItems(group, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    found.front()->setCheckState(0, Qt::Checked);
}

void clickOk(const frmselgroupe& dialog)
{
    dialog.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
}

QStringList files(const Selection& selection)
{
    QStringList names;
    for (const std::string& name : selection.files)
        names << QString::fromStdString(name);
    return names;
}

} // namespace

class frmselgroupeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void listsTheGroupsUntickedWithoutAllTxt();
    void decodesWindows1252GroupNames();
    void stockInTwoGroupsIsSelectedOnce();
    void groupsWithoutTrendLineFilesSelectNothing();
    void noTickedRowClearsTheSelection();
    void annulerClearsTheSelection();
    void closingByTheFrameChangesNothing();
    void shortLinesArePassedOver();
    void linesLeadingOutOfTheBaseSelectNothing();

private:
    QWidget m_mainWindow;
    RecordingMessageBoxes m_boxes;
};

void frmselgroupeTest::init()
{
    // As the main window leaves it before it opens the dialog.
    m_mainWindow.setWindowTitle(QStringLiteral("Parvane"));
}

void frmselgroupeTest::listsTheGroupsUntickedWithoutAllTxt()
{
    Base base;
    base.group("All.txt", "120000\tALPHA\r\n");
    base.group("all.txt", "");
    base.group("GROUPEA.txt", "");
    base.group("b.TXT", "");
    base.group("notes.doc", "");
    fs::create_directory(base.root / "base" / "groupe" / "folder.txt");
    Selection selection;
    frmselgroupe dialog(nullptr, base.layout(), selection, &m_mainWindow, m_boxes);

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Parvane - Selection -"));
    QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
             QStringLiteral("SELECTIONNEZ LE OU LES GROUPES SUR LESQUELS EFFECTUER LE SCANNING"));
    QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("Label2"))->text(),
             QStringLiteral("* faire Annuler pour selectionner All."));
    QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("Command1"))->text(), QStringLiteral("OK!"));
    QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("Command2"))->text(), QStringLiteral("Annuler"));
    QVERIFY(dialog.findChild<QProgressBar*>(QStringLiteral("ProgressBar1")) != nullptr);

    QTreeWidget* lv2 = list(dialog);
    QCOMPARE(lv2->columnCount(), 1);
    QCOMPARE(lv2->headerItem()->text(0), QStringLiteral("groupes"));
    QCOMPARE(rows(dialog),
             (QStringList{QStringLiteral("all"), QStringLiteral("b"), QStringLiteral("GROUPEA")}));
    for (int i = 0; i < lv2->topLevelItemCount(); ++i) {
        QVERIFY(lv2->topLevelItem(i)->flags().testFlag(Qt::ItemIsUserCheckable));
        QCOMPARE(lv2->topLevelItem(i)->checkState(0), Qt::Unchecked);
    }
    const int caption = QFontMetrics(dialog.font()).horizontalAdvance(QStringLiteral("groupes"));
    QVERIFY(lv2->columnWidth(0) >= caption + 10);
}

void frmselgroupeTest::decodesWindows1252GroupNames()
{
    Base base;
    base.group("M\xE9nage.txt", "120000\tALPHA\r\n");
    base.trendLines({"ALPHA_120000.txt"});
    Selection selection;
    frmselgroupe dialog(nullptr, base.layout(), selection, &m_mainWindow, m_boxes);
    QCOMPARE(rows(dialog), QStringList(QString::fromUtf8("M\xC3\xA9nage")));
    tick(dialog, QString::fromUtf8("M\xC3\xA9nage"));
    clickOk(dialog);
    QVERIFY(selection.active);
    QCOMPARE(files(selection), QStringList(QStringLiteral("ALPHA_120000.txt")));
    QCOMPARE(m_mainWindow.windowTitle(), QString::fromUtf8("Parvane-M\xC3\xA9nage"));
}

void frmselgroupeTest::stockInTwoGroupsIsSelectedOnce()
{
    Base base;
    base.group("first.txt", "120000\tALPHA\r\n130000\tBETA\r\n150000\tNOLINES\r\n");
    base.group("second.txt", "130000\tBETA\r\n140000\tGAMMA\r\n");
    base.group("third.txt", "160000\tDELTA\r\n");
    base.trendLines({"ALPHA_120000.txt", "BETA_130000.txt", "GAMMA_140000.txt", "DELTA_160000.txt"});
    Selection selection;
    frmselgroupe dialog(nullptr, base.layout(), selection, &m_mainWindow, m_boxes);
    dialog.show();
    tick(dialog, QStringLiteral("second"));
    tick(dialog, QStringLiteral("first"));
    clickOk(dialog);

    QVERIFY(selection.active);
    QCOMPARE(files(selection),
             (QStringList{QStringLiteral("ALPHA_120000.txt"), QStringLiteral("BETA_130000.txt"),
                          QStringLiteral("GAMMA_140000.txt")}));
    QCOMPARE(m_mainWindow.windowTitle(), QStringLiteral("Parvane-first-second"));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    // Five lines: the bar runs to 5 + 1, counted in tenths, and goes back to its start (0.1).
    const auto* bar = dialog.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    QCOMPARE(bar->maximum(), 60);
    QCOMPARE(bar->value(), 1);
    QVERIFY(m_boxes.boxes.empty());
}

void frmselgroupeTest::groupsWithoutTrendLineFilesSelectNothing()
{
    Base base;
    base.group("first.txt", "120000\tALPHA\r\n");
    base.group("second.txt", "130000\tBETA");
    base.trendLines({"GAMMA_140000.txt"});
    Selection selection{true, {"OLD_1.txt"}};
    frmselgroupe dialog(nullptr, base.layout(), selection, &m_mainWindow, m_boxes);
    tick(dialog, QStringLiteral("first"));
    tick(dialog, QStringLiteral("second"));
    clickOk(dialog);
    QVERIFY(!selection.active);
    QCOMPARE(m_mainWindow.windowTitle(), QStringLiteral("Parvane"));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    // No trend-line file found: the bar never moved past its start.
    const auto* bar = dialog.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    QCOMPARE(bar->maximum(), 30);
    QCOMPARE(bar->value(), 1);
}

void frmselgroupeTest::noTickedRowClearsTheSelection()
{
    Base base;
    base.group("first.txt", "120000\tALPHA\r\n");
    base.trendLines({"ALPHA_120000.txt"});
    Selection selection{true, {"ALPHA_120000.txt"}};
    m_mainWindow.setWindowTitle(QStringLiteral("Parvane-first"));
    frmselgroupe dialog(nullptr, base.layout(), selection, &m_mainWindow, m_boxes);
    clickOk(dialog);
    QVERIFY(!selection.active);
    QCOMPARE(m_mainWindow.windowTitle(), QStringLiteral("Parvane"));
}

void frmselgroupeTest::annulerClearsTheSelection()
{
    Base base;
    base.group("first.txt", "120000\tALPHA\r\n");
    base.trendLines({"ALPHA_120000.txt"});
    Selection selection{true, {"ALPHA_120000.txt"}};
    m_mainWindow.setWindowTitle(QStringLiteral("Parvane-first"));
    frmselgroupe dialog(nullptr, base.layout(), selection, &m_mainWindow, m_boxes);
    dialog.show();
    tick(dialog, QStringLiteral("first"));
    dialog.findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    QVERIFY(!selection.active);
    QCOMPARE(m_mainWindow.windowTitle(), QStringLiteral("Parvane"));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void frmselgroupeTest::closingByTheFrameChangesNothing()
{
    Base base;
    base.group("first.txt", "120000\tALPHA\r\n");
    base.trendLines({"ALPHA_120000.txt"});
    Selection selection;
    frmselgroupe dialog(nullptr, base.layout(), selection, &m_mainWindow, m_boxes);
    dialog.show();
    tick(dialog, QStringLiteral("first"));
    QVERIFY(dialog.close());
    QVERIFY(!selection.active);
    QVERIFY(selection.files.empty());
    QCOMPARE(m_mainWindow.windowTitle(), QStringLiteral("Parvane"));
}

void frmselgroupeTest::shortLinesArePassedOver()
{
    Base base;
    // An empty line, a code alone, then a good line without a final line break.
    base.group("short.txt", "\r\n120000\r\n130000\tBETA");
    base.trendLines({"BETA_130000.txt", "_120000.txt", "_.txt"});
    Selection selection;
    frmselgroupe dialog(nullptr, base.layout(), selection, &m_mainWindow, m_boxes);
    tick(dialog, QStringLiteral("short"));
    clickOk(dialog);
    QVERIFY(selection.active);
    QCOMPARE(files(selection), QStringList(QStringLiteral("BETA_130000.txt")));
    QCOMPARE(m_mainWindow.windowTitle(), QStringLiteral("Parvane-short"));
}

void frmselgroupeTest::linesLeadingOutOfTheBaseSelectNothing()
{
    Base base;
    base.group("evil.txt", "x\t../evil\r\n..\tALPHA\r\n120000\tsub/ALPHA\r\n120000\tsub\\ALPHA\r\n");
    // Files that the lines would reach if they were followed.
    writeBytes(base.root / "base" / "evil_x.txt", "");
    fs::create_directories(base.root / "base" / "droite" / "sub");
    writeBytes(base.root / "base" / "droite" / "sub" / "ALPHA_120000.txt", "");
    writeBytes(base.root / "base" / "droite" / "ALPHA_...txt", "");
    Selection selection;
    frmselgroupe dialog(nullptr, base.layout(), selection, &m_mainWindow, m_boxes);
    tick(dialog, QStringLiteral("evil"));
    clickOk(dialog);
    QVERIFY(!selection.active);
    QCOMPARE(m_mainWindow.windowTitle(), QStringLiteral("Parvane"));
}

QTEST_MAIN(frmselgroupeTest)
#include "frmselgroupeTest.moc"
