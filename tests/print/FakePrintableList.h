#pragma once

#include <vector>

#include "print/PrintableList.h"

namespace parvane::print::test {

// A list given by value: headings, rows, font, 15 twips per screen pixel.
class FakePrintableList final : public PrintableList
{
public:
    bool isAvailable() const override { return available; }

    PrintFont font() const override { return listFont; }

    std::vector<PrintableRow> rows() const override { return listRows; }

    std::vector<PrintableColumn> columns() const override { return listColumns; }

    double twipsPerPixelY() const override { return 15.0; }

    bool available = true;
    PrintFont listFont;
    std::vector<PrintableRow> listRows;
    std::vector<PrintableColumn> listColumns;
};

} // namespace parvane::print::test
