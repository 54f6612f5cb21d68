#pragma once

#include <filesystem>
#include <string_view>

namespace parvane::scan {

// What a run shows while it goes: the window's status label, progress bar and CSV label. Every
// function has an empty default, so that a headless caller overrides only what it shows.
class ScanObserver
{
public:
    virtual ~ScanObserver() = default;

    // Label8's text ("EXECUTION" during a walk); to be painted at once, as no event is processed
    // before the walk starts.
    virtual void statusText(std::string_view /*text*/) {}

    // ProgressBar1: shown, range 0 to `maximum`, value.
    virtual void progressShown(bool /*visible*/) {}

    virtual void progressRange(double /*maximum*/) {}

    virtual void progressValue(double /*value*/) {}

    // Label14: the CSV file's full path, shown in place of the bar after a run that wrote it.
    virtual void csvFileShown(const std::filesystem::path& /*file*/) {}

    virtual void csvLabelHidden() {}

    // Called after each stock with the bar's new value. The window processes pending events here.
    // Returns false to end the run at once (the window is closing): the result files are closed as
    // they stand.
    virtual bool afterStock(double /*progress*/) { return true; }
};

} // namespace parvane::scan
