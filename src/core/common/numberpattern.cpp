#include "common/numberpattern.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace vorlac
{

namespace detail
{

DecimalDigits parseScientific(std::string_view text)
{
    DecimalDigits number;
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') {
        number.negative = true;
        ++i;
    }
    for (; i < text.size() && text[i] != 'e'; ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            number.digits.push_back(text[i]);
    }
    int exponent = 0;
    if (i + 1 < text.size())
        std::from_chars(text.data() + i + (text[i + 1] == '+' ? 2 : 1), text.data() + text.size(), exponent);
    number.exponent = exponent;
    const std::size_t last = number.digits.find_last_not_of('0');
    number.digits.resize(last == std::string::npos ? 0 : last + 1);
    return number;
}

QString nonFiniteText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
}

} // namespace detail

namespace
{

using detail::DecimalDigits;

// The digit standing for 10^place.
char digitAt(const DecimalDigits &number, int place)
{
    const long long index = static_cast<long long>(number.exponent) - place;
    return index >= 0 && index < static_cast<long long>(number.digits.size())
               ? number.digits[static_cast<std::size_t>(index)]
               : '0';
}

// Keeps the digits standing for 10^lowestPlace and above, half away from zero.
void roundAt(DecimalDigits &number, int lowestPlace)
{
    if (number.digits.empty())
        return;
    const long long keep = static_cast<long long>(number.exponent) - lowestPlace + 1;
    if (keep >= static_cast<long long>(number.digits.size()))
        return;
    if (keep < 0) {
        number.digits.clear();
        return;
    }
    const bool up = number.digits[static_cast<std::size_t>(keep)] >= '5';
    number.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        std::size_t i = number.digits.size();
        while (i > 0 && number.digits[i - 1] == '9')
            number.digits[--i] = '0';
        if (i == 0) {
            number.digits.insert(number.digits.begin(), '1');
            ++number.exponent;
        } else {
            ++number.digits[i - 1];
        }
    }
    const std::size_t last = number.digits.find_last_not_of('0');
    number.digits.resize(last == std::string::npos ? 0 : last + 1);
}

