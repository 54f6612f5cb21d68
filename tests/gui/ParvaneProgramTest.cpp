#include "mainwindow/ParvaneProgram.h"

#include <memory>

#include <QTest>

#include "mainwindow/tendancesForm1.h"
#include "support/RecordingHostWindows.h"
#include "support/RecordingMessageBoxes.h"
#include "support/TestFiles.h"

using parvane::mainwindow::ParvaneProgram;

// The program as main() starts it, on a program folder whose zarbel.ini names a Korvix folder
// holding korvix.exe and a base, with a recording desktop in place of Korvix's windows.
struct StartedProgram
{
    StartedProgram()
    {
        const auto korvix = temp.path() / "korvix";
        parvane::test::writeFile(korvix / "korvix.exe", "#!/bin/sh\n");
        parvane::test::writeFile(temp.path() / "base" / "base" / "droite" / "A_1.txt", "");
        parvane::test::writeFile(temp.path() / "program" / "zarbel.ini",
                                 "[path]\r\nexe=" + korvix.string() + "/\r\ndroite=\\base\\droite\\\r\n"
                                     + "histo=\\base\\histo\\\r\nbase1=" + (temp.path() / "base").string()
                                     + "\r\nbase2=\r\nbase3=\r\n");
        auto desktop = std::make_unique<parvane::test::RecordingHostWindows>();
        host = desktop.get();
        program = std::make_unique<ParvaneProgram>(temp.path() / "program", boxes, std::move(desktop));
    }

    void click(const char* name)
    {
        program->window().show();
        QTest::mouseClick(program->window().findChild<QWidget*>(QString::fromUtf8(name)), Qt::LeftButton);
    }

    parvane::test::TempDir temp;
    parvane::test::RecordingMessageBoxes boxes;
    parvane::test::RecordingHostWindows* host = nullptr;
    std::unique_ptr<ParvaneProgram> program;
};

class ParvaneProgramTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    // The rules of the Korvix command are the host layer's; here, that the window's boxes and
    // button reach it.
    void korvixButtonSwitchesToRunningKorvixWithTheGroupKeys()
    {
        StartedProgram started;
        started.host->putOnTop(7, "Korvix");
        QVERIFY(started.program->startUp());
        started.click("Check1");
        started.click("Command4");
        QCOMPARE(started.host->activeWindow, parvane::host::WindowId{7});
        QCOMPARE(started.host->sentKeys.size(), std::size_t{1});
        QCOMPARE(parvane::test::keyNotation(started.host->sentKeys.front()), std::string("%fG"));
        QVERIFY(started.boxes.boxes.empty());
    }
};

QTEST_MAIN(ParvaneProgramTest)
#include "ParvaneProgramTest.moc"
