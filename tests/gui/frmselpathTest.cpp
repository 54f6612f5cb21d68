#include "dialogs/frmselpath.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "dialogs/DrivePicker.h"
#include "dialogs/FolderPicker.h"
#include "support/RecordingMessageBoxes.h"

namespace {

namespace fs = std::filesystem;
using parvane::dialogs::DrivePicker;
using parvane::dialogs::FolderPicker;
using parvane::dialogs::frmselpath;
using parvane::test::RecordingMessageBoxes;

const QString kKorvixMissing =
    QStringLiteral("Korvix n'est pas a la position indiquee\ndans le fichier Zarbel.ini");

void writeBytes(const fs::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string readBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string canon(const fs::path& path)
{
    return fs::canonical(path).native();
}

QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

// A Wine prefix with drives c: (its drive_c, holding "Program Files") and d:, a program folder and
// a home folder, all in one temporary folder; $HOME and $WINEPREFIX point into it.
struct Sandbox
{
    explicit Sandbox(bool withPrefix = true)
    {
        root = fs::path(dir.path().toStdString());
        prefix = root / "wine";
        driveC = prefix / "drive_c";
        driveD = root / "d_drive";
        program = root / "prog";
        home = root / "home";
        fs::create_directories(program);
        fs::create_directories(home);
        if (withPrefix) {
            fs::create_directories(driveC / "Program Files");
            fs::create_directories(driveD);
            fs::create_directories(prefix / "dosdevices");
            fs::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
            fs::create_directory_symlink(driveD, prefix / "dosdevices" / "d:");
        }
        qputenv("HOME", QByteArray::fromStdString(home.native()));
        qputenv("WINEPREFIX", QByteArray::fromStdString(prefix.native()));
    }

    parvane::scan::PathEnvironment environment() const { return parvane::scan::PathEnvironment{prefix}; }

    fs::path ini() const { return program / "zarbel.ini"; }

    // Installs a korvix.exe in `folder` (created) and returns the folder without links.
    static std::string installKorvix(const fs::path& folder)
    {
        fs::create_directories(folder);
        writeBytes(folder / "korvix.exe", "MZ");
        return canon(folder);
    }

    QTemporaryDir dir;
    fs::path root, prefix, driveC, driveD, program, home;
};

template <typename T>
T* child(const QWidget& dialog, const char* name)
{
    T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
    if (widget == nullptr)
        qFatal("no control %s", name);
    return widget;
}

// The user picks the drive labelled `label` in a drive picker.
void chooseDrive(DrivePicker* drive, const QString& label)
{
    const int index = drive->driveIndexForLabel(label);
    QVERIFY(index >= 0);
    drive->setCurrentIndex(index);
    Q_EMIT drive->activated(index);
}

QString confirmation(const std::string& exe, const std::string& base1, const std::string& base2,
                     const std::string& base3)
{
    return QStringLiteral("Korvix: ") + q(exe) + QStringLiteral("\nBase1: ") + q(base1)
           + QStringLiteral("\nbase2: ") + q(base2) + QStringLiteral("\nbase3: ") + q(base3)
           + QStringLiteral("\nVerifiez la validite des selections."
                            "\nDans la majorite des cas, seule Base1 est renseignee");
}

std::string writtenSettings(const std::string& exe, const std::string& base1, const std::string& base2,
                            const std::string& base3)
{
    return "[path]\r\nexe=" + exe + "\r\ndroite=\\base\\droite\\\r\nhisto=\\base\\histo\\\r\nbase1=" + base1
           + "\r\nbase2=" + base2 + "\r\nbase3=" + base3 + "\r\n";
}

} // namespace

class frmselpathTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void showsEveryControlWithItsCaption();
    void firstStartWithoutKorvixOpensCompactOnProgramFiles();
    void firstStartWithoutPrefixOpensOnHome();
    void firstStartFindsKorvixAndWritesTheSixKeysInOrder();
    void writingKeepsOtherSectionsAndKeys();
    void movingDir1MovesBase1OnlyInCompactForm();
    void basesCommandOpensWideFormOnBase1();
    void driveRootEmptiesBase2AndBase3ButNotBase1();
    void rootOfTheLinuxFileSystemIsWrittenAsSlash();
    void cancelInConfirmationChangesNothing();
    void annulerWithoutSettingsAsksForKorvix();
    void annulerRefusesAStoredFolderWithoutKorvix();
    void annulerLeavesWhenTheStoredFolderHoldsKorvix();
    void okAfterARefusedAnnulerUsesThePickedFolder();
    void missingFoldersInTheFileDoNotStopTheDialog();
    void failedWriteKeepsTheDialogOpen();
    void closingByTheFrameNeitherChecksNorWrites();
    void aWideFontWidensTheCompactForm();
};

