#include "common/numbertext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace vorlac
{

namespace
{

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Exponents are saturated well beyond the double range so that no digit count, however long the
// text, can overflow the 64-bit arithmetic below.
constexpr std::int64_t kExponentCap = 1'000'000'000;

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isExponentLetter(QChar c, bool acceptD)
{
    return c == u'E' || c == u'e' || (acceptD && (c == u'D' || c == u'd'));
}

double readNumber(QStringView text, qsizetype start, bool acceptD, qsizetype *consumed);

} // namespace

double readDotNumber(QStringView text, qsizetype *consumed)
{
    return readNumber(text, 0, false, consumed);
}

double readBlankDotNumber(QStringView text, qsizetype *consumed)
{
    qsizetype start = 0;
    while (start < text.size() && isBlank(text[start]))
        ++start;
    return readNumber(text, start, true, consumed);
}

namespace
{

double readNumber(QStringView text, qsizetype start, bool acceptD, qsizetype *consumed)
{
    const qsizetype n = text.size();
    qsizetype pos = start;
    bool negative = false;
    if (pos < n && (text[pos] == u'+' || text[pos] == u'-')) {
        negative = text[pos] == u'-';
        ++pos;
    }

    // Significant digits without leading zeros; the value is digits * 10^exponent.
    std::string digits;
    std::int64_t exponent = 0;
    qsizetype mantissaDigits = 0;
    for (; pos < n && isDigit(text[pos]); ++pos, ++mantissaDigits) {
        if (!digits.empty() || text[pos] != u'0')
            digits.push_back(char(text[pos].unicode()));
    }
    if (pos < n && text[pos] == u'.' && (mantissaDigits > 0 || (pos + 1 < n && isDigit(text[pos + 1])))) {
        for (++pos; pos < n && isDigit(text[pos]); ++pos, ++mantissaDigits) {
            if (!digits.empty() || text[pos] != u'0')
                digits.push_back(char(text[pos].unicode()));
            --exponent;
        }
    }
    if (mantissaDigits == 0) {
        if (consumed)
            *consumed = 0;
        return 0.0;
    }

    if (pos < n && isExponentLetter(text[pos], acceptD)) {
        qsizetype p = pos + 1;
        bool negativeExponent = false;
        if (p < n && (text[p] == u'+' || text[p] == u'-')) {
            negativeExponent = text[p] == u'-';
            ++p;
        }
        if (p < n && isDigit(text[p])) {
            std::int64_t e = 0;
            for (; p < n && isDigit(text[p]); ++p) {
                if (e < kExponentCap)
                    e = e * 10 + (text[p].unicode() - u'0');
            }
            exponent += negativeExponent ? -e : e;
            pos = p;
        }
    }
    if (consumed)
        *consumed = pos;

    const double zero = negative ? -0.0 : 0.0;
    if (digits.empty())
        return zero;
    const double infinity =
        negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    // Decimal exponent of the leading digit; outside +-400 the result is certain.
    const std::int64_t leading = exponent + std::int64_t(digits.size()) - 1;
    if (leading > 400)
        return infinity;
    if (leading < -400)
        return zero;

    // std::from_chars ignores the C locale, which Qt sets from the environment.
    digits += 'e';
    digits += std::to_string(exponent);
    double value = 0.0;
    const auto [end, ec] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::scientific);
    (void)end;
    if (ec == std::errc::result_out_of_range)
        return leading > 0 ? infinity : zero;
    return negative ? -value : value;
}

} // namespace

bool isDotNumber(QStringView text)
{
    qsizetype consumed = 0;
    readDotNumber(text, &consumed);
    return consumed > 0 && consumed == text.size();
}

QString writeDotNumber(double v, int significantDigits)
{
    if (!std::isfinite(v))
        return {};
    if (v == 0.0)
        return QStringLiteral("0");
    const int precision = std::clamp(significantDigits, 1, 17);

    // One correctly rounded conversion to that many significant digits: "d.dddddddddddddde+XX".
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, precision - 1);
    std::string digits;
    const char *p = buf;
    for (; p < res.ptr && *p != 'e'; ++p) {
        if (*p != '.')
            digits.push_back(*p);
    }
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, exponent);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out;
    if (v < 0)
        out.push_back('-');
    if (exponent >= precision || exponent <= -5) {
        out.push_back(digits[0]);
        if (digits.size() > 1) {
            out.push_back('.');
            out.append(digits, 1, std::string::npos);
        }
        out.push_back('E');
        out.push_back(exponent < 0 ? '-' : '+');
        const std::string e = std::to_string(std::abs(exponent));
        if (e.size() < 2)
            out.push_back('0');
        out += e;
    } else if (exponent < 0) {
        out.push_back('.');
        out.append(std::size_t(-exponent - 1), '0');
        out += digits;
    } else {
        const std::size_t whole = std::size_t(exponent) + 1;
        if (digits.size() <= whole) {
            out += digits;
            out.append(whole - digits.size(), '0');
        } else {
            out.append(digits, 0, whole);
            out.push_back('.');
            out.append(digits, whole, std::string::npos);
        }
    }
    return QString::fromLatin1(out.data(), qsizetype(out.size()));
}

} // namespace vorlac
