#include "dialogs/frmselgroupe.h"

#include <string>

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "core/scan/Selection.h"
#include "support/RecordingMessageBoxes.h"
#include "support/TestBase.h"
#include "support/TestFiles.h"

namespace {

using namespace parvane::test;
using parvane::dialogs::frmselgroupe;
using parvane::scan::Selection;

// A base whose group files and stocks a test adds, the main window whose caption the dialog
// writes, and the dialog over them once open() is called.
struct Fixture
{
    Fixture() { caption.setWindowTitle(QStringLiteral("Parvane")); }

    void open()
    {
        dialog = std::make_unique<frmselgroupe>(
            nullptr, parvane::scan::BaseLayout::resolve(dir.path(), "\\base\\droite\\", "\\base\\histo\\"),
            selection, &caption, boxes);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }

    QTreeWidget* list() const { return dialog->findChild<QTreeWidget*>(QStringLiteral("lv2")); }

    // Ticks a row as the user does: select it, then the space bar.
    void tick(int row) const
    {
        list()->setFocus();
        list()->setCurrentItem(list()->topLevelItem(row));
        QTest::keyClick(list(), Qt::Key_Space);
        QCOMPARE(list()->topLevelItem(row)->checkState(0), Qt::Checked);
    }

    void click(const char* button) const
    {
        QTest::mouseClick(dialog->findChild<QPushButton*>(QString::fromUtf8(button)), Qt::LeftButton);
    }

    TempDir dir;
    TestBase base{dir.path()};
    QWidget caption;
    Selection selection{true, {"OLD_1.txt"}};
    RecordingMessageBoxes boxes;
    std::unique_ptr<frmselgroupe> dialog;
};

} // namespace

class frmselgroupeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void groupNamesAreReadAsOnTheDisk_data()
    {
        QTest::addColumn<QByteArray>("fileName");
        QTest::newRow("UTF-8, as Wine writes it") << QByteArray("\xC3\x89nergie.txt");
        QTest::newRow("Windows-1252 bytes") << QByteArray("\xC9nergie.txt");
    }

    void groupNamesAreReadAsOnTheDisk()
    {
        QFETCH(QByteArray, fileName);
        Fixture f;
        f.base.addGroup(fileName.toStdString(), "120000\tALPHA\r\n130000\tBETA\r\n");
        f.base.addGroup("All.txt", "120000\tALPHA\r\n");
        f.base.addGroup("b.txt", "130000\tBETA\r\n140000\tGAMMA\r\n");
        for (const char* stock : {"ALPHA_120000.txt", "BETA_130000.txt", "GAMMA_140000.txt"})
            f.base.addStock(stock, "1\r\n", std::nullopt);
        f.open();
        QCOMPARE(f.list()->topLevelItemCount(), 2);
        QCOMPARE(f.list()->findItems(QStringLiteral("\u00C9nergie"), Qt::MatchExactly).size(), 1);
        f.tick(0);
        f.tick(1);
        f.click("Command1");
        QVERIFY(f.selection.active);
        QCOMPARE(f.selection.files.size(), std::size_t{3});
        QVERIFY(f.caption.windowTitle().contains(QStringLiteral("-\u00C9nergie")));
        QVERIFY(f.boxes.boxes.empty());
    }

    // OK! without a tick, or Annuler, clears the selection.
    void noTickOrAnnulerClearsTheSelection()
    {
        for (const char* button : {"Command1", "Command2"}) {
            Fixture f;
            f.base.addGroup("first.txt", "120000\tALPHA\r\n");
            f.caption.setWindowTitle(QStringLiteral("Parvane-first"));
            f.open();
            f.click(button);
            QVERIFY(!f.selection.active);
            QCOMPARE(f.caption.windowTitle(), QStringLiteral("Parvane"));
            QVERIFY(!f.dialog->isVisible());
        }
    }
};

QTEST_MAIN(frmselgroupeTest)
#include "frmselgroupeTest.moc"
