#include "core/scan/ScanDriver.h"

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "core/evaluation/Evaluation.h"
#include "core/scan/FolderIndex.h"
#include "core/scan/GroupFile.h"
#include "core/scan/ReadAhead.h"
#include "core/scan/ResultFile.h"
#include "core/text/DiskName.h"
#include "core/text/FileRead.h"
#include "core/text/TextLines.h"

namespace parvane::scan {

namespace {

constexpr std::size_t kMaxTrendLines = 100;

std::string twoDigits(int value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

// The outputs of one run: the results list, the three result files and the error log. A result
// file that cannot be opened or written is logged once and left aside; the run goes on and every
// row still reaches the list.
class RunOutputs final : public evaluation::EvaluationOutputs
{
public:
    RunOutputs(ResultsSink& results, ErrorLog& errorLog, std::filesystem::path base)
        : m_results(results)
        , m_errorLog(errorLog)
        , m_base(std::move(base))
    {}

    void open(ResultFile& file, const std::filesystem::path& path)
    {
        if (const int error = file.open(path); error != 0)
            fail(file, error);
    }

    void close(ResultFile& file)
    {
        if (!file.isOpen())
            return;
        if (const int error = file.close(); error != 0)
            fail(file, error);
    }

    void addRow(const evaluation::ResultRow& row) override
    {
        m_results.addRow(RowIdentity{m_fileName, row.lineNumber, row.ut, row.crossing, m_base});
        ++m_rows;
        m_results.setText(m_rows, ResultColumn::Action, row.action);
        m_results.setText(m_rows, ResultColumn::Sicovam, row.sicovam);
        m_results.setText(m_rows, ResultColumn::Dernier, row.dernier);
        m_results.setText(m_rows, ResultColumn::UT, row.ut);
        m_results.setText(m_rows, ResultColumn::Ecart, row.ecart);
        m_results.setText(m_rows, ResultColumn::Var, row.var);
        if (!row.commentaires.empty())
            m_results.setText(m_rows, ResultColumn::Commentaires, row.commentaires);
    }

    void writeCrossingGroupLine(std::string_view line) override { write(crossingGroup, line); }

    void writeProximityGroupLine(std::string_view line) override { write(proximityGroup, line); }

    void writeCsvLine(std::string_view line) override { write(csv, line); }

    void logError(std::string_view subject, std::string_view message) override
    {
        m_errorLog.write(subject, message);
    }

    std::size_t rows() const { return m_rows; }

    // The stock being evaluated; when its name Windows-1252 cannot hold whole, each file that
    // then receives a line of it logs the loss once.
    void stockStarted(std::string_view fileName, bool lossyName) override
    {
        m_fileName = fileName;
        m_lossyStock = lossyName;
    }

    ResultFile csv;
    ResultFile crossingGroup;
    ResultFile proximityGroup;

private:
    void write(ResultFile& file, std::string_view line)
    {
        if (!file.isOpen())
            return;
        if (m_lossyStock && m_lossLogged.insert(&file).second)
            m_errorLog.write(file.path().string(), evaluation::kMessageLossyName);
        if (const int error = file.writeLine(line); error != 0) {
            file.close();
            fail(file, error);
        }
    }

    void fail(const ResultFile& file, int error)
    {
        m_errorLog.write(file.path().string(), resultFileFailure(error));
    }

    ResultsSink& m_results;
    ErrorLog& m_errorLog;
    std::filesystem::path m_base;
    std::string m_fileName;
    std::size_t m_rows = 0;
    bool m_lossyStock = false;
    std::set<const ResultFile*> m_lossLogged;
};

// change: reads one stock's trend-line file and hands its lines to the evaluation; failures go
// to the outputs' error log.
class StockWalker
{
public:
    StockWalker(const BaseLayout& layout, evaluation::StockEvaluator& evaluator,
                evaluation::EvaluationOutputs& outputs)
        : m_layout(layout)
        , m_evaluator(evaluator)
        , m_outputs(outputs)
        , m_histories(layout.histo)
        , m_comments(layout.comment)
    {}

    StockWalk change(const std::string& filename)
    {
        const std::filesystem::path path = m_layout.droite / filename;
        const std::string pathText = path.string();
        // The name and code stand in the list, the groups and the CSV as Korvix reads them there.
        text::Windows1252Name windowsName = text::diskNameToWindows1252(filename);
        m_windowsName = std::move(windowsName.bytes);
        const auto stockName = splitStockFileName(m_windowsName);
        m_lines.clear();
        if (!stockName) {
            m_outputs.logError(pathText, evaluation::kMessageNoUnderscore);
            return StockWalk::BadName;
        }
        const text::FileStatus status = text::readWholeFile(path, m_buffer);
        if (!status.ok()) {
            m_outputs.logError(pathText, failureMessage(status.code, status.isMissing()));
            return StockWalk::Unreadable;
        }
        std::size_t count = 0;
        text::forEachLine(m_buffer, [&](std::string_view line) {
            if (++count <= kMaxTrendLines)
                m_lines.push_back(line);
        });
        if (count > kMaxTrendLines) {
            m_outputs.logError(pathText, evaluation::kMessageTooManyLines);
            return StockWalk::TooManyLines;
        }

        evaluation::StockFiles stock;
        stock.fileName = filename;
        stock.name = stockName->name;
        stock.code = stockName->code;
        stock.history = m_histories.resolve(filename);
        if (auto comment = m_comments.findFile(filename)) {
            stock.hasComment = true;
            stock.comment = std::move(*comment);
        }
        m_outputs.stockStarted(filename, windowsName.lossy);
        m_evaluator.transforme(stock, m_lines, pathText);
        return StockWalk::Evaluated;
    }

    const std::vector<std::string_view>& lines() const { return m_lines; }

private:
    const BaseLayout& m_layout;
    evaluation::StockEvaluator& m_evaluator;
    evaluation::EvaluationOutputs& m_outputs;
    FolderIndex m_histories;
    FolderIndex m_comments;
    std::string m_buffer;
    std::string m_windowsName;
    std::vector<std::string_view> m_lines;
};

} // namespace

StockWalk walkStock(const BaseLayout& layout, evaluation::StockEvaluator& evaluator,
                    evaluation::EvaluationOutputs& outputs, const std::string& fileName,
                    std::vector<std::string>* lines)
{
    StockWalker walker(layout, evaluator, outputs);
    const StockWalk walk = walker.change(fileName);
    if (lines)
        lines->assign(walker.lines().begin(), walker.lines().end());
    return walk;
}

evaluation::EvaluationSettings evaluationSettings(const ScanOptions& options, char decimalSeparator)
{
    evaluation::EvaluationSettings settings;
    settings.proximity = options.proximity;
    settings.daily = options.daily;
    settings.weekly = options.weekly;
    settings.crossing = options.crossing;
    settings.volumeFilter = options.volumeFilter;
    settings.csvFile = options.csvFile;
    settings.maxGap = options.maxGap;
    settings.volumeThreshold = options.volumeThreshold;
    settings.dailyAgeLimit = options.dailyAgeLimit;
    settings.weeklyAgeLimit = options.weeklyAgeLimit;
    settings.decimalSeparator = decimalSeparator;
    return settings;
}

std::string csvFileName(const DateTime& moment)
{
    return "result_" + twoDigits(moment.date.day) + twoDigits(moment.date.month)
           + std::to_string(moment.date.year) + "_" + twoDigits(moment.hour) + twoDigits(moment.minute)
           + ".csv";
}

ScanReport lance(const BaseLayout& layout, const ScanOptions& options, const Selection& selection,
                 ResultsSink& results, ScanObserver& observer, ErrorLog& errorLog,
                 const RunEnvironment& environment)
{
    ScanReport report;
    observer.progressShown(true);
    observer.csvLabelHidden();
    observer.progressValue(0.1);

    RunOutputs outputs(results, errorLog, layout.root);
    evaluation::StockEvaluator evaluator(evaluationSettings(options, environment.decimalSeparator()),
                                         outputs);
    FolderIndex groups(layout.groupe);

    if (options.csvFile) {
        report.csvFile = layout.base / csvFileName(environment.now());
        outputs.open(outputs.csv, report.csvFile);
    }
    if (options.crossing)
        outputs.open(outputs.crossingGroup, groups.resolve("Melvor.txt"));
    if (options.proximity) {
        evaluator.startRun();
        outputs.open(outputs.proximityGroup, groups.resolve("Parvane.txt"));
    }

    const std::vector<std::string> names = selection.active ? selection.files : listTextFiles(layout.droite);
    observer.statusText("EXECUTION");
    observer.progressRange(static_cast<double>(names.size()) + 1);

    StockWalker walker(layout, evaluator, outputs);
    // The files of the next stocks are read ahead while the current one is evaluated.
    ReadAhead readAhead(layout, names, ReadAhead::scanWindow());
    double progress = 0.1;
    for (std::size_t index = 0; index < names.size(); ++index) {
        const std::string& name = names[index];
        if (name.empty())
            continue;
        readAhead.at(index);
        walker.change(name);
        ++report.stocks;
        progress += 1;
        if (!observer.afterStock(progress)) {
            report.cancelled = true;
            break;
        }
    }

    observer.progressValue(0.1);
    if (options.csvFile) {
        observer.csvFileShown(report.csvFile);
        observer.progressShown(false);
    }
    outputs.close(outputs.proximityGroup);
    outputs.close(outputs.crossingGroup);
    outputs.close(outputs.csv);
    report.rows = outputs.rows();
    return report;
}

} // namespace parvane::scan