void frmselpathTest::initTestCase()
{
    // A font as narrow as the one the form was drawn for, so that the design widths hold.
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 7));
}

void frmselpathTest::showsEveryControlWithItsCaption()
{
    Sandbox sandbox;
    RecordingMessageBoxes boxes;
    frmselpath dialog(nullptr, sandbox.program, true, boxes, sandbox.environment());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Tarrow manager - Chemins"));
    QCOMPARE(child<QLabel>(dialog, "Label1")->text(), QStringLiteral("SELECTIONNEZ LE CHEMIN DE KORVIX"));
    QCOMPARE(child<QCheckBox>(dialog, "Check1")->text(),
             QStringLiteral("Base(s)  Korvix dans un autre repertoire"));
    QCOMPARE(child<QPushButton>(dialog, "Command1")->text(), QStringLiteral("OK!"));
    QCOMPARE(child<QPushButton>(dialog, "Command2")->text(), QStringLiteral("Annuler"));
    QCOMPARE(child<QLabel>(dialog, "Label2")->text(), QStringLiteral("CHEMIN CONTENANT LA BASE DE KORVIX"));
    QCOMPARE(child<QLabel>(dialog, "Label3")->text(),
             QStringLiteral("Plusieurs bases possibles, par defaut Base1"));
    QCOMPARE(child<QGroupBox>(dialog, "Frame3")->title(), QStringLiteral("Frame3"));
    QCOMPARE(child<QRadioButton>(dialog, "Option1")->text(), QStringLiteral("Base1"));
    QCOMPARE(child<QRadioButton>(dialog, "Option2")->text(), QStringLiteral("Base2"));
    QCOMPARE(child<QRadioButton>(dialog, "Option3")->text(), QStringLiteral("Base3"));
    QCOMPARE(child<QLabel>(dialog, "Label4")->text(),
             QStringLiteral("* Pour eliminer une selection, designez la racine. ex: c:\\"));
    child<QGroupBox>(dialog, "Frame1");
    child<QFrame>(dialog, "Line1");
    child<FolderPicker>(dialog, "Dir1");
    child<FolderPicker>(dialog, "Dir2");

    for (const char* name : {"Drive1", "Drive2"}) {
        const auto* drive = child<DrivePicker>(dialog, name);
        QCOMPARE(drive->count(), 3);
        QCOMPARE(drive->itemText(0), QStringLiteral("c:"));
        QCOMPARE(drive->itemText(1), QStringLiteral("d:"));
        QCOMPARE(drive->itemText(2), QStringLiteral("/"));
    }
}