// 15 significant digits, the precision at which a double reads back as written.
DecimalDigits decimalDigits(double value)
{
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    return detail::parseScientific(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

struct Pattern {
    int intPlaces = 0;
    int intMandatory = 0; // places from the first "0" before the point to the point
    int fracPlaces = 0;
    int fracMandatory = 0; // places up to the last "0" after the point
    bool scientific = false;
    bool expSignAlways = false;
    QChar expLetter = u'E';
    int expMinDigits = 0;
};

Pattern parsePattern(const QString &text)
{
    Pattern p;
    enum { Integer, Fraction, Exponent } section = Integer;
    int firstIntZero = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool place = c == u'0' || c == u'#';
        if (section == Integer && place) {
            if (c == u'0' && firstIntZero < 0)
                firstIntZero = p.intPlaces;
            ++p.intPlaces;
        } else if (section == Fraction && place) {
            ++p.fracPlaces;
            if (c == u'0')
                p.fracMandatory = p.fracPlaces;
        } else if (section == Exponent && place) {
            if (c == u'0')
                ++p.expMinDigits;
        } else if (c == u'.' && section == Integer) {
            section = Fraction;
        } else if ((c == u'E' || c == u'e') && section != Exponent && i + 1 < text.size() &&
                   (text[i + 1] == u'+' || text[i + 1] == u'-')) {
            p.scientific = true;
            p.expLetter = c;
            p.expSignAlways = text[i + 1] == u'+';
            section = Exponent;
            ++i;
        }
    }
    p.intMandatory = firstIntZero < 0 ? 0 : p.intPlaces - firstIntZero;
    p.expMinDigits = std::max(p.expMinDigits, 1);
    return p;
}

QString assemble(bool negative, const std::string &intPart, std::string fracPart, int fracMandatory,
                 const QLocale &locale)
{
    while (static_cast<int>(fracPart.size()) > fracMandatory && fracPart.back() == '0')
        fracPart.pop_back();
    std::string integer = intPart;
    if (integer.empty() && fracPart.empty())
        integer = "0";
    const bool allZero = (integer + fracPart).find_first_not_of('0') == std::string::npos;
    QString out;
    if (negative && !allZero)
        out += u'-';
    out += QLatin1StringView(integer.data(), static_cast<qsizetype>(integer.size()));
    if (!fracPart.empty()) {
        out += locale.decimalPoint();
        out += QLatin1StringView(fracPart.data(), static_cast<qsizetype>(fracPart.size()));
    }
    return out;
}

QString formatFixed(DecimalDigits number, const Pattern &p, const QLocale &locale)
{
    roundAt(number, -p.fracPlaces);
    std::string intPart;
    if (!number.digits.empty()) {
        for (int place = number.exponent; place >= 0; --place)
            intPart.push_back(digitAt(number, place));
    }
    if (static_cast<int>(intPart.size()) < p.intMandatory)
        intPart.insert(0, static_cast<std::size_t>(p.intMandatory) - intPart.size(), '0');
    std::string fracPart;
    for (int place = -1; place >= -p.fracPlaces; --place)
        fracPart.push_back(digitAt(number, place));
    return assemble(number.negative && !number.digits.empty(), intPart, fracPart, p.fracMandatory, locale);
}

QString formatScientific(DecimalDigits number, Pattern p, const QLocale &locale)
{
    if (p.intPlaces == 0 && p.fracPlaces == 0)
        p.intPlaces = 1;
    const bool zero = number.digits.empty();
    int exponent = 0;
    std::string intPart, fracPart;
    if (zero) {
        intPart.assign(static_cast<std::size_t>(p.intPlaces > 0 ? std::max(p.intMandatory, 1) : 0), '0');
        fracPart.assign(static_cast<std::size_t>(p.fracPlaces), '0');
    } else {
        roundAt(number, number.exponent - (p.intPlaces + p.fracPlaces) + 1);
        // Rounding may carry into a new leading digit; the exponent follows it.
        exponent = number.exponent - (p.intPlaces - 1);
        for (int i = p.intPlaces - 1; i >= 0; --i)
            intPart.push_back(digitAt(number, exponent + i));
        for (int i = 1; i <= p.fracPlaces; ++i)
            fracPart.push_back(digitAt(number, exponent - i));
    }
    QString out = assemble(number.negative && !zero, intPart, fracPart, p.fracMandatory, locale);
    out += p.expLetter;
    if (exponent < 0)
        out += u'-';
    else if (p.expSignAlways)
        out += u'+';
    QString digits = QString::number(std::abs(exponent));
    if (digits.size() < p.expMinDigits)
        digits.prepend(QString(p.expMinDigits - digits.size(), u'0'));
    return out + digits;
}

} // namespace

namespace detail
{

QString generalLayout(const DecimalDigits &number, const QLocale &locale)
{
    if (number.digits.empty())
        return QStringLiteral("0");
    const std::string &d = number.digits;
    std::string intPart, fracPart;
    if (number.exponent > -5 && number.exponent < 7) {
        if (number.exponent >= 0) {
            for (int place = number.exponent; place >= 0; --place)
                intPart.push_back(digitAt(number, place));
        } else {
            intPart = "0";
        }
        const int lowest = number.exponent - static_cast<int>(d.size()) + 1;
        for (int place = -1; place >= lowest; --place)
            fracPart.push_back(digitAt(number, place));
        return assemble(number.negative, intPart, fracPart, 0, locale);
    }
    QString out = assemble(number.negative, d.substr(0, 1), d.substr(1), 0, locale);
    out += number.exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
    const QString digits = QString::number(std::abs(number.exponent));
    return out + (digits.size() < 2 ? QStringLiteral("0") + digits : digits);
}

} // namespace detail

QString generalSingleText(double value, const QLocale &locale)
{
    // Explicit range check: converting an out-of-range double to float is undefined.
    if (std::isfinite(value) && std::abs(value) > std::numeric_limits<float>::max())
        value = value < 0 ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    if (!std::isfinite(value))
        return detail::nonFiniteText(value);
    DecimalDigits number = decimalDigits(static_cast<double>(static_cast<float>(value)));
    roundAt(number, number.exponent - 6);
    return detail::generalLayout(number, locale);
}

QString formatNumberPattern(double value, const QString &pattern, const QLocale &locale)
{
    if (pattern.isEmpty())
        return generalSingleText(value, locale);
    if (!std::isfinite(value))
        return detail::nonFiniteText(value);
    const Pattern p = parsePattern(pattern);
    return p.scientific ? formatScientific(decimalDigits(value), p, locale)
                        : formatFixed(decimalDigits(value), p, locale);
}

} // namespace vorlac
