#pragma once

#include <utility>

#include <QString>

namespace parvane::print {

// Error numbers of a failed print, with the descriptions shown to the user.
inline constexpr int kErrorOverflow = 6;
inline constexpr int kErrorObjectNotSet = 91;
inline constexpr int kErrorInvalidPropertyValue = 380;
inline constexpr int kErrorPrinter = 482;
inline constexpr int kErrorNoPrinter = 484;

// Outcome of a print step: success, or an error number with its description.
class [[nodiscard]] PrintStatus
{
public:
    PrintStatus() = default;

    static PrintStatus failure(int number, QString description)
    {
        PrintStatus status;
        status.m_number = number;
        status.m_description = std::move(description);
        return status;
    }

    static PrintStatus overflow() { return failure(kErrorOverflow, QStringLiteral("Overflow")); }

    static PrintStatus invalidPropertyValue()
    {
        return failure(kErrorInvalidPropertyValue, QStringLiteral("Invalid property value"));
    }

    static PrintStatus printerError() { return failure(kErrorPrinter, QStringLiteral("Printer error")); }

    bool ok() const { return m_number == 0; }

    int number() const { return m_number; }

    const QString& description() const { return m_description; }

    // The text of the failure message: the error number, one blank, the description.
    QString message() const { return QString::number(m_number) + QLatin1Char(' ') + m_description; }

private:
    int m_number = 0;
    QString m_description;
};

} // namespace parvane::print