void frmselpathTest::firstStartWithoutKorvixOpensCompactOnProgramFiles()
{
    Sandbox sandbox;
    RecordingMessageBoxes boxes;
    frmselpath dialog(nullptr, sandbox.program, false, boxes, sandbox.environment());
    dialog.show();

    const std::string programFiles = canon(sandbox.driveC / "Program Files");
    QCOMPARE(q(dialog.values().cheminexe), q(programFiles));
    QCOMPARE(q(dialog.values().cheminbase1), q(programFiles));
    QVERIFY(dialog.values().cheminbase2.empty());
    QVERIFY(dialog.values().cheminbase3.empty());
    QCOMPARE(q(child<FolderPicker>(dialog, "Dir1")->folder().native()), q(programFiles));
    QCOMPARE(q(child<FolderPicker>(dialog, "Dir2")->folder().native()), q(programFiles));
    QCOMPARE(child<DrivePicker>(dialog, "Drive1")->currentText(), QStringLiteral("c:"));

    QVERIFY(!child<QCheckBox>(dialog, "Check1")->isChecked());
    QVERIFY(child<FolderPicker>(dialog, "Dir1")->isVisible());
    for (const char* name : {"Frame2", "Label2", "Line1", "Drive2", "Dir2", "Frame3", "Label4"})
        QVERIFY2(!child<QWidget>(dialog, name)->isVisible(), name);
    QCOMPARE(dialog.width(), frmselpath::kCompactWidth);
    QVERIFY(child<QRadioButton>(dialog, "Option1")->isChecked());

    child<QPushButton>(dialog, "Command1")->click();
    QCOMPARE(boxes.boxes.size(), std::size_t{2});
    QVERIFY(boxes.boxes[0].withCancel);
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("Parvane - Chemins"));
    QCOMPARE(boxes.boxes[0].text, confirmation(programFiles, programFiles, "", ""));
    QVERIFY(!boxes.boxes[1].withCancel);
    QCOMPARE(boxes.boxes[1].title, QStringLiteral("Parvane"));
    QCOMPARE(boxes.boxes[1].text, kKorvixMissing);
    QVERIFY(dialog.isVisible());
    QVERIFY(!fs::exists(sandbox.ini()));
}

void frmselpathTest::firstStartWithoutPrefixOpensOnHome()
{
    Sandbox sandbox(false);
    RecordingMessageBoxes boxes;
    frmselpath dialog(nullptr, sandbox.program, false, boxes, sandbox.environment());
    QCOMPARE(q(dialog.values().cheminexe), q(canon(sandbox.home)));
    QCOMPARE(q(dialog.values().cheminbase1), q(canon(sandbox.home)));
    const auto* drive = child<DrivePicker>(dialog, "Drive1");
    QCOMPARE(drive->count(), 1);
    QCOMPARE(drive->currentText(), QStringLiteral("/"));
}

void frmselpathTest::firstStartFindsKorvixAndWritesTheSixKeysInOrder()
{
    Sandbox sandbox;
    // The probe ignores case, as Wine's file system does.
    const std::string korvix = Sandbox::installKorvix(sandbox.driveC / "Program Files" / "KORVIX 2.0");
    RecordingMessageBoxes boxes;
    frmselpath dialog(nullptr, sandbox.program, false, boxes, sandbox.environment());
    dialog.show();
    QCOMPARE(q(dialog.values().cheminexe), q(korvix));
    QCOMPARE(q(dialog.values().cheminbase1), q(korvix));

    child<QPushButton>(dialog, "Command1")->click();
    QCOMPARE(boxes.boxes.size(), std::size_t{1});
    QCOMPARE(boxes.boxes[0].text, confirmation(korvix, korvix, "", ""));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(q(readBytes(sandbox.ini())), q(writtenSettings(korvix + "/", korvix, "", "")));
}

void frmselpathTest::writingKeepsOtherSectionsAndKeys()
{
    Sandbox sandbox;
    const std::string korvix = Sandbox::installKorvix(sandbox.driveC / "Program Files" / "Korvix 2.0");
    fs::create_directories(sandbox.driveD / "Bourse");
    const std::string base1 = canon(sandbox.driveD / "Bourse");
    // Written by a Windows installation: Windows paths, other keys and sections.
    writeBytes(sandbox.ini(), "[general]\r\nlang=fr\r\n[PATH]\r\nbase1=d:\\bourse\r\n"
                              "exe=C:\\Program Files\\Korvix 2.0\\\r\nextra=keep\r\n\r\n[z]\r\nk=v\r\n");
    RecordingMessageBoxes boxes;
    frmselpath dialog(nullptr, sandbox.program, false, boxes, sandbox.environment());
    QCOMPARE(q(dialog.values().cheminexe), q(korvix));
    QCOMPARE(q(dialog.values().cheminbase1), q(base1));

    child<QPushButton>(dialog, "Command1")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(q(readBytes(sandbox.ini())),
             q("[general]\r\nlang=fr\r\n[PATH]\r\nbase1=" + base1 + "\r\nexe=" + korvix
               + "/\r\nextra=keep\r\ndroite=\\base\\droite\\\r\nhisto=\\base\\histo\\\r\nbase2=\r\nbase3=\r\n"
                 "\r\n[z]\r\nk=v\r\n"));
}

