#include "host/KorvixWindow.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "core/scan/KorvixWindow.h"

namespace parvane::host {

namespace {

constexpr int kWaitStepMs = 50;

// A walk of the stacking order never needs more steps than there are windows; the bound guards
// against an order that keeps changing under the walk.
constexpr int kMaxWalkSteps = 100000;

} // namespace

bool isKorvixWindow(HostWindows& host, WindowId window)
{
    if (window == 0)
        return false;
    const std::string caption = host.windowCaption(window);
    const WindowClass windowClass = host.windowClass(window);
    return scan::isKorvixWindow({caption, windowClass.instance, windowClass.klass});
}

WindowId findKorvixWindow(HostWindows& host)
{
    // The walk down starts above the top-most window.
    WindowId window = host.nextWindow(0, StackDirection::Down);
    for (int step = 0; window != 0 && step < kMaxWalkSteps; ++step) {
        if (isKorvixWindow(host, window))
            return window;
        window = host.nextWindow(window, StackDirection::Down);
    }
    return 0;
}

KorvixWait waitForKorvixWindow(HostWindows& host, std::chrono::milliseconds limit,
                               const std::function<bool()>& cancelled)
{
    KorvixWait result;
    const auto look = [&] {
        const WindowId window = findKorvixWindow(host);
        if (window != 0 && host.isViewable(window))
            result.window = window;
        return result.window != 0;
    };
    if (look())
        return result;
    QElapsedTimer elapsed;
    elapsed.start();
    QEventLoop loop;
    QTimer timer;
    timer.setInterval(kWaitStepMs);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        if (cancelled && cancelled()) {
            loop.quit();
        } else if (look()) {
            loop.quit();
        } else if (elapsed.elapsed() >= limit.count()) {
            result.timedOut = true;
            loop.quit();
        }
    });
    timer.start();
    // The loop also ends when the application quits; the result then says neither found nor
    // timed out.
    loop.exec();
    return result;
}

} // namespace parvane::host
