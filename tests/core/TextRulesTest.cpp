#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/evaluation/TrendLine.h"
#include "core/scan/GroupFile.h"
#include "core/scan/KorvixCaption.h"
#include "core/scan/KorvixWindow.h"
#include "core/scan/PathSettings.h"
#include "core/text/Collation.h"
#include "core/text/DiskName.h"
#include "core/text/TextLines.h"
#include "support/TestFiles.h"

namespace parvane {
namespace {

using Args = std::vector<std::string>;

std::string bit(bool value)
{
    return value ? "1" : "0";
}

// The rules on texts and names, each a function of its arguments' texts.
const std::map<std::string, std::function<std::string(const Args&)>> kRules = {
    {"noFinalSep", [](const Args& a) { return std::string(scan::withoutFinalSeparator(a[0])); }},
    {"driveRoot", [](const Args& a) { return bit(scan::isWindowsDriveRoot(a[0])); }},
    {"exe", [](const Args& a) { return std::string(scan::exeText(a[0])); }},
    {"key", [](const Args& a) { return scan::stockKeyFromCaption(a[0]).value_or("-"); }},
    {"split",
     [](const Args& a) {
         const auto name = scan::splitStockFileName(a[0]);
         return name ? std::string(name->name) + "|" + std::string(name->code) : "-";
     }},
    {"lines",
     [](const Args& a) {
         std::string lines;
         text::forEachLine(a[0], [&](std::string_view line) { lines.append(line).append("|"); });
         return lines;
     }},
    {"tabField",
     [](const Args& a) {
         bool found = false;
         const std::string field(text::tabField(a[0], std::stoul(a[1]), &found));
         return field + "|" + bit(found);
     }},
    {"trendField",
     [](const Args& a) {
         std::string line = "0x";
         for (std::size_t i = 1; i < 16; ++i)
             line += "\t" + (i == std::stoul(a[0]) ? a[1] : std::string("0x"));
         std::vector<std::string_view> fields;
         evaluation::TrendLine parsed;
         if (!evaluation::parseTrendLine(line, fields, parsed))
             return std::string("refused");
         const std::map<std::string, double> values = {{"2", parsed.slope},       {"3", parsed.intercept},
                                                       {"4", parsed.firstAnchor}, {"6", parsed.secondAnchor},
                                                       {"8", parsed.field8},      {"9", parsed.field9},
                                                       {"15", parsed.extension}};
         char text[32];
         std::snprintf(text, sizeof text, "%g", values.at(a[0]));
         return std::string(text);
     }},
    {"korvixWindow",
     [](const Args& a) {
         return bit(scan::isKorvixWindow({a[0], a[1], a[2]}));
     }},
    {"disk",
     [](const Args& a) {
         const text::Windows1252Name name = text::diskNameToWindows1252(a[0]);
         return text::diskNameToUtf8(a[0]) + "\t" + name.bytes + "|" + bit(name.lossy);
     }},
    {"order",
     [](const Args& a) {
         const int sign = (text::compareText(a[0], a[1]) > 0) - (text::compareText(a[0], a[1]) < 0);
         const int reverse = (text::compareText(a[1], a[0]) > 0) - (text::compareText(a[1], a[0]) < 0);
         return sign == -reverse ? std::to_string(sign) : "not antisymmetric";
     }},
};

// One row per case, from tests/data/rules/text.tsv: the function, its arguments, the expected text.
TEST(TextRules, FollowTheCaseTable)
{
    const auto rows = test::dataRows("rules/text.tsv");
    ASSERT_GT(rows.size(), 80u);
    for (const auto& row : rows) {
        ASSERT_GE(row.size(), 3u);
        const auto rule = kRules.find(row[0]);
        ASSERT_NE(rule, kRules.end()) << row[0];
        const Args args(row.begin() + 1, row.end() - (row[0] == "disk" ? 2 : 1));
        const std::string expected = row[0] == "disk" ? row[row.size() - 2] + "\t" + row.back() : row.back();
        EXPECT_EQ(rule->second(args), expected) << row[0] << " of " << testing::PrintToString(args);
    }
}

} // namespace
} // namespace parvane