void frmselpathTest::movingDir1MovesBase1OnlyInCompactForm()
{
    Sandbox sandbox;
    fs::create_directories(sandbox.driveC / "Other" / "Inner");
    // A drive that is not ready: its link leads nowhere.
    fs::create_directory_symlink(sandbox.root / "no-disc", sandbox.prefix / "dosdevices" / "e:");
    const std::string driveC = canon(sandbox.driveC);
    RecordingMessageBoxes boxes;
    frmselpath dialog(nullptr, sandbox.program, false, boxes, sandbox.environment());
    auto* dir1 = child<FolderPicker>(dialog, "Dir1");

    // The user selects "Other" in the tree of c:.
    QTreeWidgetItem* top = dir1->topLevelItem(0);
    QCOMPARE(top->text(0), QStringLiteral("c:"));
    QTreeWidgetItem* other = nullptr;
    for (int i = 0; i < top->childCount(); ++i) {
        if (top->child(i)->text(0) == QStringLiteral("Other"))
            other = top->child(i);
    }
    QVERIFY(other != nullptr);
    dir1->setCurrentItem(other);
    QCOMPARE(q(dialog.values().cheminexe), q(driveC + "/Other"));
    QCOMPARE(q(dialog.values().cheminbase1), q(driveC + "/Other"));

    child<QCheckBox>(dialog, "Check1")->click();
    QVERIFY(dir1->setFolder(fs::path(driveC), QStringLiteral("c:"), fs::path(driveC) / "Other" / "Inner"));
    QCOMPARE(q(dialog.values().cheminexe), q(driveC + "/Other/Inner"));
    QCOMPARE(q(dialog.values().cheminbase1), q(driveC + "/Other"));

    // Choosing drive d: moves the picker to its root.
    auto* drive1 = child<DrivePicker>(dialog, "Drive1");
    chooseDrive(drive1, QStringLiteral("d:"));
    QCOMPARE(q(dialog.values().cheminexe), q(canon(sandbox.driveD)));

    chooseDrive(drive1, QStringLiteral("e:"));
    QCOMPARE(q(dialog.values().cheminexe), q(canon(sandbox.driveD)));
    QCOMPARE(q(dir1->folder().native()), q(canon(sandbox.driveD)));
    QCOMPARE(drive1->currentText(), QStringLiteral("d:"));
}

void frmselpathTest::basesCommandOpensWideFormOnBase1()
{
    Sandbox sandbox;
    const std::string korvix = Sandbox::installKorvix(sandbox.driveC / "Program Files" / "Korvix 2.0");
    fs::create_directories(sandbox.driveD / "Bourse");
    writeBytes(sandbox.ini(), "[path]\r\nexe=" + korvix + "/\r\nbase1=D:\\BOURSE\r\nbase2=\r\nbase3=\r\n");
    RecordingMessageBoxes boxes;
    frmselpath dialog(nullptr, sandbox.program, true, boxes, sandbox.environment());
    dialog.show();

    QVERIFY(child<QCheckBox>(dialog, "Check1")->isChecked());
    for (const char* name : {"Frame2", "Label2", "Line1", "Drive2", "Dir2", "Frame3", "Label4"})
        QVERIFY2(child<QWidget>(dialog, name)->isVisible(), name);
    QCOMPARE(dialog.width(), frmselpath::kWideWidth);
    QVERIFY(child<QRadioButton>(dialog, "Option1")->isChecked());
    const std::string bourse = canon(sandbox.driveD / "Bourse");
    QCOMPARE(q(child<FolderPicker>(dialog, "Dir2")->folder().native()), q(bourse));
    QCOMPARE(child<DrivePicker>(dialog, "Drive2")->currentText(), QStringLiteral("d:"));
    QCOMPARE(q(dialog.values().cheminexe), q(korvix));
    QCOMPARE(q(dialog.values().cheminbase1), q(bourse));

    // Unticking goes back to the compact form.
    child<QCheckBox>(dialog, "Check1")->click();
    QVERIFY(!child<QWidget>(dialog, "Dir2")->isVisible());
    QCOMPARE(dialog.width(), frmselpath::kCompactWidth);
}

