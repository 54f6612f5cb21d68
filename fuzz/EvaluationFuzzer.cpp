// One stock's evaluation from arbitrary trend-line and history bytes. The input is cut at its
// first 0xFF byte: the trend-line file before it, the history after it (no history file without
// the separator). Every option is on, so that every path of calculecart can be reached.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "core/evaluation/Evaluation.h"
#include "core/text/TextLines.h"

namespace {

class NullOutputs final : public parvane::evaluation::EvaluationOutputs
{
public:
    void addRow(const parvane::evaluation::ResultRow& row) override { m_size += row.action.size(); }

    void writeCrossingGroupLine(std::string_view line) override { m_size += line.size(); }

    void writeProximityGroupLine(std::string_view line) override { m_size += line.size(); }

    void writeCsvLine(std::string_view line) override { m_size += line.size(); }

    void logError(std::string_view subject, std::string_view message) override
    {
        m_size += subject.size() + message.size();
    }

private:
    std::size_t m_size = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace parvane::evaluation;
    const std::string_view input = parvane::fuzz::asText(data, size);
    const std::size_t cut = input.find('\xFF');
    const std::string_view trendLines = input.substr(0, cut);

    static const std::filesystem::path history = parvane::fuzz::processFolder() / "ACME_FR0001.txt";
    static const std::filesystem::path missing = parvane::fuzz::processFolder() / "missing.txt";
    StockFiles stock;
    stock.fileName = "ACME_FR0001.txt";
    stock.name = "ACME";
    stock.code = "FR0001";
    if (cut == std::string_view::npos) {
        stock.history = missing;
    } else {
        parvane::fuzz::writeBytes(history, input.substr(cut + 1));
        stock.history = history;
    }

    std::vector<std::string_view> lines;
    parvane::text::forEachLine(trendLines, [&](std::string_view line) {
        if (lines.size() < 100)
            lines.push_back(line);
    });

    EvaluationSettings settings;
    settings.proximity = true;
    settings.daily = true;
    settings.weekly = true;
    settings.crossing = true;
    settings.volumeFilter = true;
    settings.csvFile = true;
    settings.maxGap = 5;
    settings.volumeThreshold = 1;
    settings.decimalSeparator = ',';
    NullOutputs outputs;
    StockEvaluator evaluator(settings, outputs);
    evaluator.startRun();
    evaluator.transforme(stock, lines, "ACME_FR0001.txt");
    return 0;
}
