#include "cli/ScanCommand.h"

#include <algorithm>
#include <array>
#include <csignal>
#include <optional>
#include <ostream>
#include <sstream>
#include <system_error>
#include <variant>

#include "cli/Explain.h"
#include "cli/NewRows.h"
#include "cli/NotificationClicks.h"
#include "cli/Notifier.h"
#include "cli/Watch.h"
#include "core/evaluation/NumberRules.h"
#include "core/scan/AsciiCase.h"
#include "core/scan/ErrorLog.h"
#include "core/scan/FolderIndex.h"
#include "core/scan/GroupSelection.h"
#include "core/scan/PathMapping.h"
#include "core/scan/ProgramFolder.h"
#include "core/scan/ResultsOrder.h"
#include "core/scan/RunCommand.h"
#include "core/scan/ScanRun.h"
#include "core/scan/Settings.h"
#include "core/scan/StockFinder.h"
#include "core/text/Collation.h"
#include "core/text/DiskName.h"
#include "core/text/Windows1252.h"

namespace parvane::cli {

namespace {

constexpr const char* kUsage =
    "usage: parvane-scan [--home DIR] [--base DIR | --base-index N] [--groups NOM[,NOM...]]\n"
    "                    [--proximity] [--daily] [--weekly] [--max-gap TEXTE]\n"
    "                    [--crossing] [--volume TEXTE] [--csv] [--comments-group]\n"
    "                    [--format table|tsv] [--new-only] [--notify]\n"
    "                    [--explain NOM_CODE] [--watch [--settle SECONDES]]\n"
    "\n"
    "Scanne les actions d'une base Korvix contre leurs droites de tendance.\n"
    "  --home DIR         dossier du programme (zarbel.ini, errorlog.txt)\n"
    "  --base DIR         racine de la base a scanner (sinon base1 de zarbel.ini)\n"
    "  --base-index N     base 1, 2 ou 3 de zarbel.ini\n"
    "  --groups A,B       ne scanner que les actions de ces groupes\n"
    "  --proximity        proximite cours/droites (groupe Parvane)\n"
    "  --daily, --weekly  unites de temps de la proximite\n"
    "  --max-gap TEXTE    pourcentage max. de detection (1 par defaut)\n"
    "  --crossing         croisement cours/droites (groupe Melvor)\n"
    "  --volume TEXTE     croisement seulement avec une hausse du volume superieure a TEXTE %\n"
    "  --csv              sauver les resultats dans un fichier .csv de la base\n"
    "  --comments-group   creer / mettre a jour le groupe Quennel\n"
    "  --format FORMAT    table (par defaut) ou tsv\n"
    "  --new-only         seulement les lignes absentes de la recherche precedente (meme base, memes\n"
    "                     options)\n"
    "  --notify           notifier le bureau de ce qui est nouveau depuis la recherche precedente\n"
    "  --explain NOM_CODE dit pourquoi chaque droite de l'action est retenue ou non,\n"
    "                     sans rien ecrire (ni groupe, ni CSV, ni errorlog.txt)\n"
    "  --watch            refaire la recherche a chaque changement des historiques ou des droites\n"
    "                     de la base, jusqu'a SIGTERM ou Ctrl-C\n"
    "  --settle SECONDES  --watch: attendre ce calme apres le dernier changement (10 par defaut)\n";

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void onInterrupt(int number)
{
    g_interrupted = number;
}

std::vector<std::string> splitList(const std::string& text)
{
    std::vector<std::string> items;
    std::string item;
    std::istringstream stream(text);
    while (std::getline(stream, item, ','))
        items.push_back(item);
    return items;
}

// Reads the command line; returns a message for a usage error.
std::optional<std::string> parse(const std::vector<std::string>& arguments, ScanArguments& parsed)
{
    bool settleGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments[++i];
        };
        const auto needs = [&](std::optional<std::string>& target) -> std::optional<std::string> {
            target = value();
            if (!target)
                return argument + " attend une valeur";
            return std::nullopt;
        };
        std::optional<std::string> text;
        if (argument == "--proximity") {
            parsed.options.proximity = true;
        } else if (argument == "--daily") {
            parsed.options.daily = true;
        } else if (argument == "--weekly") {
            parsed.options.weekly = true;
        } else if (argument == "--crossing") {
            parsed.options.crossing = true;
        } else if (argument == "--csv") {
            parsed.options.csvFile = true;
        } else if (argument == "--comments-group") {
            parsed.options.commentsGroup = true;
        } else if (argument == "--home") {
            if (auto error = needs(parsed.home))
                return error;
        } else if (argument == "--base") {
            if (auto error = needs(parsed.base))
                return error;
        } else if (argument == "--base-index") {
            if (auto error = needs(text))
                return error;
            if (*text != "1" && *text != "2" && *text != "3")
                return "--base-index attend 1, 2 ou 3";
            parsed.baseIndex = (*text)[0] - '0';
            parsed.baseIndexGiven = true;
        } else if (argument == "--groups") {
            if (auto error = needs(text))
                return error;
            parsed.groups = splitList(*text);
            parsed.groupsGiven = true;
        } else if (argument == "--max-gap") {
            if (auto error = needs(text))
                return error;
            parsed.maxGapText = *text;
        } else if (argument == "--volume") {
            if (auto error = needs(text))
                return error;
            parsed.volumeText = *text;
            parsed.options.volumeFilter = true;
        } else if (argument == "--format") {
            if (auto error = needs(text))
                return error;
            if (*text != "table" && *text != "tsv")
                return "--format attend table ou tsv";
            parsed.tsv = *text == "tsv";
        } else if (argument == "--new-only") {
            parsed.newOnly = true;
        } else if (argument == "--notify") {
            parsed.notify = true;
        } else if (argument == "--watch") {
            parsed.watch = true;
        } else if (argument == "--settle") {
            if (auto error = needs(text))
                return error;
            const bool digits =
                !text->empty() && text->size() <= 5
                && std::all_of(text->begin(), text->end(), [](char c) { return c >= '0' && c <= '9'; });
            if (!digits)
                return "--settle attend un nombre de secondes (0 a 99999)";
            parsed.settleSeconds = std::stoi(*text);
            settleGiven = true;
        } else if (argument == "--explain") {
            if (auto error = needs(parsed.explain))
                return error;
        } else if (argument == "--help" || argument == "-h") {
            return std::string();
        } else {
            return "option inconnue: " + argument;
        }
    }
    if (parsed.base && parsed.baseIndexGiven)
        return "--base et --base-index s'excluent";
    if (settleGiven && !parsed.watch)
        return "--settle ne sert qu'avec --watch";
    if (parsed.watch && parsed.explain)
        return "--watch et --explain s'excluent";
    return std::nullopt;
}

