#pragma once

#include <QString>

namespace parvane::print {

// A font as the list printer knows it. Copying a PrintFont copies exactly the six attributes that a
// print font carries, which is the copy rule of every font handed to the printer.
struct PrintFont
{
    QString name = QStringLiteral("Arial");
    double size = 10.0; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;

    friend bool operator==(const PrintFont&, const PrintFont&) = default;
};

} // namespace parvane::print