void frmselpathTest::driveRootEmptiesBase2AndBase3ButNotBase1()
{
    Sandbox sandbox;
    const std::string korvix = Sandbox::installKorvix(sandbox.driveC / "Program Files" / "Korvix 2.0");
    fs::create_directories(sandbox.driveD / "b1");
    fs::create_directories(sandbox.driveD / "b2");
    fs::create_directories(sandbox.driveD / "b3");
    const std::string d = canon(sandbox.driveD);
    writeBytes(sandbox.ini(), "[path]\r\nexe=" + korvix + "/\r\nbase1=" + d + "/b1\r\nbase2=" + d
                                  + "/b2\r\nbase3=" + d + "/b3\r\n");
    RecordingMessageBoxes boxes;
    frmselpath dialog(nullptr, sandbox.program, true, boxes, sandbox.environment());
    auto* dir2 = child<FolderPicker>(dialog, "Dir2");
    auto* drive2 = child<DrivePicker>(dialog, "Drive2");

    child<QRadioButton>(dialog, "Option2")->click();
    QCOMPARE(q(dir2->folder().native()), q(d + "/b2"));
    chooseDrive(drive2, QStringLiteral("c:"));
    QVERIFY(dialog.values().cheminbase2.empty());
    QCOMPARE(q(dialog.values().cheminbase3), q(d + "/b3"));

    child<QRadioButton>(dialog, "Option3")->click();
    QVERIFY(dir2->setFolder(fs::path(d), QStringLiteral("d:"), fs::path(d)));
    QVERIFY(dialog.values().cheminbase3.empty());

    // An empty base opens the picker on the root of c:, which leaves it empty.
    child<QRadioButton>(dialog, "Option2")->click();
    QCOMPARE(q(dir2->folder().native()), q(canon(sandbox.driveC)));
    QCOMPARE(drive2->currentText(), QStringLiteral("c:"));
    QVERIFY(dialog.values().cheminbase2.empty());

    child<QRadioButton>(dialog, "Option1")->click();
    QCOMPARE(q(dir2->folder().native()), q(d + "/b1"));
    chooseDrive(drive2, QStringLiteral("d:"));
    QCOMPARE(q(dialog.values().cheminbase1), q(d));

    child<QPushButton>(dialog, "Command1")->click();
    QCOMPARE(boxes.boxes.size(), std::size_t{1});
    QCOMPARE(boxes.boxes[0].text, confirmation(korvix, d, "", ""));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    // Existing keys are replaced where they stand; the missing ones join the end of the section.
    QCOMPARE(q(readBytes(sandbox.ini())),
             q("[path]\r\nexe=" + korvix + "/\r\nbase1=" + d
               + "\r\nbase2=\r\nbase3=\r\ndroite=\\base\\droite\\\r\nhisto=\\base\\histo\\\r\n"));
}

void frmselpathTest::rootOfTheLinuxFileSystemIsWrittenAsSlash()
{
    Sandbox sandbox;
    const std::string korvix = Sandbox::installKorvix(sandbox.driveC / "Program Files" / "Korvix 2.0");
    RecordingMessageBoxes boxes;
    frmselpath dialog(nullptr, sandbox.program, true, boxes, sandbox.environment());
    chooseDrive(child<DrivePicker>(dialog, "Drive2"), QStringLiteral("/"));
    QCOMPARE(q(dialog.values().cheminbase1), QStringLiteral("/"));
    child<QPushButton>(dialog, "Command1")->click();
    QCOMPARE(q(readBytes(sandbox.ini())), q(writtenSettings(korvix + "/", "/", "", "")));
}