// The results list of the command: rows of Windows-1252 texts kept in memory with the trend line
// each is about, sorted and printed after the run.
class TableSink final : public scan::ResultsSink
{
public:
    void clear() override { m_rows.clear(); }

    void addRow(const scan::RowIdentity& identity) override { m_rows.push_back({{}, identity}); }

    void setText(std::size_t row, scan::ResultColumn column, std::string_view text) override
    {
        if (row == 0 || row > m_rows.size())
            return;
        m_rows[row - 1].texts[static_cast<std::size_t>(column)] = std::string(text);
    }

    // The end-of-run sort of the window: by "Action", in list order.
    std::vector<PrintedRow> sortedUtf8Rows() const
    {
        std::vector<std::string_view> keys;
        keys.reserve(m_rows.size());
        for (const PrintedRow& row : m_rows)
            keys.push_back(row.texts[static_cast<std::size_t>(scan::ResultColumn::Action)]);
        std::vector<PrintedRow> rows;
        rows.reserve(m_rows.size());
        for (const std::size_t index : scan::resultRowOrder(keys, scan::ResultColumn::Action)) {
            rows.push_back(m_rows[index]);
            for (std::string& cell : rows.back().texts)
                cell = text::windows1252ToUtf8(cell);
        }
        return rows;
    }

private:
    std::vector<PrintedRow> m_rows;
};

// Ends the run on SIGINT or SIGTERM, and keeps the status label's last text.
class InterruptibleObserver final : public scan::ScanObserver
{
public:
    bool afterStock(double) override { return g_interrupted == 0; }

    void statusText(std::string_view text) override { status = text; }

    std::string status;
};

