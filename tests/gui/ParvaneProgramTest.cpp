#include "mainwindow/ParvaneProgram.h"

#include <memory>

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "host/formcomm1.h"
#include "mainwindow/tendancesForm1.h"
#include "support/RecordingHostWindows.h"
#include "support/RecordingMessageBoxes.h"
#include "support/TestFiles.h"

using parvane::mainwindow::ParvaneProgram;

// The program as main() starts it: the main window with its Korvix button, printer and dialogs
// wired.
class ParvaneProgramTest final : public QObject
{
    Q_OBJECT

private:
    // A program folder whose zarbel.ini names a Korvix folder holding korvix.exe and a base.
    void writeProgramFolder(const parvane::test::TempDir& temp)
    {
        const auto korvix = temp.path() / "korvix";
        parvane::test::writeFile(korvix / "korvix.exe", "#!/bin/sh\n");
        parvane::test::writeFile(temp.path() / "base" / "base" / "droite" / "A_1.txt", "");
        parvane::test::writeFile(temp.path() / "program" / "zarbel.ini",
                                 "[path]\r\nexe=" + korvix.string() + "/\r\ndroite=\\base\\droite\\\r\n"
                                     + "histo=\\base\\histo\\\r\nbase1=" + (temp.path() / "base").string()
                                     + "\r\nbase2=\r\nbase3=\r\n");
    }

private Q_SLOTS:

    void korvixButtonSwitchesToRunningKorvixAndTypesTheGroupKeys()
    {
        parvane::test::TempDir temp;
        writeProgramFolder(temp);
        auto desktop = std::make_unique<parvane::test::RecordingHostWindows>();
        parvane::test::RecordingHostWindows& host = *desktop;
        host.putOnTop(7, "Korvix");
        parvane::test::RecordingMessageBoxes boxes;
        ParvaneProgram program(temp.path() / "program", boxes, std::move(desktop));
        QVERIFY(program.startUp());

        program.window().findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(true);
        program.window().findChild<QPushButton*>(QStringLiteral("Command4"))->click();

        QCOMPARE(host.activeWindow, parvane::host::WindowId{7});
        QCOMPARE(host.sentKeys.size(), std::size_t{1});
        QCOMPARE(parvane::test::keyNotation(host.sentKeys.front()), std::string("%fG"));
        QVERIFY(boxes.boxes.empty());
    }

    void korvixButtonSendsNoKeysWithoutGroupPreselection()
    {
        parvane::test::TempDir temp;
        writeProgramFolder(temp);
        auto desktop = std::make_unique<parvane::test::RecordingHostWindows>();
        parvane::test::RecordingHostWindows& host = *desktop;
        host.putOnTop(7, "Korvix");
        parvane::test::RecordingMessageBoxes boxes;
        ParvaneProgram program(temp.path() / "program", boxes, std::move(desktop));
        QVERIFY(program.startUp());

        program.window().findChild<QPushButton*>(QStringLiteral("Command4"))->click();

        QCOMPARE(host.activeWindow, parvane::host::WindowId{7});
        QVERIFY(host.sentKeys.empty());
    }

    void unreachableDesktopIsReportedInAMessageBox()
    {
        parvane::test::TempDir temp;
        writeProgramFolder(temp);
        auto desktop = std::make_unique<parvane::test::RecordingHostWindows>();
        desktop->reachable = false;
        parvane::test::RecordingMessageBoxes boxes;
        ParvaneProgram program(temp.path() / "program", boxes, std::move(desktop));
        QVERIFY(program.startUp());

        program.window().findChild<QPushButton*>(QStringLiteral("Command4"))->click();

        QCOMPARE(boxes.boxes.size(), std::size_t{1});
        QCOMPARE(boxes.boxes.front().title, QStringLiteral("Parvane"));
    }

    void commentsStripIsLoadedHidden()
    {
        parvane::test::TempDir temp;
        writeProgramFolder(temp);
        parvane::test::RecordingMessageBoxes boxes;
        ParvaneProgram program(temp.path() / "program", boxes,
                               std::make_unique<parvane::test::RecordingHostWindows>());
        QVERIFY(program.startUp());
        QVERIFY(!program.commentsWindow().isVisible());
    }
};

QTEST_MAIN(ParvaneProgramTest)
#include "ParvaneProgramTest.moc"
