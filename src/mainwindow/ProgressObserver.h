#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

#include <QElapsedTimer>
#include <QtGlobal>

#include "core/scan/ScanObserver.h"

class QLabel;
class QProgressBar;

namespace parvane::mainwindow {

// Shows a run in the main window: the status label Label8, the progress bar ProgressBar1 and the
// label Label14 with the CSV file's path. The bar takes the run's fractional values (0.1, 2.1 ...)
// in hundredths. After each stock, when kEventsIntervalMs have gone by since the last time, the
// pending events are processed, so that the window stays live during a run without paying an event
// loop pass per stock; `keepGoing` is asked after each stock and ends the run when it returns false
// (the window is closing). The widgets must outlive the observer.
class ProgressObserver final : public scan::ScanObserver
{
    Q_DISABLE_COPY_MOVE(ProgressObserver)

public:
    // Hundredths of a progress unit per bar step.
    static constexpr double kBarScale = 100.0;

    // The longest time between two passes of the event loop during a walk, scan time aside.
    static constexpr qint64 kEventsIntervalMs = 15;

    ProgressObserver(QLabel& status, QProgressBar& bar, QLabel& csvLabel, std::function<bool()> keepGoing);

    // Runs just before each pass of the event loop (the results list takes its new rows there).
    void setBeforeEvents(std::function<void()> hook);

    // `text` is Windows-1252; the label is repainted at once, then the pending events are processed
    // as after a stock.
    void statusText(std::string_view text) override;
    // Processes the pending events as after a stock.
    void progressShown(bool visible) override;
    void progressRange(double maximum) override;
    void progressValue(double value) override;
    // Shows the path in Label14 in place of the bar.
    void csvFileShown(const std::filesystem::path& file) override;
    void csvLabelHidden() override;
    bool afterStock(double progress) override;

private:
    // Processes the pending events when kEventsIntervalMs have gone by since the last time.
    void passIfDue();

    QLabel& m_status;
    QProgressBar& m_bar;
    QLabel& m_csvLabel;
    std::function<bool()> m_keepGoing;
    std::function<void()> m_beforeEvents;
    QElapsedTimer m_sinceEvents;
};

} // namespace parvane::mainwindow
