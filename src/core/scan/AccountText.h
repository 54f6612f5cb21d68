#pragma once

#include <string>
#include <vector>

#include "core/evaluation/EvaluationObserver.h"
#include "core/scan/StockAccount.h"

namespace parvane::scan {

// The French texts of an account, as parvane-scan --explain prints them and the window shows them.
// Numbers use `decimalSeparator`; texts read from the base are left in their bytes (Windows-1252).

// The account of one trend line: a title line, then one line per step reached, then the verdict
// ("=> retenue ..." or "=> non retenue: ..."). Lines without their line end.
std::vector<std::string> trendLineAccountLines(const evaluation::TrendLineAccount& account,
                                               char decimalSeparator);

// The verdict of a line alone: "retenue (proximite)", "non retenue: droite trop ancienne de 2
// barres (age 7, limite 5)"...
std::string verdictText(const evaluation::TrendLineAccount& account, char decimalSeparator);

// The whole account of a stock: a header naming its files, then one block per trend line
// separated by blank lines; every line ended by "\n".
std::string stockAccountText(const StockAccount& account, char decimalSeparator);

// The same as a table: a header line, then one line per trend line, Tab-separated.
std::string stockAccountTsv(const StockAccount& account, char decimalSeparator);

// A short key for the step that stopped a line ("age", "seuil", "retenue"...).
std::string_view stepKey(evaluation::Step step);

} // namespace parvane::scan
