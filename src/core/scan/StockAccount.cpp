#include "core/scan/StockAccount.h"

#include "core/evaluation/Evaluation.h"
#include "core/scan/FolderIndex.h"
#include "core/scan/ScanDriver.h"

namespace parvane::scan {

namespace {

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

} // namespace

std::optional<StockAccount> explainStock(const BaseLayout& layout, const ScanOptions& options,
                                         std::string_view fileName, char decimalSeparator)
{
    if (!isPlainFileName(fileName))
        return std::nullopt;
    StockAccount account;
    FolderIndex trendLines(layout.droite);
    if (auto found = trendLines.findFile(fileName)) {
        account.trendLineFile = std::move(*found);
        account.fileName = account.trendLineFile.filename().string();
    } else if (auto history = FolderIndex(layout.histo).findFile(fileName)) {
        account.fileName = history->filename().string();
        account.historyFile = std::move(*history);
        return account;
    } else {
        return std::nullopt;
    }

    AccountOutputs outputs(account.messages);
    AccountCollector collector(account.lines);
    evaluation::StockEvaluator evaluator(evaluationSettings(options, decimalSeparator), outputs);
    evaluator.setObserver(&collector);
    evaluator.startRun();
    account.historyFile = FolderIndex(layout.histo).resolve(account.fileName);
    std::vector<std::string> lines;
    const StockWalk walk = walkStock(layout, evaluator, outputs, account.fileName, &lines);
    account.tooManyLines = walk == StockWalk::TooManyLines;
    if (walk != StockWalk::Evaluated)
        return account;
    for (std::size_t number = account.lines.size() + 1; number <= lines.size(); ++number) {
        evaluation::TrendLineAccount notReached;
        notReached.lineNumber = number;
        notReached.text = lines[number - 1];
        notReached.step = evaluation::Step::NotReached;
        account.lines.push_back(std::move(notReached));
    }
    return account;
}

StockSearch findStockInBase(const BaseLayout& layout, std::string_view typed)
{
    StockSearch search = findStock(listTextFiles(layout.droite), typed);
    if (search.fileName)
        return search;
    StockSearch histories = findStock(listTextFiles(layout.histo), typed);
    if (histories.fileName || search.suggestions.empty())
        return histories;
    return search;
}

std::optional<RowLine> findRowLine(const BaseLayout& layout, const ScanOptions& options,
                                   const RowIdentity& identity, char decimalSeparator)
{
    auto account = explainStock(layout, options, identity.fileName, decimalSeparator);
    if (!account)
        return std::nullopt;
    for (std::size_t index = 0; index < account->lines.size(); ++index) {
        if (account->lines[index].lineNumber == identity.lineNumber)
            return RowLine{std::move(*account), index};
    }
    return std::nullopt;
}

} // namespace parvane::scan
