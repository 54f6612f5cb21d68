#include "host/formcomm1.h"

#include <cmath>
#include <functional>

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "support/RecordingHostWindows.h"
#include "support/TestFiles.h"

namespace {

using parvane::host::formcomm1;
using parvane::host::WindowId;
using parvane::test::RecordingHostWindows;
using parvane::test::TempDir;
using parvane::test::writeFile;

constexpr int kWaitMs = 10000;

// A base with comments for ALPHA and BETA (Windows-1252, CR LF) and a desktop where Korvix shows
// ALPHA below an unrelated window.
class CommentsStrip : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeFile(temp.path() / "Bourse1/base/Comment/ALPHA_120000.txt",
                  "Support \xE0 12,50\r\nObjectif 15 \x80\r\n");
        writeFile(temp.path() / "Bourse1/base/Comment/BETA_200000.txt", "R\xE9sistance\r\n\r\nfin");
        host.putOnTop(kKorvix, "Korvix - Bourse1 - ALPHA");
        host.putOnTop(kOther, "Terminal");
    }

    std::string baseactive() const { return (temp.path() / "Bourse1").string(); }

    QListWidget* list() const { return strip.findChild<QListWidget*>(QStringLiteral("Listcomm1")); }

    QStringList lines() const
    {
        QStringList texts;
        for (int row = 0; row < list()->count(); ++row)
            texts.push_back(list()->item(row)->text());
        return texts;
    }

    // Runs commentaires() with `script` started from inside its polling loop; the strip is closed
    // (and the test fails) when polling outlasts `timeoutMs`.
    void follow(const std::function<void()>& script, int timeoutMs = 30000)
    {
        QTimer::singleShot(0, &strip, script);
        bool timedOut = false;
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &strip, [&] {
            timedOut = true;
            strip.close();
        });
        guard.start(timeoutMs);
        strip.commentaires();
        EXPECT_FALSE(timedOut) << "the polling did not end";
        EXPECT_FALSE(strip.isPolling());
        EXPECT_FALSE(strip.isVisible());
    }

    // Waits until the strip has polled Korvix's caption `rounds` more times.
    bool waitRounds(int rounds)
    {
        const int target = host.captionReads(kKorvix) + rounds;
        return QTest::qWaitFor([&] { return host.captionReads(kKorvix) >= target; }, kWaitMs);
    }

    static constexpr WindowId kKorvix = 11;
    static constexpr WindowId kOther = 12;
    TempDir temp;
    RecordingHostWindows host;
    formcomm1 strip{host, [this] { return baseactive(); }};
};

TEST_F(CommentsStrip, LoadsHiddenAtTheBottomOfTheScreenInTwips)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const double dpiX = screen->logicalDotsPerInchX();
    const double dpiY = screen->logicalDotsPerInchY();
    const auto px = [](int twips, double dpi) { return static_cast<int>(std::lround(twips * dpi / 1440)); };
    EXPECT_FALSE(strip.isVisible());
    EXPECT_EQ(strip.windowTitle(), QStringLiteral("Parvane - Commentaires"));
    EXPECT_EQ(strip.pos(), QPoint(screen->geometry().x() + px(150, dpiX),
                                  screen->geometry().bottom() + 1 - px(1800, dpiY)));
    EXPECT_EQ(strip.width(), screen->geometry().width() - px(300, dpiX));
    EXPECT_EQ(strip.height(), px(870, dpiY));
    EXPECT_EQ(list()->geometry(), QRect(px(195, dpiX), px(75, dpiY), px(10275, dpiX), px(690, dpiY)));
    const auto* bye = strip.findChild<QPushButton*>(QStringLiteral("Commandcomm1"));
    ASSERT_NE(bye, nullptr);
    EXPECT_EQ(bye->text(), QStringLiteral("BYE!"));
    EXPECT_TRUE(bye->font().bold());
    EXPECT_EQ(bye->geometry(), QRect(px(10620, dpiX), px(390, dpiY), px(600, dpiX), px(330, dpiY)));
    EXPECT_EQ(list()->palette().color(QPalette::Base), QColor(192, 192, 192));
    EXPECT_DOUBLE_EQ(list()->font().pointSizeF(), 6.75);
}

TEST_F(CommentsStrip, ShowsTheCommentOfTheDisplayedStockAndFollowsIt)
{
    WindowId own = 0;
    follow([&] {
        own = strip.winId();
        EXPECT_TRUE(strip.isVisible());
        EXPECT_EQ(strip.hostHandle(), kKorvix);
        EXPECT_EQ(lines(), (QStringList{QStringLiteral("Support à 12,50"), QStringLiteral("Objectif 15 €")}));
        EXPECT_EQ(strip.loadedKey(), "ALPHA_");
        host.setCaption(kKorvix, "Korvix - Bourse1 - BETA");
        EXPECT_TRUE(QTest::qWaitFor([&] { return strip.loadedKey() == "BETA_"; }, kWaitMs));
        EXPECT_EQ(lines(), (QStringList{QStringLiteral("Résistance"), QString(), QStringLiteral("fin")}));
        host.setCaption(kKorvix, "Korvix - Bourse1 - GAMMA");
        EXPECT_TRUE(QTest::qWaitFor([&] { return strip.loadedKey() == "GAMMA_"; }, kWaitMs));
        EXPECT_EQ(list()->count(), 0);
        host.remove(kKorvix);
    });
    ASSERT_FALSE(host.events.empty());
    EXPECT_EQ(host.events.front(), "topmost " + std::to_string(own) + " on");
}

