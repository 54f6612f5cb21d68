#include "core/scan/StockAccount.h"

#include <cmath>

#include "core/evaluation/Evaluation.h"
#include "core/evaluation/LogMessages.h"
#include "core/evaluation/NumberRules.h"
#include "core/scan/FolderIndex.h"
#include "core/scan/GroupFile.h"
#include "core/scan/ScanDriver.h"
#include "core/text/FileRead.h"
#include "core/text/TextLines.h"

namespace parvane::scan {

namespace {

constexpr std::size_t kMaxTrendLines = 100;

// Outputs that keep nothing but the error-log messages, for the account.
class AccountOutputs final : public evaluation::EvaluationOutputs
{
public:
    explicit AccountOutputs(std::vector<std::string>& messages)
        : m_messages(messages)
    {}

    void addRow(const evaluation::ResultRow&) override {}

    void writeCrossingGroupLine(std::string_view) override {}

    void writeProximityGroupLine(std::string_view) override {}

    void writeCsvLine(std::string_view) override {}

    void logError(std::string_view subject, std::string_view message) override
    {
        m_messages.push_back(std::string(subject) + std::string(message));
    }

private:
    std::vector<std::string>& m_messages;
};

class AccountCollector final : public evaluation::EvaluationObserver
{
public:
    explicit AccountCollector(std::vector<evaluation::TrendLineAccount>& lines)
        : m_lines(lines)
    {}

    void trendLineDone(const evaluation::TrendLineAccount& account) override { m_lines.push_back(account); }

private:
    std::vector<evaluation::TrendLineAccount>& m_lines;
};

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<StockAccount> explainStock(const BaseLayout& layout, const ScanOptions& options,
                                         std::string_view nameCode, char decimalSeparator)
{
    // A name is looked up inside the base's folders only: no separator may lead out of them.
    if (nameCode.empty() || nameCode.find_first_of(std::string_view("/\\\0", 3)) != std::string_view::npos)
        return std::nullopt;
    const std::string fileName = std::string(nameCode) + ".txt";
    StockAccount account;
    FolderIndex trendLines(layout.droite);
    FolderIndex histories(layout.histo);
    if (auto found = trendLines.findFile(fileName)) {
        account.trendLineFile = std::move(*found);
        account.fileName = account.trendLineFile.filename().string();
    } else if (auto history = histories.findFile(fileName)) {
        account.fileName = history->filename().string();
    } else {
        return std::nullopt;
    }
    account.historyFile = histories.resolve(account.fileName);
    if (account.trendLineFile.empty())
        return account;

    const std::string pathText = account.trendLineFile.string();
    const auto stockName = splitStockFileName(account.fileName);
    if (!stockName) {
        account.messages.push_back(pathText + std::string(evaluation::kMessageNoUnderscore));
        return account;
    }
    std::string buffer;
    if (const text::FileStatus status = text::readWholeFile(account.trendLineFile, buffer); !status.ok()) {
        account.messages.push_back(pathText + failureMessage(status.code, status.isMissing()));
        return account;
    }
    std::vector<std::string_view> lines;
    text::forEachLine(buffer, [&](std::string_view line) { lines.push_back(line); });
    if (lines.size() > kMaxTrendLines) {
        account.tooManyLines = true;
        account.messages.push_back(pathText + std::string(evaluation::kMessageTooManyLines));
        return account;
    }

    evaluation::StockFiles stock;
    stock.fileName = account.fileName;
    stock.name = stockName->name;
    stock.code = stockName->code;
    stock.history = account.historyFile;

    AccountOutputs outputs(account.messages);
    AccountCollector collector(account.lines);
    evaluation::StockEvaluator evaluator(evaluationSettings(options, decimalSeparator), outputs);
    evaluator.setObserver(&collector);
    evaluator.startRun();
    evaluator.transforme(stock, lines, pathText);

    for (std::size_t number = account.lines.size() + 1; number <= lines.size(); ++number) {
        evaluation::TrendLineAccount notReached;
        notReached.lineNumber = number;
        notReached.text = lines[number - 1];
        notReached.step = evaluation::Step::NotReached;
        account.lines.push_back(std::move(notReached));
    }
    return account;
}

RowLineFinder::RowLineFinder(BaseLayout layout, ScanOptions options, char decimalSeparator)
    : m_layout(std::move(layout))
    , m_options(options)
    , m_decimalSeparator(decimalSeparator)
{}

std::optional<RowLine> RowLineFinder::find(const ResultRowTexts& row)
{
    if (!m_listed) {
        m_files = listTextFiles(m_layout.droite);
        m_listed = true;
    }
    const std::string_view action = trimmed(row.action);
    const std::string_view code = trimmed(row.sicovam);
    for (const std::string& file : m_files) {
        const auto stock = splitStockFileName(file);
        if (!stock || stock->code != code)
            continue;
        // The row shows outputx of the marked name: cut to 15 characters when longer than 16.
        const auto shows = [&](bool crossing) {
            std::string marked = crossing ? "X_" : "";
            marked += stock->name;
            if (marked.size() > 16)
                marked.resize(15);
            return trimmed(marked) == action;
        };
        const bool crossing = shows(true);
        if (!crossing && !shows(false))
            continue;
        auto account = explainStock(m_layout, m_options, file.substr(0, file.size() - 4), m_decimalSeparator);
        if (!account)
            continue;
        for (std::size_t index = 0; index < account->lines.size(); ++index) {
            const evaluation::TrendLineAccount& line = account->lines[index];
            if (line.step == evaluation::Step::Reported && line.unit == row.ut && line.crossing == crossing
                && evaluation::formatFixed2(std::fabs(line.gapPercent), m_decimalSeparator) == row.ecart)
                return RowLine{std::move(*account), index};
        }
    }
    return std::nullopt;
}

} // namespace parvane::scan
