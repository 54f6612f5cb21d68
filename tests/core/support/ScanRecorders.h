#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/scan/ResultsSink.h"
#include "core/scan/RunEnvironment.h"
#include "core/scan/ScanObserver.h"

namespace parvane::test {

// Fakes behind the scan's seams, recording what a run hands them.

// The moment of every test run: Tuesday 3 February 2026, 09:05:07.
inline scan::DateTime fixedMoment()
{
    scan::DateTime moment;
    moment.date = {2026, 2, 3};
    moment.hour = 9;
    moment.minute = 5;
    moment.second = 7;
    return moment;
}

// The results list: rows of seven texts, numbered from 1 as the sink's contract says.
class RecordingSink final : public scan::ResultsSink
{
public:
    using Row = std::array<std::string, scan::kResultColumnCount>;

    void clear() override { rows.clear(); }

    void addRow(const scan::RowIdentity& identity) override
    {
        rows.emplace_back();
        identities.push_back(identity);
    }

    // A row number outside the list throws, which fails the test.
    void setText(std::size_t row, scan::ResultColumn column, std::string_view text) override
    {
        rows.at(row - 1).at(static_cast<std::size_t>(column)) = std::string(text);
    }

    std::vector<Row> rows;
    std::vector<scan::RowIdentity> identities;
};

// What the window would show: status texts, the progress bar and the CSV label, in call order.
class RecordingObserver final : public scan::ScanObserver
{
public:
    void statusText(std::string_view text) override { statusTexts.emplace_back(text); }

    void progressShown(bool visible) override { progressVisible = visible; }

    void progressRange(double maximum) override { ranges.push_back(maximum); }

    void progressValue(double value) override { values.push_back(value); }

    void csvFileShown(const std::filesystem::path& file) override { csvFile = file; }

    void csvLabelHidden() override { csvFile.clear(); }

    bool afterStock(double progress) override
    {
        stockProgress.push_back(progress);
        return stockProgress.size() != stopAfter;
    }

    std::vector<std::string> statusTexts;
    std::vector<double> ranges;
    std::vector<double> values;
    std::vector<double> stockProgress;
    std::filesystem::path csvFile;
    bool progressVisible = false;
    std::size_t stopAfter = 0; // ends the run after this many stocks; 0 never
};

} // namespace parvane::test