// Display width of UTF-8 text: one column per character.
std::size_t displayWidth(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

void printTsv(const std::vector<PrintedRow>& rows, std::ostream& out)
{
    for (int column = 0; column < scan::kResultColumnCount; ++column)
        out << (column == 0 ? "" : "\t") << scan::resultColumnHeader(column);
    out << '\n';
    for (const PrintedRow& row : rows) {
        for (std::size_t column = 0; column < row.texts.size(); ++column)
            out << (column == 0 ? "" : "\t") << row.texts[column];
        out << '\n';
    }
}

void printTable(const std::vector<PrintedRow>& rows, std::ostream& out)
{
    std::array<std::size_t, scan::kResultColumnCount> widths{};
    for (int column = 0; column < scan::kResultColumnCount; ++column)
        widths[static_cast<std::size_t>(column)] = scan::resultColumnHeader(column).size();
    for (const PrintedRow& row : rows) {
        for (std::size_t column = 0; column < row.texts.size(); ++column)
            widths[column] = std::max(widths[column], displayWidth(row.texts[column]));
    }
    const auto printRow = [&](const auto& cell) {
        std::string line;
        for (std::size_t column = 0; column < widths.size(); ++column) {
            const std::string text(cell(column));
            line += text;
            if (column + 1 < widths.size())
                line += std::string(widths[column] - displayWidth(text) + 2, ' ');
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        out << line << '\n';
    };
    printRow([](std::size_t column) { return scan::resultColumnHeader(static_cast<int>(column)); });
    std::size_t total = 0;
    for (const std::size_t width : widths)
        total += width + 2;
    out << std::string(total - 2, '-') << '\n';
    for (const PrintedRow& row : rows)
        printRow([&](std::size_t column) { return std::string_view(row.texts[column]); });
}

// A status text for a terminal: UTF-8, line ends as "\n".
std::string statusLines(std::string_view status)
{
    std::string text = text::windows1252ToUtf8(status);
    for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;)
        text.erase(at, 1);
    return text;
}

// The groups of the base that `typed` names (as typed, in UTF-8: the file names may be UTF-8 or
// Windows-1252 on the disk, in any case), or a message listing the base's groups for a name that
// is none of them.
std::variant<std::vector<std::string>, std::string> groupsOnDisk(const scan::BaseLayout& layout,
                                                                 const std::vector<std::string>& typed)
{
    const std::vector<std::string> known = scan::listegroupes(layout);
    std::vector<std::string> found;
    for (const std::string& group : typed) {
        if (auto name = scan::findGroupName(known, group)) {
            found.push_back(std::move(*name));
            continue;
        }
        std::vector<std::string> shown;
        for (const std::string& name : known)
            shown.push_back(text::diskNameToUtf8(name));
        std::stable_sort(shown.begin(), shown.end(), [](const std::string& a, const std::string& b) {
            return text::compareUtf8Text(a, b) < 0;
        });
        std::string message = "--groups: \"" + group + "\" n'est pas un groupe de la base; groupes: ";
        for (std::size_t i = 0; i < shown.size(); ++i)
            message += (i == 0 ? "" : ", ") + shown[i];
        if (known.empty())
            message += "(aucun)";
        return message;
    }
    return found;
}

// The program folder, the base, the options and the group selection of a run, once its checks
// have passed.
struct PreparedRun
{
    std::filesystem::path programFolder;
    scan::BaseLayout layout;
    scan::ScanOptions options;
    scan::Selection selection;
    bool baseMissing = false;
};

// A refused run says why on stderr and, with --notify, on the desktop: a scheduled scan that
// cannot run must not pass for one that found nothing. --watch says a missing base itself, once
// each way, as it waits for it.
class Refusals
{
public:
    Refusals(const ScanArguments& parsed, std::ostream& err)
        : m_parsed(parsed)
        , m_err(err)
    {}

    int refuse(const std::string& reason, int status) const
    {
        m_err << "parvane-scan: " << reason << '\n';
        if (notifies())
            notifyRefusedRun(reason, m_err);
        return status;
    }

    int refuseFor(const scan::Refusal& refusal, bool baseMissing = false) const
    {
        // The text names the base's folder: a name from the disk.
        m_err << refusal.title << ": " << refusal.text << '\n';
        if (notifies() && !(baseMissing && m_parsed.watch))
            notifyRefusedRun(
                text::windows1252ToUtf8(refusal.title) + ": " + text::diskNameToUtf8(refusal.text), m_err);
        return kExitRefused;
    }

private:
    bool notifies() const { return m_parsed.notify && !m_parsed.explain; }

    const ScanArguments& m_parsed;
    std::ostream& m_err;
};

// The checks before a run: the program folder (made on first use), the previous error log
// deleted, the base and its folders, the thresholds. Returns the exit status of a refusal.
std::optional<int> prepareRun(const ScanArguments& parsed, PreparedRun& run, std::ostream& err)
{
    const Refusals refusals(parsed, err);
    std::optional<std::filesystem::path> home;
    if (parsed.home) {
        // A new program folder is made on first use, as the window does; without it the error log
        // and the kept rows would have nowhere to go.
        std::error_code error;
        home = std::filesystem::absolute(*parsed.home, error);
        if (!error)
            std::filesystem::create_directories(*home, error);
        if (error || !std::filesystem::is_directory(*home)) {
            return refusals.refuse("dossier du programme impossible a creer: " + *parsed.home
                                       + (error ? " (" + error.message() + ")" : std::string()),
                                   kExitRefused);
        }
    }
    run.programFolder = scan::programFolder(home, scan::executableFolder());
    if (!parsed.explain)
        scan::deleteErrorLog(run.programFolder);

    const scan::PathEnvironment pathEnvironment = scan::pathEnvironmentFromSystem();
    std::string baseactive;
    std::string droite = "\\base\\droite\\";
    std::string histo = "\\base\\histo\\";
    if (parsed.base) {
        // Made absolute once, so that the error log and the "CSV:" line can be followed later.
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(*parsed.base, error);
        baseactive = error ? *parsed.base : absolute.lexically_normal().string();
    } else {
        scan::Settings settings = scan::loadSettings(run.programFolder / scan::kSettingsFileName);
        scan::setUpActiveBase(settings);
        baseactive = *scan::baseForChooserIndex(settings, parsed.baseIndex - 1);
        if (!settings.droite.empty())
            droite = settings.droite;
        if (!settings.histo.empty())
            histo = settings.histo;
    }
    const std::filesystem::path root =
        baseactive.empty() ? std::filesystem::path() : scan::mapSettingsPath(baseactive, pathEnvironment);
    run.layout = scan::BaseLayout::resolve(root, droite, histo);

    if (const auto refusal = scan::checkBaseFolder(baseactive, run.layout.base)) {
        run.baseMissing = true;
        return refusals.refuseFor(*refusal, true);
    }
    run.options = parsed.options;
    run.options.maxGap = evaluation::readNumber(parsed.maxGapText);
    run.options.volumeThreshold = evaluation::readNumber(parsed.volumeText);
    if (const auto refusal = scan::checkThresholds(run.options))
        return refusals.refuseFor(*refusal);
    return std::nullopt;
}

// --groups: the selection of the run, or the exit status of a name that is not a group of the base.
std::optional<int> selectGroups(const ScanArguments& parsed, PreparedRun& run, std::ostream& err)
{
    if (!parsed.groupsGiven)
        return std::nullopt;
    auto groups = groupsOnDisk(run.layout, parsed.groups);
    if (const auto* unknown = std::get_if<std::string>(&groups))
        return Refusals(parsed, err).refuse(*unknown, kExitUsage);
    run.selection = scan::buildSelection(run.layout, std::get<std::vector<std::string>>(groups));
    if (!run.selection.active)
        err << "Aucune action des groupes choisis n'a de fichier de droites: toute la base est "
               "scannee.\n";
    return std::nullopt;
}

// What the scan itself left: its outcome, its rows sorted, the status label's last text and the
// error log's lost lines.
struct ScanResults
{
    scan::RunOutcome outcome;
    std::vector<PrintedRow> rows;
    std::string observerStatus;
    std::size_t lostLines = 0;
    std::filesystem::path errorLogFile;
    int signal = 0; // the signal that ended the run, 0 when none did
};

ScanResults runInterruptibleScan(PreparedRun& run)
{
    scan::SystemEnvironment environment;
    scan::ErrorLog errorLog(run.programFolder / scan::kErrorLogFileName, environment);
    TableSink results;
    InterruptibleObserver observer;
    g_interrupted = 0;
    auto previousInt = std::signal(SIGINT, onInterrupt);
    auto previousTerm = std::signal(SIGTERM, onInterrupt);
    ScanResults scanned;
    scanned.outcome =
        scan::runScan(run.layout, run.options, run.selection, results, observer, errorLog, environment);
    std::signal(SIGINT, previousInt);
    std::signal(SIGTERM, previousTerm);
    scanned.rows = results.sortedUtf8Rows();
    scanned.observerStatus = observer.status;
    scanned.lostLines = errorLog.lost();
    scanned.errorLogFile = errorLog.file();
    scanned.signal = static_cast<int>(g_interrupted);
    return scanned;
}

bool isComplete(const ScanResults& scanned)
{
    return scanned.outcome.scanned && !scanned.outcome.report.cancelled;
}

// --new-only and --notify: the rows that the previous run did not have; the run's rows are kept
// for the next one when it is complete. Every row without either option.
std::vector<PrintedRow> keepRows(const ScanArguments& parsed, const PreparedRun& run,
                                 const ScanResults& scanned, std::ostream& err)
{
    if (!parsed.newOnly && !parsed.notify)
        return scanned.rows;
    return newRowsSincePreviousRun(scan::keptRowsFile(run.programFolder, run.layout.base), run.layout,
                                   scan::runOptionsKey(run.options, run.selection), scanned.rows,
                                   isComplete(scanned), err);
}

// The results list on `out`, then the messages and the status on `err`.
void printOutputs(const ScanArguments& parsed, const PreparedRun& run, const ScanResults& scanned,
                  const std::vector<PrintedRow>& shown, std::ostream& out, std::ostream& err)
{
    if (parsed.tsv)
        printTsv(shown, out);
    else
        printTable(shown, out);
    out.flush();

    const scan::RunOutcome& outcome = scanned.outcome;
    if (outcome.report.cancelled)
        err << "Scan interrompu: les fichiers de resultats sont incomplets.\n";
    if (run.options.csvFile && outcome.scanned)
        err << "CSV: " << outcome.report.csvFile.string() << '\n';
    // Label8 as the window leaves it: the run's status; after the comments group alone, the
    // builder's; when nothing ran, what it showed before (nothing, in a new window).
    const std::string status = outcome.scanned ? outcome.status : scanned.observerStatus;
    if (!status.empty())
        err << statusLines(status) << '\n';
    if (scanned.lostLines != 0)
        err << "parvane-scan: " << scanned.lostLines
            << " ligne(s) perdue(s): " << scanned.errorLogFile.string() << " ne peut etre ecrit\n";
}

} // namespace

