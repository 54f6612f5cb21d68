#include "host/formcomm1.h"

#include <cmath>

#include <QCloseEvent>
#include <QEventLoop>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

#include "core/evaluation/CommentFile.h"
#include "core/scan/CommentLookup.h"
#include "core/scan/KorvixCaption.h"
#include "core/scan/PathMapping.h"
#include "host/KorvixWindow.h"
#include "qt/TextConversion.h"

#include "ui_formcomm1.h"

namespace parvane::host {

namespace {

constexpr int kPollIntervalMs = 150;

// A walk of the stacking order never needs more steps than there are windows; the bound only
// guards against an order that keeps changing under the walk.
constexpr int kMaxWalkSteps = 100000;

constexpr int kTwipsPerInch = 1440;
constexpr double kSmallFontsPoints = 6.75;

// Designed client area and controls, in twips.
constexpr int kClientHeightTwips = 870;
constexpr QRect kListcomm1Twips(195, 75, 10275, 690);
constexpr QRect kCommandcomm1Twips(10620, 390, 600, 330);

// Window placement at load, in twips.
constexpr int kLeftTwips = 150;
constexpr int kBottomGapTwips = 1800;
constexpr int kWidthMarginTwips = 300;

int twipsToPixels(int twips, double dotsPerInch)
{
    return static_cast<int>(std::lround(twips * dotsPerInch / kTwipsPerInch));
}

QRect twipsToPixels(const QRect& twips, double dpiX, double dpiY)
{
    return {twipsToPixels(twips.x(), dpiX), twipsToPixels(twips.y(), dpiY),
            twipsToPixels(twips.width(), dpiX), twipsToPixels(twips.height(), dpiY)};
}

// "Small Fonts" is a Windows bitmap font; where it is missing the style hint lets the font system
// pick a plain sans-serif face of the same size.
QFont smallFonts(bool bold)
{
    QFont font(QStringLiteral("Small Fonts"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(kSmallFontsPoints);
    font.setBold(bold);
    return font;
}

} // namespace

formcomm1::formcomm1(HostWindows& host, BaseFolder baseactive, QWidget* parent,
                     std::chrono::milliseconds windowWait)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
    , m_ui(std::make_unique<Ui::formcomm1>())
    , m_host(host)
    , m_baseactive(std::move(baseactive))
    , m_windowWait(windowWait)
{
    m_ui->setupUi(this);
    // The strip follows Korvix; showing it must not take the keyboard away from Korvix.
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_ui->Listcomm1->setFont(smallFonts(false));
    m_ui->Commandcomm1->setFont(smallFonts(true));
    QPalette palette = m_ui->Listcomm1->palette();
    palette.setColor(QPalette::Base, QColor(192, 192, 192));
    m_ui->Listcomm1->setPalette(palette);
    m_pollTimer.setInterval(kPollIntervalMs);
    connect(&m_pollTimer, &QTimer::timeout, this, &formcomm1::pollOnce);
    connect(m_ui->Commandcomm1, &QPushButton::clicked, this, &formcomm1::Commandcomm1_Click);
    placeOnScreen();
}

formcomm1::~formcomm1() = default;

void formcomm1::placeOnScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpiX = screen ? screen->logicalDotsPerInchX() : 96.0;
    const double dpiY = screen ? screen->logicalDotsPerInchY() : 96.0;
    const QRect screenArea = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    m_ui->Listcomm1->setGeometry(twipsToPixels(kListcomm1Twips, dpiX, dpiY));
    m_ui->Commandcomm1->setGeometry(twipsToPixels(kCommandcomm1Twips, dpiX, dpiY));
    resize(screenArea.width() - twipsToPixels(kWidthMarginTwips, dpiX),
           twipsToPixels(kClientHeightTwips, dpiY));
    move(screenArea.x() + twipsToPixels(kLeftTwips, dpiX),
         screenArea.y() + screenArea.height() - twipsToPixels(kBottomGapTwips, dpiY));
}

void formcomm1::commentaires()
{
    show();
    // Every opening starts with an empty list, so the first round loads the comment even when
    // Korvix still shows the stock of the previous opening.
    m_ui->Listcomm1->clear();
    m_loadedKey.clear();
    m_polling = true;
    m_hostHandle = static_cast<WindowId>(winId());
    bool sens = true;
    recuphandlekorvix(sens);
    if (m_hostHandle == 0) {
        m_hostHandle = m_lastVisitedHandle;
        sens = false;
        recuphandlekorvix(sens);
    }
    if (m_hostHandle == 0) {
        // Korvix may just have been started: Wine takes seconds to show its window. The strip waits
        // for it, live, and a click on "BYE!" ends the wait.
        m_hostHandle = waitForKorvixWindow(m_host, m_windowWait, [this] { return !m_polling; }).window;
    }
    boucle();
}

void formcomm1::recuphandlekorvix(bool& sens)
{
    const StackDirection direction = sens ? StackDirection::Down : StackDirection::Up;
    for (int step = 0; m_hostHandle != 0; ++step) {
        if (step == kMaxWalkSteps) {
            m_hostHandle = 0;
            return;
        }
        if (isKorvixWindow(m_host, m_hostHandle))
            return;
        m_lastVisitedHandle = m_hostHandle;
        m_hostHandle = m_host.nextWindow(m_hostHandle, direction);
    }
}

void formcomm1::recupnomactionetcommentaire()
{
    m_caption = m_host.windowCaption(m_hostHandle);
    if (m_caption == scan::kKorvixIdleCaption) {
        // Korvix is running but shows no stock yet: the strip stays, empty, until it does.
        m_ui->Listcomm1->clear();
        m_loadedKey.clear();
        return;
    }
    std::optional<std::string> key = scan::stockKeyFromCaption(m_caption);
    if (!key) {
        m_polling = false;
        return;
    }
    m_stockKey = std::move(*key);
    if (m_stockKey == m_loadedKey)
        return;
    loadComments(m_stockKey);
    m_loadedKey = m_stockKey;
}

void formcomm1::loadComments(const std::string& key)
{
    m_ui->Listcomm1->clear();
    const std::filesystem::path root = scan::mapSettingsPath(m_baseactive ? m_baseactive() : std::string(),
                                                             scan::pathEnvironmentFromSystem());
    const std::optional<std::filesystem::path> file =
        scan::findCommentFile(scan::resolveUnderBase(root, "\\Base\\comment\\"), key);
    if (!file)
        return;
    std::vector<std::string> lines;
    // A file that cannot be read leaves the list empty for this stock.
    if (!evaluation::readCommentLines(*file, lines).ok())
        return;
    for (const std::string& line : lines)
        m_ui->Listcomm1->addItem(qt::fromWindows1252(line));
}

void formcomm1::boucle()
{
    WindowId own = static_cast<WindowId>(winId());
    bool topMost = true;
    SetTopMostWindow(own, topMost);
    if (m_polling)
        recupnomactionetcommentaire();
    if (m_polling) {
        // Rounds run on a timer inside a local event loop: the program stays live between them and
        // the strip costs next to no processor time. One timer serves all nested loops.
        QEventLoop loop;
        m_loops.push_back(&loop);
        m_pollTimer.start();
        loop.exec();
        m_loops.pop_back();
        if (m_loops.empty())
            m_pollTimer.stop();
    }
    close();
}

void formcomm1::pollOnce()
{
    if (m_polling)
        recupnomactionetcommentaire();
    if (!m_polling)
        stopPolling();
}

void formcomm1::stopPolling()
{
    m_polling = false;
    for (QEventLoop* loop : m_loops)
        loop->quit();
}

std::int32_t formcomm1::SetTopMostWindow(WindowId& hwnd, bool& Topmost)
{
    if (Topmost)
        return m_host.setTopMost(hwnd, true) ? 1 : 0;
    m_host.setTopMost(hwnd, false);
    return 0;
}

void formcomm1::Commandcomm1_Click()
{
    close();
}

void formcomm1::closeEvent(QCloseEvent* event)
{
    stopPolling();
    QWidget::closeEvent(event);
}

} // namespace parvane::host
