#include "dialogs/frmselpath.h"

#include <filesystem>
#include <memory>
#include <string>

#include <QComboBox>
#include <QTest>

#include "support/RecordingMessageBoxes.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using namespace parvane::test;
using parvane::dialogs::frmselpath;

// A Wine prefix with drives c: (holding "Program Files") and d:, a program folder and a home
// folder, all in one temporary folder; $HOME and $WINEPREFIX point into it.
struct Fixture
{
    Fixture()
    {
        fs::create_directories(driveC() / "Program Files");
        fs::create_directories(dir.path() / "prog");
        fs::create_directories(dir.path() / "home");
        fs::create_directories(prefix() / "dosdevices");
        fs::create_directory_symlink("../drive_c", prefix() / "dosdevices" / "c:");
        qputenv("HOME", QByteArray::fromStdString((dir.path() / "home").native()));
        qputenv("WINEPREFIX", QByteArray::fromStdString(prefix().native()));
    }

    fs::path prefix() const { return dir.path() / "wine"; }

    fs::path driveC() const { return prefix() / "drive_c"; }

    fs::path ini() const { return dir.path() / "prog" / "zarbel.ini"; }

    // Installs a korvix.exe in `folder` and returns the folder without links.
    static std::string installKorvix(const fs::path& folder)
    {
        writeFile(folder / "korvix.exe", "MZ");
        return fs::canonical(folder).native();
    }

    void open()
    {
        dialog = std::make_unique<frmselpath>(nullptr, dir.path() / "prog", false, boxes,
                                              parvane::scan::PathEnvironment{prefix()});
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }

    void click(const char* name) const
    {
        QTest::mouseClick(dialog->findChild<QWidget*>(QString::fromUtf8(name)), Qt::LeftButton);
    }

    TempDir dir;
    RecordingMessageBoxes boxes;
    std::unique_ptr<frmselpath> dialog;
};

std::string settings(const std::string& exe, const std::string& base1)
{
    return "[path]\r\nexe=" + exe + "\r\ndroite=\\base\\droite\\\r\nhisto=\\base\\histo\\\r\nbase1=" + base1
           + "\r\nbase2=\r\nbase3=\r\n";
}

} // namespace

class frmselpathTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void firstStartFindsKorvixAndWritesTheSettings()
    {
        Fixture f;
        // The probe ignores case, as Wine's file system does.
        const std::string korvix = Fixture::installKorvix(f.driveC() / "Program Files" / "KORVIX 2.0");
        f.open();
        f.click("Command1");
        QCOMPARE(f.boxes.boxes.size(), std::size_t{1});
        QVERIFY(
            f.boxes.boxes[0].text.startsWith(QStringLiteral("Korvix: ") + QString::fromStdString(korvix)));
        QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
        QCOMPARE(readFile(f.ini()), settings(korvix + "/", korvix));
    }

    void annulerLeavesOnlyForAStoredKorvix_data()
    {
        QTest::addColumn<QString>("exe");
        QTest::addColumn<QString>("message");
        QTest::newRow("no settings") << QString()
                                     << QStringLiteral("Vous devez renseigner la position de Korvix");
        QTest::newRow("no korvix.exe there")
            << QStringLiteral("C:\\Program Files\\")
            << QStringLiteral("Korvix n'est pas a la position indiquee\ndans le fichier Zarbel.ini");
        QTest::newRow("Windows text, any case")
            << QStringLiteral("C:\\program files\\korvix 2.0\\") << QString();
    }

    void annulerLeavesOnlyForAStoredKorvix()
    {
        QFETCH(QString, exe);
        QFETCH(QString, message);
        Fixture f;
        Fixture::installKorvix(f.driveC() / "Program Files" / "Korvix 2.0");
        const std::string stored = exe.toStdString();
        const std::string before = stored.empty() ? std::string() : "[path]\r\nexe=" + stored + "\r\n";
        if (!before.empty())
            writeFile(f.ini(), before);
        f.open();
        f.click("Command2");
        QCOMPARE(f.boxes.boxes.size(), std::size_t{message.isEmpty() ? 0U : 1U});
        if (!message.isEmpty())
            QCOMPARE(f.boxes.boxes[0].text, message);
        QCOMPARE(f.dialog->isVisible(), !message.isEmpty());
        QCOMPARE(readFile(f.ini()), before);
    }

    void refusedOrFailedSaveKeepsTheDialogOpen()
    {
        Fixture f;
        Fixture::installKorvix(f.driveC() / "Program Files" / "Korvix 2.0");
        f.boxes.answers = {false};
        f.open();
        f.click("Command1");
        QVERIFY(f.dialog->isVisible());
        QVERIFY(!fs::exists(f.ini()));

        // A settings file that is a folder cannot be written: the user is told, nothing is lost.
        fs::create_directories(f.ini());
        f.click("Command1");
        QCOMPARE(f.boxes.boxes.size(), std::size_t{3});
        QVERIFY(f.boxes.boxes[2].text.startsWith(
            QStringLiteral("Le fichier Zarbel.ini n'a pas pu etre ecrit:\n")));
        QVERIFY(f.dialog->isVisible());
    }
};

QTEST_MAIN(frmselpathTest)
#include "frmselpathTest.moc"