void frmselpathTest::cancelInConfirmationChangesNothing()
{
    Sandbox sandbox;
    const std::string korvix = Sandbox::installKorvix(sandbox.driveC / "Program Files" / "Korvix 2.0");
    const std::string before = "[path]\r\nexe=" + korvix + "/\r\nbase1=" + korvix + "\\\r\n";
    writeBytes(sandbox.ini(), before);
    RecordingMessageBoxes boxes;
    boxes.answers = {false};
    frmselpath dialog(nullptr, sandbox.program, true, boxes, sandbox.environment());
    dialog.show();
    const frmselpath::Values values = dialog.values();

    child<QPushButton>(dialog, "Command1")->click();
    QCOMPARE(boxes.boxes.size(), std::size_t{1});
    QVERIFY(dialog.isVisible());
    QCOMPARE(q(readBytes(sandbox.ini())), q(before));
    QCOMPARE(q(dialog.values().cheminexe), q(values.cheminexe));
    QCOMPARE(q(dialog.values().cheminbase1), q(values.cheminbase1));
    QCOMPARE(q(dialog.values().cheminbase2), q(values.cheminbase2));
    QCOMPARE(q(dialog.values().cheminbase3), q(values.cheminbase3));
}

void frmselpathTest::annulerWithoutSettingsAsksForKorvix()
{
    Sandbox sandbox;
    Sandbox::installKorvix(sandbox.driveC / "Program Files" / "Korvix 2.0");
    RecordingMessageBoxes boxes;
    frmselpath dialog(nullptr, sandbox.program, false, boxes, sandbox.environment());
    dialog.show();
    child<QPushButton>(dialog, "Command2")->click();
    QCOMPARE(boxes.boxes.size(), std::size_t{1});
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("Parvane"));
    QCOMPARE(boxes.boxes[0].text, QStringLiteral("Vous devez renseigner la position de Korvix"));
    QVERIFY(dialog.isVisible());
    QVERIFY(!fs::exists(sandbox.ini()));
}

void frmselpathTest::annulerRefusesAStoredFolderWithoutKorvix()
{
    Sandbox sandbox;
    const std::string before = "[path]\r\nexe=C:\\Program Files\\\r\nbase1=c:\\\r\n";
    writeBytes(sandbox.ini(), before);
    RecordingMessageBoxes boxes;
    frmselpath dialog(nullptr, sandbox.program, false, boxes, sandbox.environment());
    dialog.show();
    child<QPushButton>(dialog, "Command2")->click();
    QCOMPARE(boxes.boxes.size(), std::size_t{1});
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("Parvane"));
    QCOMPARE(boxes.boxes[0].text, kKorvixMissing);
    QVERIFY(dialog.isVisible());
    QCOMPARE(q(readBytes(sandbox.ini())), q(before));
}

void frmselpathTest::annulerLeavesWhenTheStoredFolderHoldsKorvix()
{
    Sandbox sandbox;
    const std::string korvix = Sandbox::installKorvix(sandbox.driveC / "Program Files" / "Korvix 2.0");
    // A Windows text with its final separator, then a Linux one: "\korvix.exe" is appended to both.
    for (const std::string& exe : {std::string("C:\\program files\\korvix 2.0\\"), korvix + "/"}) {
        const std::string before = "[path]\r\nexe=" + exe + "\r\nbase1=" + korvix + "\r\n";
        writeBytes(sandbox.ini(), before);
        RecordingMessageBoxes boxes;
        frmselpath dialog(nullptr, sandbox.program, false, boxes, sandbox.environment());
        dialog.show();
        child<QPushButton>(dialog, "Command2")->click();
        QVERIFY(boxes.boxes.empty());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(q(readBytes(sandbox.ini())), q(before));
    }
}

void frmselpathTest::okAfterARefusedAnnulerUsesThePickedFolder()
{
    Sandbox sandbox;
    const std::string korvix = Sandbox::installKorvix(sandbox.driveC / "Program Files" / "Korvix 2.0");
    writeBytes(sandbox.ini(), "[path]\r\nexe=\r\n");
    RecordingMessageBoxes boxes;
    frmselpath dialog(nullptr, sandbox.program, false, boxes, sandbox.environment());
    auto* dir1 = child<FolderPicker>(dialog, "Dir1");
    const fs::path driveC = fs::canonical(sandbox.driveC);
    QVERIFY(dir1->setFolder(driveC, QStringLiteral("c:"), fs::path(korvix)));

    child<QPushButton>(dialog, "Command2")->click();
    QCOMPARE(boxes.boxes.size(), std::size_t{1});
    QCOMPARE(q(dialog.values().cheminexe), q(korvix));
    child<QPushButton>(dialog, "Command1")->click();
    QCOMPARE(boxes.boxes.size(), std::size_t{2});
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(q(readBytes(sandbox.ini())),
             q("[path]\r\nexe=" + korvix + "/\r\ndroite=\\base\\droite\\\r\nhisto=\\base\\histo\\\r\nbase1="
               + korvix + "\r\nbase2=\r\nbase3=\r\n"));
}