std::optional<int> parseCommandLine(const std::vector<std::string>& arguments, ScanArguments& parsed,
                                    std::ostream& out, std::ostream& err)
{
    const auto usageError = parse(arguments, parsed);
    if (!usageError)
        return std::nullopt;
    if (usageError->empty()) {
        out << kUsage;
        return kExitRan;
    }
    err << "parvane-scan: " << *usageError << "\n\n" << kUsage;
    return kExitUsage;
}

RunReport runOnce(const ScanArguments& parsed, std::ostream& out, std::ostream& err)
{
    PreparedRun run;
    RunReport report;
    const auto refused = prepareRun(parsed, run, err);
    report.programFolder = run.programFolder;
    report.layout = run.layout;
    report.baseMissing = run.baseMissing;
    if (refused) {
        report.exitStatus = *refused;
        return report;
    }
    if (parsed.explain) {
        report.exitStatus = explainCommand(run.layout, run.options, *parsed.explain, parsed.tsv,
                                           scan::SystemEnvironment().decimalSeparator(), out, err);
        return report;
    }
    if (const auto unknown = selectGroups(parsed, run, err)) {
        report.exitStatus = *unknown;
        return report;
    }

    const ScanResults scanned = runInterruptibleScan(run);
    report.fresh = keepRows(parsed, run, scanned, err);
    printOutputs(parsed, run, scanned, parsed.newOnly ? report.fresh : scanned.rows, out, err);
    if (parsed.notify && isComplete(scanned))
        report.notification = notifyNewRows(report.fresh, scanned.outcome.errors, err);
    if (scanned.outcome.report.cancelled)
        report.exitStatus = kExitInterruptedBase + scanned.signal;
    return report;
}

int runScanCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    ScanArguments parsed;
    if (const auto status = parseCommandLine(arguments, parsed, out, err))
        return *status;
    if (parsed.watch)
        return runWatch(parsed, out, err);
    if (parsed.notify)
        return runAndAwaitClick(parsed, out, err);
    return runOnce(parsed, out, err).exitStatus;
}

} // namespace parvane::cli
