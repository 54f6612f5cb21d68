#include "mainwindow/ProgressObserver.h"

#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QString>

#include "qt/TextConversion.h"

namespace parvane::mainwindow {

namespace {

int barUnits(double value)
{
    const double scaled = std::round(value * ProgressObserver::kBarScale);
    if (!(scaled > 0))
        return 0;
    if (scaled >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(scaled);
}

} // namespace

ProgressObserver::ProgressObserver(QLabel& status, QProgressBar& bar, QLabel& csvLabel,
                                   std::function<bool()> keepGoing)
    : m_status(status)
    , m_bar(bar)
    , m_csvLabel(csvLabel)
    , m_keepGoing(std::move(keepGoing))
{
    m_sinceEvents.start();
}

void ProgressObserver::setBeforeEvents(std::function<void()> hook)
{
    m_beforeEvents = std::move(hook);
}

void ProgressObserver::statusText(std::string_view text)
{
    m_status.setText(qt::fromWindows1252(text));
    m_status.repaint();
    // "EXECUTION" comes between the listing of the base and the first stock.
    passIfDue();
}

void ProgressObserver::progressShown(bool visible)
{
    m_bar.setVisible(visible);
    // The bar shows before the list of stocks is made, long on a big base.
    passIfDue();
}

void ProgressObserver::progressRange(double maximum)
{
    m_bar.setRange(0, barUnits(maximum));
}

void ProgressObserver::progressValue(double value)
{
    m_bar.setValue(barUnits(value));
}

void ProgressObserver::csvFileShown(const std::filesystem::path& file)
{
    m_csvLabel.setText(qt::fromDiskPath(file));
    m_bar.hide();
    m_csvLabel.show();
}

void ProgressObserver::csvLabelHidden()
{
    m_csvLabel.hide();
}

bool ProgressObserver::afterStock(double progress)
{
    progressValue(progress);
    passIfDue();
    return !m_keepGoing || m_keepGoing();
}

void ProgressObserver::passIfDue()
{
    if (m_sinceEvents.elapsed() < kEventsIntervalMs)
        return;
    if (m_beforeEvents)
        m_beforeEvents();
    QCoreApplication::processEvents();
    m_sinceEvents.start();
}

} // namespace parvane::mainwindow
