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

// The program as main() starts it, on a program folder whose zarbel.ini names a Korvix folder
// holding korvix.exe and a base, with a recording desktop in place of Korvix's windows.
struct StartedProgram
{
    explicit StartedProgram(bool desktopReachable = true)
    {
        const auto korvix = temp.path() / "korvix";
        parvane::test::writeFile(korvix / "korvix.exe", "#!/bin/sh\n");
        parvane::test::writeFile(temp.path() / "base" / "base" / "droite" / "A_1.txt", "");
        parvane::test::writeFile(temp.path() / "program" / "zarbel.ini",
                                 "[path]\r\nexe=" + korvix.string() + "/\r\ndroite=\\base\\droite\\\r\n"
                                     + "histo=\\base\\histo\\\r\nbase1=" + (temp.path() / "base").string()
                                     + "\r\nbase2=\r\nbase3=\r\n");
        auto desktop = std::make_unique<parvane::test::RecordingHostWindows>();
        desktop->reachable = desktopReachable;
        host = desktop.get();
        program = std::make_unique<ParvaneProgram>(temp.path() / "program", boxes, std::move(desktop));
    }

    void clickKorvix() { program->window().findChild<QPushButton*>(QStringLiteral("Command4"))->click(); }

    parvane::test::TempDir temp;
    parvane::test::RecordingMessageBoxes boxes;
    parvane::test::RecordingHostWindows* host = nullptr;
    std::unique_ptr<ParvaneProgram> program;
};

class ParvaneProgramTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void korvixButtonSwitchesToRunningKorvixAndTypesTheGroupKeys()
    {
        StartedProgram started;
        started.host->putOnTop(7, "Korvix");
        QVERIFY(started.program->startUp());

        started.program->window().findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(true);
        started.clickKorvix();

        QCOMPARE(started.host->activeWindow, parvane::host::WindowId{7});
        QCOMPARE(started.host->sentKeys.size(), std::size_t{1});
        QCOMPARE(parvane::test::keyNotation(started.host->sentKeys.front()), std::string("%fG"));
        QVERIFY(started.boxes.boxes.empty());
    }

    void korvixButtonSendsNoKeysWithoutGroupPreselection()
    {
        StartedProgram started;
        started.host->putOnTop(7, "Korvix");
        QVERIFY(started.program->startUp());

        started.clickKorvix();

        QCOMPARE(started.host->activeWindow, parvane::host::WindowId{7});
        QVERIFY(started.host->sentKeys.empty());
    }

    void unreachableDesktopIsReportedInAMessageBox()
    {
        StartedProgram started(false);
        QVERIFY(started.program->startUp());

        started.clickKorvix();

        QCOMPARE(started.boxes.boxes.size(), std::size_t{1});
        QCOMPARE(started.boxes.boxes.front().title, QStringLiteral("Parvane"));
    }

    void commentsStripIsLoadedHidden()
    {
        StartedProgram started;
        QVERIFY(started.program->startUp());
        QVERIFY(!started.program->commentsWindow().isVisible());
    }
};

QTEST_MAIN(ParvaneProgramTest)
#include "ParvaneProgramTest.moc"
