#include "common/regional.h"

#include "common/numberpattern.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace vorlac
{

namespace
{

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Consumes a sign at pos; true (and *negative) when one was there.
bool takeSign(const QString &s, qsizetype &pos, const QLocale &locale, bool *negative)
{
    if (pos >= s.size())
        return false;
    const QStringView rest = QStringView(s).mid(pos);
    const QString minus = locale.negativeSign();
    const QString plus = locale.positiveSign();
    if (rest.startsWith(u'-') || (!minus.isEmpty() && rest.startsWith(minus))) {
        pos += rest.startsWith(u'-') ? 1 : minus.size();
        *negative = true;
        return true;
    }
    if (rest.startsWith(u'+') || (!plus.isEmpty() && rest.startsWith(plus))) {
        pos += rest.startsWith(u'+') ? 1 : plus.size();
        *negative = false;
        return true;
    }
    return false;
}

qsizetype takeDigits(const QString &s, qsizetype &pos, std::string &out)
{
    const qsizetype start = pos;
    while (pos < s.size() && isAsciiDigit(s[pos]))
        out.push_back(static_cast<char>(s[pos++].unicode()));
    return pos - start;
}

} // namespace

QLocale regionalLocale()
{
    const QLocale locale;
    if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage)
        return QLocale(QLocale::French, QLocale::France);
    return locale;
}

QChar regionalDecimalSeparator(const QLocale &locale)
{
    const QString point = locale.decimalPoint();
    return point.size() == 1 ? point[0] : QChar(u'.');
}

std::optional<float> readRegionalSingle(const QString &text, const QLocale &locale)
{
    const QString s = text.trimmed();
    const QString separator = locale.decimalPoint();
    qsizetype pos = 0;
    bool negative = false;
    takeSign(s, pos, locale, &negative);

    std::string intPart, fracPart, expPart;
    takeDigits(s, pos, intPart);
    const bool hasSeparator = !separator.isEmpty() && QStringView(s).mid(pos).startsWith(separator);
    if (hasSeparator) {
        pos += separator.size();
        takeDigits(s, pos, fracPart);
    }
    if (intPart.empty() && fracPart.empty())
        return std::nullopt;
    bool expNegative = false;
    if (pos < s.size() && (s[pos] == u'E' || s[pos] == u'e')) {
        ++pos;
        takeSign(s, pos, locale, &expNegative);
        if (takeDigits(s, pos, expPart) == 0)
            return std::nullopt;
    }
    if (pos != s.size())
        return std::nullopt;

    // Rebuilt in the C form std::from_chars expects, whatever the locale.
    std::string c = (negative ? "-" : "") + intPart + "." + fracPart;
    if (!expPart.empty())
        c += (expNegative ? "e-" : "e") + expPart;
    float value = 0;
    const auto [end, ec] = std::from_chars(c.data(), c.data() + c.size(), value);
    if (end != c.data() + c.size())
        return std::nullopt;
    if (ec == std::errc())
        return value;
    if (ec != std::errc::result_out_of_range)
        return std::nullopt;

    // Out of range: too large is refused, too small is zero. The decimal power of the first
    // significant digit tells which (the mantissa cannot be zero here).
    const std::string digits = intPart + fracPart;
    const std::size_t nonZero = digits.find_first_not_of('0');
    if (nonZero == std::string::npos)
        return negative ? -0.0f : 0.0f;
    const auto first = static_cast<long long>(nonZero);
    long long power = static_cast<long long>(intPart.size()) - 1 - first;
    long long exponent = 0;
    for (const char d : expPart)
        exponent = std::min<long long>(exponent * 10 + (d - '0'), 1'000'000'000);
    power += expNegative ? -exponent : exponent;
    if (power >= 0)
        return std::nullopt;
    return negative ? -0.0f : 0.0f;
}

std::optional<float> readCellSingle(const QString &text, const QLocale &locale)
{
    const QChar separator = regionalDecimalSeparator(locale);
    QString normal = text;
    for (QChar &ch : normal) {
        if (ch == u',' || ch == u'.')
            ch = separator;
    }
    return readRegionalSingle(normal, locale);
}

QString shortestSingleText(float value, const QLocale &locale)
{
    if (!std::isfinite(value))
        return detail::nonFiniteText(value);
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    return detail::generalLayout(detail::parseScientific(std::string_view(buffer, result.ptr - buffer)), locale);
}

QChar regionalKeyFilter(QChar typed, const QLocale &locale, bool acceptMinus)
{
    const QChar separator = regionalDecimalSeparator(locale);
    if (isAsciiDigit(typed) || typed == separator || typed == QChar(8) || typed == QChar(13))
        return typed;
    if (typed == u'.')
        return separator;
    if (acceptMinus && typed == u'-')
        return typed;
    return QChar();
}

} // namespace vorlac