TEST_F(CommentsStrip, ReadsTheFileOnceForTheSameStock)
{
    follow([&] {
        EXPECT_EQ(list()->count(), 2);
        writeFile(temp.path() / "Bourse1/base/Comment/ALPHA_120000.txt", "changed\r\n");
        EXPECT_TRUE(waitRounds(3));
        EXPECT_EQ(list()->count(), 2) << "the same stock must not be read again";
        host.setCaption(kKorvix, "Korvix - Bourse1 - BETA");
        EXPECT_TRUE(QTest::qWaitFor([&] { return strip.loadedKey() == "BETA_"; }, kWaitMs));
        host.setCaption(kKorvix, "Korvix - Bourse1 - ALPHA");
        EXPECT_TRUE(QTest::qWaitFor([&] { return strip.loadedKey() == "ALPHA_"; }, kWaitMs));
        EXPECT_EQ(lines(), QStringList{QStringLiteral("changed")});
        host.setCaption(kKorvix, "Korvix - Bourse1 -");
    });
}

TEST_F(CommentsStrip, ShowsTheFirstMatchingFileByName)
{
    writeFile(temp.path() / "Bourse1/base/Comment/ALPHA_100000.txt", "first\r\n");
    writeFile(temp.path() / "Bourse1/base/Comment/ALPHAB_1.txt", "other stock\r\n");
    follow([&] {
        EXPECT_EQ(lines(), QStringList{QStringLiteral("first")});
        host.remove(kKorvix);
    });
}

TEST_F(CommentsStrip, UnreadableCommentShowsAnEmptyListAndPollingGoesOn)
{
    std::filesystem::create_symlink(temp.path() / "missing",
                                    temp.path() / "Bourse1/base/Comment/GAMMA_1.txt");
    host.setCaption(kKorvix, "Korvix - Bourse1 - GAMMA");
    follow([&] {
        EXPECT_EQ(strip.loadedKey(), "GAMMA_");
        EXPECT_EQ(list()->count(), 0);
        EXPECT_TRUE(waitRounds(2));
        EXPECT_TRUE(strip.isPolling());
        host.setCaption(kKorvix, "Korvix - Bourse1 - ALPHA");
        EXPECT_TRUE(QTest::qWaitFor([&] { return list()->count() == 2; }, kWaitMs));
        host.remove(kKorvix);
    });
}

TEST_F(CommentsStrip, ReadsTheActiveBaseAtEveryLoad)
{
    std::string active = baseactive();
    formcomm1 other(host, [&] { return active; });
    writeFile(temp.path() / "Bourse2/Base/comment/BETA_1.txt", "base 2\r\n");
    QTimer::singleShot(0, &other, [&] {
        active = (temp.path() / "Bourse2").string();
        host.setCaption(kKorvix, "Korvix - Bourse2 - BETA");
        EXPECT_TRUE(QTest::qWaitFor([&] { return other.loadedKey() == "BETA_"; }, kWaitMs));
        const auto* otherList = other.findChild<QListWidget*>(QStringLiteral("Listcomm1"));
        EXPECT_EQ(otherList->count(), 1);
        EXPECT_EQ(otherList->item(0)->text(), QStringLiteral("base 2"));
        host.remove(kKorvix);
    });
    other.commentaires();
    EXPECT_FALSE(other.isPolling());
}

TEST_F(CommentsStrip, FindsKorvixAboveTheStripByTheUpwardSearch)
{
    host.putAtBottom(kOther, "Terminal");
    host.putOnTop(strip.winId(), "Parvane - Commentaires");
    host.putOnTop(kKorvix, "Korvix - Bourse1 - ALPHA");
    follow([&] {
        EXPECT_EQ(strip.hostHandle(), kKorvix);
        EXPECT_EQ(list()->count(), 2);
        host.remove(kKorvix);
    });
}

TEST_F(CommentsStrip, IdleKorvixOrNoKorvixClosesTheStripAtOnce)
{
    host.setCaption(kKorvix, "Korvix");
    strip.commentaires();
    EXPECT_EQ(strip.hostHandle(), 0u);
    EXPECT_FALSE(strip.isPolling());
    EXPECT_FALSE(strip.isVisible());
    EXPECT_EQ(list()->count(), 0);
}

TEST_F(CommentsStrip, ByeClosesTheStripAndEndsPolling)
{
    follow([&] { strip.findChild<QPushButton*>(QStringLiteral("Commandcomm1"))->click(); });
    EXPECT_EQ(strip.hostHandle(), kKorvix);
}

TEST_F(CommentsStrip, ClosingByOtherMeansEndsPolling)
{
    follow([&] { strip.close(); });
}

TEST_F(CommentsStrip, NestedOpeningEndsBothLoops)
{
    bool innerReturned = false;
    follow([&] {
        QTimer::singleShot(0, &strip, [&] {
            EXPECT_TRUE(strip.isPolling());
            EXPECT_TRUE(waitRounds(2));
            host.setCaption(kKorvix, "Korvix - Bourse1 -");
        });
        strip.commentaires();
        innerReturned = true;
        EXPECT_FALSE(strip.isPolling());
    });
    EXPECT_TRUE(innerReturned);
}

TEST_F(CommentsStrip, ReopeningShowsTheCommentOfTheSameStockAgain)
{
    follow([&] { strip.close(); });
    EXPECT_EQ(strip.loadedKey(), "ALPHA_");
    writeFile(temp.path() / "Bourse1/base/Comment/ALPHA_120000.txt", "changed\r\n");
    follow([&] {
        EXPECT_EQ(lines(), QStringList{QStringLiteral("changed")});
        host.remove(kKorvix);
    });
}

} // namespace
