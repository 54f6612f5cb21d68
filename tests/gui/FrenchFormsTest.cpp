// Under a French system locale: Qt's own buttons in French, and the chart's numbers and dates in
// the system's forms (a table, under fr_FR.UTF-8 and C).

#include <cstdlib>

#include <QAbstractButton>
#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "dialogs/MessageBoxes.h"
#include "mainwindow/ChartView.h"
#include "qt/QtTranslations.h"

using parvane::mainwindow::ChartView;

class FrenchFormsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void confirmationBoxSaysAnnuler()
    {
        QVERIFY(parvane::qt::installQtTranslations(*QCoreApplication::instance()));
        QString cancel;
        QTimer::singleShot(0, [&cancel] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            cancel = box->button(QMessageBox::Cancel)->text();
            QTest::mouseClick(box->button(QMessageBox::Cancel), Qt::LeftButton);
        });
        parvane::dialogs::QtMessageBoxes boxes;
        QVERIFY(!boxes.confirm(nullptr, QStringLiteral("Parvane - Base(s)"), QStringLiteral("?")));
        QCOMPARE(cancel.remove(QLatin1Char('&')), QStringLiteral("Annuler"));
    }

    void chartTextsFollowTheLocale_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("separator");
        QTest::newRow("fr_FR") << QLocale(QLocale::French, QLocale::France) << QStringLiteral(",");
        QTest::newRow("C") << QLocale::c() << QStringLiteral(".");
    }

    void chartTextsFollowTheLocale()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, separator);
        // Closes 9033.08 and 9793.1 over a line at 9000: the pane runs from 8936.552 to 9856.548.
        QStringList texts = {QStringLiteral("8936.55"), QStringLiteral("9396.55"), QStringLiteral("9856.55"),
                             QStringLiteral("dernier 9033.08, ecart 0.43 %, croisement")};
        texts.replaceInStrings(QStringLiteral("."), separator);
        texts << QStringLiteral("02/02/2026") << QStringLiteral("03/02/2026");
        QLocale::setDefault(locale);
        parvane::scan::ChartModel model;
        model.bars = {{1, 9793.1, 100, "2026/02/02"}, {2, 9033.08, 120, "2026/02/03"}};
        model.intercept = 9000;
        model.hasLastBar = true;
        model.lastBar = 2;
        model.lastClose = 9033.08;
        model.gapPercent = -0.4321;
        model.crossing = true;
        ChartView view;
        view.setModel(model, QStringLiteral("ALPHA_FR0001 - droite 1 - DAILY"));
        QCOMPARE(view.texts(), QStringList{QStringLiteral("ALPHA_FR0001 - droite 1 - DAILY")} + texts);
        QLocale::setDefault(QLocale::system());
    }
};

int main(int argc, char* argv[])
{
    // The system's language, as a French desktop sets it.
    qputenv("LANG", "fr_FR.UTF-8");
    qputenv("LC_ALL", "fr_FR.UTF-8");
    QApplication application(argc, argv);
    FrenchFormsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FrenchFormsTest.moc"