void frmselpathTest::missingFoldersInTheFileDoNotStopTheDialog()
{
    Sandbox sandbox;
    writeBytes(sandbox.ini(), "[path]\r\nexe=C:\\Nowhere\\\r\nbase1=/no/such/base\r\nbase2=d:\\gone\r\n");
    RecordingMessageBoxes boxes;
    frmselpath dialog(nullptr, sandbox.program, true, boxes, sandbox.environment());
    dialog.show();
    QCOMPARE(q(child<FolderPicker>(dialog, "Dir1")->folder().native()), q(canon(sandbox.home)));
    QCOMPARE(q(child<FolderPicker>(dialog, "Dir2")->folder().native()), q(canon(sandbox.home)));
    QCOMPARE(q(dialog.values().cheminexe), QStringLiteral("C:\\Nowhere"));
    QCOMPARE(q(dialog.values().cheminbase1), QStringLiteral("/no/such/base"));
    QCOMPARE(q(dialog.values().cheminbase2), QStringLiteral("d:\\gone"));

    child<QPushButton>(dialog, "Command1")->click();
    QCOMPARE(boxes.boxes.size(), std::size_t{2});
    QCOMPARE(boxes.boxes[0].text, confirmation("C:\\Nowhere", "/no/such/base", "d:\\gone", ""));
    QCOMPARE(boxes.boxes[1].text, kKorvixMissing);
    QVERIFY(dialog.isVisible());
}

void frmselpathTest::failedWriteKeepsTheDialogOpen()
{
    Sandbox sandbox;
    Sandbox::installKorvix(sandbox.driveC / "Program Files" / "Korvix 2.0");
    // A program "folder" that is a file: zarbel.ini cannot be created in it.
    const fs::path notAFolder = sandbox.root / "file";
    writeBytes(notAFolder, "x");
    RecordingMessageBoxes boxes;
    frmselpath dialog(nullptr, notAFolder, false, boxes, sandbox.environment());
    dialog.show();
    child<QPushButton>(dialog, "Command1")->click();
    QCOMPARE(boxes.boxes.size(), std::size_t{2});
    QCOMPARE(boxes.boxes[1].title, QStringLiteral("Parvane"));
    QVERIFY(boxes.boxes[1].text.startsWith(QStringLiteral("Le fichier Zarbel.ini n'a pas pu etre ecrit:\n")));
    QVERIFY(dialog.isVisible());
}

void frmselpathTest::closingByTheFrameNeitherChecksNorWrites()
{
    Sandbox sandbox;
    RecordingMessageBoxes boxes;
    frmselpath dialog(nullptr, sandbox.program, false, boxes, sandbox.environment());
    dialog.show();
    QVERIFY(dialog.close());
    QVERIFY(boxes.boxes.empty());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!fs::exists(sandbox.ini()));
}

void frmselpathTest::aWideFontWidensTheCompactForm()
{
    const QFont narrow = QApplication::font();
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 14));
    Sandbox sandbox;
    RecordingMessageBoxes boxes;
    frmselpath dialog(nullptr, sandbox.program, false, boxes, sandbox.environment());
    dialog.show();
    const auto* check1 = child<QCheckBox>(dialog, "Check1");
    QVERIFY(dialog.width() > frmselpath::kCompactWidth);
    QVERIFY(check1->width() >= check1->sizeHint().width());
    QVERIFY(check1->geometry().right() < dialog.width());
    QApplication::setFont(narrow);
}

QTEST_MAIN(frmselpathTest)
#include "frmselpathTest.moc"
