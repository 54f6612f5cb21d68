#include "DemoBase.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/evaluation/Date.h"
#include "core/evaluation/TimeUnits.h"

namespace parvane::tools {

namespace {

using evaluation::Date;

// Deterministic on every platform: only the raw output of mt19937 is used.
class Random
{
public:
    explicit Random(std::uint32_t seed)
        : m_engine(seed)
    {}

    double uniform() { return static_cast<double>(m_engine()) / 4294967296.0; }

    int between(int low, int high) { return low + static_cast<int>(uniform() * (high - low + 1)); }

    // Roughly normal, mean 0, deviation 1.
    double normal()
    {
        double sum = 0;
        for (int i = 0; i < 12; ++i)
            sum += uniform();
        return sum - 6;
    }

    bool chance(double probability) { return uniform() < probability; }

private:
    std::mt19937 m_engine;
};

struct Quote
{
    Date date;
    double open = 0;
    double high = 0;
    double low = 0;
    double close = 0;
    long long volume = 0;
};

std::string number(double value, int decimals)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

std::string dateText(const Date& date)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", date.year, date.month, date.day);
    return buffer;
}

std::vector<Date> tradingDays(int endDate, int count)
{
    Date day{endDate / 10000, endDate / 100 % 100, endDate % 100};
    std::int64_t number = evaluation::daysFromCivil(day);
    std::vector<Date> days;
    while (static_cast<int>(days.size()) < count) {
        const Date date = evaluation::civilFromDays(number--);
        const int weekday = evaluation::dayOfWeek(date);
        if (weekday != 1 && weekday != 7)
            days.push_back(date);
    }
    std::reverse(days.begin(), days.end());
    return days;
}

std::string stockName(Random& random, std::set<std::string>& used)
{
    static const char* const kStarts[] = {"AL",  "BRI", "CAR", "DEL", "ESS", "FON", "GAL", "HEL", "IMM",
                                          "JOL", "KOR", "LUM", "MAR", "NOV", "ORA", "PEL", "QUA", "ROC",
                                          "SAV", "TEL", "UNI", "VAL", "WES", "XEN", "ZEN"};
    static const char* const kMiddles[] = {"A", "E", "I", "O", "U", "AN", "ER", "IS", "OR", "UR"};
    static const char* const kEnds[] = {"TEC",   "VOX",   "GAZ", "BANK", "FIN", "MED",  "NET",  "SOL",
                                        "TRANS", "INDUS", "AIR", "AUTO", "CIM", "ELEC", "FOOD", "IMMO"};
    while (true) {
        std::string name = std::string(kStarts[random.between(0, 24)]) + kMiddles[random.between(0, 9)]
                           + kEnds[random.between(0, 15)];
        if (random.chance(0.1))
            name += "-" + std::string(1, static_cast<char>('A' + random.between(0, 25)));
        if (used.insert(name).second)
            return name;
    }
}

std::string stockCode(Random& random, std::set<std::string>& used)
{
    while (true) {
        char buffer[32];
        if (random.chance(0.03))
            std::snprintf(buffer, sizeof buffer, "FR%010d", random.between(0, 999999999));
        else
            std::snprintf(buffer, sizeof buffer, "%06d", random.between(100000, 999999));
        if (used.insert(buffer).second)
            return buffer;
    }
}

std::vector<Quote> history(Random& random, const std::vector<Date>& days, bool lastMoveBig)
{
    std::vector<Quote> quotes(days.size());
    double price = 5 + random.uniform() * 195;
    const double volatility = 0.008 + random.uniform() * 0.02;
    const double baseVolume = 2000 + random.uniform() * 400000;
    for (std::size_t i = 0; i < days.size(); ++i) {
        Quote& q = quotes[i];
        q.date = days[i];
        q.open = price;
        double move = random.normal() * volatility;
        if (lastMoveBig && i + 1 == days.size())
            move = (random.chance(0.5) ? 1 : -1) * (0.02 + random.uniform() * 0.02);
        price = std::max(0.5, price * std::exp(move));
        q.close = std::round(price * 100) / 100;
        price = q.close;
        q.high = std::max(q.open, q.close) * (1 + random.uniform() * volatility);
        q.low = std::min(q.open, q.close) * (1 - random.uniform() * volatility);
        double volume = baseVolume * (0.4 + random.uniform() * 1.2);
        if (lastMoveBig && i + 1 == days.size())
            volume *= 1.2 + random.uniform() * 1.5;
        q.volume = static_cast<long long>(volume);
    }
    return quotes;
}

struct TrendLine
{
    std::string unit = "1";
    std::string kind = "0";
    double slope = 0;
    double intercept = 0;
    int firstAnchor = 0;
    int secondAnchor = 0;
    int extension = 0;
};

// A line through value `v1` at position `x1` and value `v2` at position `x2`.
TrendLine through(int x1, double v1, int x2, double v2)
{
    TrendLine line;
    line.slope = (v2 - v1) / (x2 - x1);
    line.intercept = v1 - line.slope * x1;
    line.firstAnchor = x1;
    line.secondAnchor = x2;
    return line;
}

std::string trendLineText(const TrendLine& line, const std::vector<Quote>& quotes)
{
    const auto anchorDate = [&](int position) {
        const std::size_t index =
            static_cast<std::size_t>(std::clamp(position - 2, 0, static_cast<int>(quotes.size()) - 1));
        return dateText(quotes[index].date);
    };
    return line.unit + "\t" + line.kind + "\t" + number(line.slope, 6) + "#\t" + number(line.intercept, 4)
           + "#\t" + std::to_string(line.firstAnchor) + "\t" + anchorDate(line.firstAnchor) + "\t"
           + std::to_string(line.secondAnchor) + "\t" + anchorDate(line.secondAnchor)
           + "\t0\t0\t255\t1\t0\t0\t0\t" + std::to_string(line.extension);
}

std::vector<TrendLine> trendLines(Random& random, const std::vector<Quote>& quotes, bool crossing)
{
    std::vector<TrendLine> lines;
    const int n = static_cast<int>(quotes.size());
    const double last = quotes.back().close;
    const double previous = quotes[quotes.size() - 2].close;
    const int lastPosition = n + 1; // the last bar of a daily line

    // Daily lines drawn from an old low or high to near the last close.
    const int daily = random.between(1, 3);
    for (int i = 0; i < daily; ++i) {
        const int k1 = std::max(1, n - random.between(30, std::min(400, n - 1)));
        const double target = last * (1 + (random.uniform() * 2 - 1) * 0.04);
        TrendLine line =
            through(k1 + 1, quotes[static_cast<std::size_t>(k1 - 1)].close, lastPosition, target);
        line.secondAnchor = std::max(line.firstAnchor + 1, n - random.between(2, 25));
        line.extension = lastPosition - line.secondAnchor;
        lines.push_back(line);
    }

    if (crossing) {
        // A line that the last move went through.
        const double middle = (last + previous) / 2;
        TrendLine line = through(n - 40, middle * (1 + random.normal() * 0.002), lastPosition - 1, middle);
        line.slope = 0; // flat through the middle of the last move
        line.intercept = middle;
        line.extension = lastPosition - line.secondAnchor;
        lines.push_back(line);
    }

    // A weekly line near the price.
    const Date first = quotes.front().date;
    const Date lastDate = quotes.back().date;
    const int w = evaluation::weekCount(first, lastDate);
    if (w > 12 && random.chance(0.6)) {
        const double target = last * (1 + (random.uniform() * 2 - 1) * 0.03);
        TrendLine line = through(std::max(1, w - random.between(10, std::min(w - 1, 120))),
                                 last * (0.7 + random.uniform() * 0.6), w, target);
        line.unit = "0";
        line.secondAnchor = w - random.between(0, 2);
        lines.push_back(line);
    }

    // Lines the scan passes over: an old one, a hidden one, a monthly one.
    if (random.chance(0.3)) {
        TrendLine line = through(std::max(1, n - 300), last, std::max(2, n - 100), last * 1.01);
        lines.push_back(line);
    }
    if (random.chance(0.15)) {
        TrendLine line = through(n - 5, last, lastPosition, last);
        line.kind = "3";
        lines.push_back(line);
    }
    if (random.chance(0.1)) {
        TrendLine line = through(1, last, 3, last);
        line.unit = "-1";
        lines.push_back(line);
    }
    return lines;
}

bool writeBytes(const std::filesystem::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// Comment texts in Windows-1252: \xE9 is "é", \x80 "€", \x97 an em dash.
const char* const kComments[] = {
    "R\xE9sistance forte sur la droite hebdo",
    "Support \xE0 surveiller \x97 volume en hausse",
    "Objectif 10 % au-dessus, stop sous le dernier plus bas",
    "Dividende d\xE9tach\xE9 en mai",
    "Attendre la cl\xF4ture au-dessus de la droite",
    "Prix cible 45,20 \x80",
    "",
    "Tendance haussi\xE8re intacte depuis 2019",
};

} // namespace

bool writeDemoBase(const std::filesystem::path& root, const DemoBaseOptions& options)
{
    const std::filesystem::path base = root / "base";
    std::error_code error;
    for (const char* folder : {"droite", "histo", "groupe", "comment"})
        std::filesystem::create_directories(base / folder, error);
    if (error)
        return false;

    Random random(options.seed);
    std::set<std::string> names;
    std::set<std::string> codes;
    std::vector<std::pair<std::string, std::string>> stocks; // code, name
    const std::vector<Date> allDays = tradingDays(options.endDate, options.lines);

    bool ok = true;
    for (int s = 0; s < options.stocks; ++s) {
        const std::string name = stockName(random, names);
        const std::string code = stockCode(random, codes);
        stocks.emplace_back(code, name);
        const std::string fileName = name + "_" + code + ".txt";

        // Some stocks were listed later and have a shorter history.
        int lineCount = options.lines;
        if (random.chance(0.1))
            lineCount = std::max(30, random.between(options.lines / 10, options.lines));
        const std::vector<Date> days(allDays.end() - lineCount, allDays.end());
        const bool crossing = random.chance(0.15);
        const std::vector<Quote> quotes = history(random, days, crossing);

        std::string historyBytes;
        historyBytes.reserve(quotes.size() * 48);
        for (const Quote& q : quotes) {
            historyBytes += dateText(q.date) + "\t" + number(q.open, 2) + "\t" + number(q.high, 2) + "\t"
                            + number(q.low, 2) + "\t" + number(q.close, 2) + "\t" + std::to_string(q.volume)
                            + "\r\n";
        }
        ok = writeBytes(base / "histo" / fileName, historyBytes) && ok;

        std::string lineBytes;
        for (const TrendLine& line : trendLines(random, quotes, crossing))
            lineBytes += trendLineText(line, quotes) + "\r\n";
        ok = writeBytes(base / "droite" / fileName, lineBytes) && ok;

        if (random.chance(0.25)) {
            std::string comment;
            const int count = random.between(1, 3);
            for (int i = 0; i < count; ++i)
                comment += std::string(kComments[random.between(0, 7)]) + "\r\n";
            ok = writeBytes(base / "comment" / fileName, comment) && ok;
        }
    }

    const auto group = [&](const std::string& groupName, const std::vector<std::size_t>& members,
                           bool third) {
        std::string bytes;
        for (const std::size_t i : members)
            bytes += stocks[i].first + "\t" + stocks[i].second + (third ? "\t1" : "") + "\r\n";
        ok = writeBytes(base / "groupe" / (groupName + ".txt"), bytes) && ok;
    };
    std::vector<std::size_t> all(stocks.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = i;
    group("All", all, false);
    group("CAC40", std::vector<std::size_t>(all.begin(), all.begin() + std::min<std::size_t>(40, all.size())),
          false);
    std::vector<std::size_t> favourites;
    std::vector<std::size_t> banks;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (random.chance(0.05))
            favourites.push_back(i);
        if (stocks[i].second.find("BANK") != std::string::npos
            || stocks[i].second.find("FIN") != std::string::npos)
            banks.push_back(i);
    }
    group("Favoris", favourites, true);
    group("Banques", banks, false);
    return ok;
}

} // namespace parvane::tools
