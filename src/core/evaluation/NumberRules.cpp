#include "core/evaluation/NumberRules.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace parvane::evaluation {

namespace {

bool isSkipped(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Collects the characters of the number into a small buffer on the stack; only a number of more
// than a hundred digits spills over into the heap.
class NumberText
{
public:
    void push(char c)
    {
        if (m_size < m_small.size())
            m_small[m_size] = c;
        else {
            if (m_size == m_small.size())
                m_large.assign(m_small.data(), m_small.size());
            m_large.push_back(c);
        }
        ++m_size;
    }

    std::size_t size() const { return m_size; }

    void truncate(std::size_t size)
    {
        m_size = size;
        if (m_size > m_small.size())
            m_large.resize(m_size);
    }

    const char* data() const { return m_size <= m_small.size() ? m_small.data() : m_large.data(); }

private:
    std::array<char, 128> m_small{};
    std::string m_large;
    std::size_t m_size = 0;
};

// The number rule, with the first "," of the text read as "." when `commaIsPoint` is set (the
// same as enlevevirgule before reading, without building the new text).
double readLeadingNumber(std::string_view text, bool commaIsPoint) noexcept
{
    NumberText number;
    std::size_t i = 0;
    const std::size_t size = text.size();
    const auto skipBlanks = [&] {
        while (i < size && isSkipped(text[i]))
            ++i;
    };
    bool commaSeen = false;
    const auto isPoint = [&](char c) {
        if (c == '.')
            return true;
        if (c == ',' && commaIsPoint && !commaSeen) {
            commaSeen = true;
            return true;
        }
        return false;
    };

    try {
        skipBlanks();
        if (i < size && (text[i] == '-' || text[i] == '+')) {
            if (text[i] == '-')
                number.push('-');
            ++i;
        }
        bool hasDigits = false;
        bool hasPoint = false;
        for (; i < size; ++i) {
            const char c = text[i];
            if (isDigit(c)) {
                number.push(c);
                hasDigits = true;
            } else if (isSkipped(c)) {
                continue;
            } else if (!hasPoint && isPoint(c)) {
                number.push('.');
                hasPoint = true;
            } else {
                break;
            }
        }
        if (!hasDigits)
            return 0;

        if (i < size && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
            // The exponent counts only when digits follow; "12E" reads as 12.
            const std::size_t mantissaSize = number.size();
            number.push('e');
            ++i;
            skipBlanks();
            if (i < size && (text[i] == '-' || text[i] == '+')) {
                number.push(text[i]);
                ++i;
            }
            bool exponentDigits = false;
            for (; i < size; ++i) {
                const char c = text[i];
                if (isDigit(c)) {
                    number.push(c);
                    exponentDigits = true;
                } else if (!isSkipped(c)) {
                    break;
                }
            }
            if (!exponentDigits)
                number.truncate(mantissaSize);
        }

        double value = 0;
        const char* first = number.data();
        const char* last = first + number.size();
        const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
        if (error != std::errc{} || end != last || !std::isfinite(value))
            return 0;
        return value;
    } catch (...) {
        // Only the spill-over of a number of thousands of digits can throw (out of memory).
        return 0;
    }
}

} // namespace

double readNumber(std::string_view text) noexcept
{
    return readLeadingNumber(text, false);
}

std::string enlevevirgule(std::string_view Variable)
{
    std::string result(Variable);
    if (const auto comma = result.find(','); comma != std::string::npos)
        result[comma] = '.';
    return result;
}

double readBaseNumber(std::string_view text)
{
    return readLeadingNumber(text, true);
}

std::optional<std::int16_t> toInt16(double value) noexcept
{
    if (!std::isfinite(value))
        return std::nullopt;
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    if (whole < -32768.0 || whole > 32767.0)
        return std::nullopt;
    return static_cast<std::int16_t>(whole);
}

std::string formatFixed2(double value, char decimalSeparator)
{
    if (!std::isfinite(value))
        return std::string("0") + decimalSeparator + "00";

    // Fifteen significant digits first, as the value is shown elsewhere; the rounding to two
    // decimals then works on those decimal digits, so that 1.005 rounds up as written.
    char scientific[40];
    const int written = std::snprintf(scientific, sizeof scientific, "%.14e", std::fabs(value));
    if (written <= 0 || static_cast<std::size_t>(written) >= sizeof scientific)
        return std::string("0") + decimalSeparator + "00";
    // "d.dddddddddddddde+XX": 15 digits, then the exponent.
    std::array<char, 15> digits{};
    digits[0] = scientific[0];
    for (std::size_t k = 1; k < digits.size(); ++k)
        digits[k] = scientific[k + 1];
    const int exponent = std::atoi(scientific + 17);

    // Digit k of `digits` stands for 10^(exponent - k); keep down to 10^-2 in hundredths.
    std::string hundredths;
    const int kept = exponent + 3;
    for (int k = 0; k < kept; ++k)
        hundredths.push_back(k < 15 ? digits[static_cast<std::size_t>(k)] : '0');
    const bool roundUp = kept >= 0 && kept < 15 && digits[static_cast<std::size_t>(kept)] >= '5';
    if (roundUp) {
        std::size_t k = hundredths.size();
        while (k > 0 && hundredths[k - 1] == '9') {
            hundredths[k - 1] = '0';
            --k;
        }
        if (k == 0)
            hundredths.insert(hundredths.begin(), '1');
        else
            ++hundredths[k - 1];
    }
    while (hundredths.size() < 3)
        hundredths.insert(hundredths.begin(), '0');
    std::size_t leadingZeros = 0;
    while (leadingZeros + 3 < hundredths.size() && hundredths[leadingZeros] == '0')
        ++leadingZeros;

    std::string result;
    if (value < 0)
        result.push_back('-');
    result.append(hundredths, leadingZeros, hundredths.size() - 2 - leadingZeros);
    result.push_back(decimalSeparator);
    result.append(hundredths, hundredths.size() - 2, 2);
    return result;
}

std::string outputx(std::string_view Variable, std::size_t X)
{
    if (Variable.size() > X)
        return std::string(Variable.substr(0, X == 0 ? 0 : X - 1));
    std::string result(Variable);
    result.append(X - Variable.size(), ' ');
    return result;
}

std::string paddedCode(std::string_view code)
{
    if (code.size() > 6)
        return std::string(code);
    return outputx(code, 6);
}

} // namespace parvane::evaluation
