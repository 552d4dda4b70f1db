#pragma once

#include "common/regional.h"

#include <QLatin1StringView>
#include <QLocale>
#include <QString>
#include <string>
#include <string_view>

namespace vorlac
{

// Display patterns of the table, the sort, the read-outs and the calculator.
inline constexpr QLatin1StringView kPatternFixed2{"########0.00"};
inline constexpr QLatin1StringView kPatternFixed3{"########0.000"}; // the table's start-up pattern
inline constexpr QLatin1StringView kPatternGeneral{""};
inline constexpr QLatin1StringView kPatternScientific3{"0.00E+00"};
inline constexpr QLatin1StringView kPatternScientific4{"0.000E-00"};
inline constexpr QLatin1StringView kPatternIndex{"##.######"};
inline constexpr QLatin1StringView kPatternCalculator{"#.#######E+00"};
inline constexpr QLatin1StringView kPatternSort{"#############################0.##############################"};

// Writes value with a display pattern:
//   "0"  a digit always written;  "#"  a digit written only when significant (no leading zeros
//   in the integer part, no trailing zeros in the fraction);  "."  the decimal point, written as
//   the locale's separator, and only when a fraction digit follows it;  "E+" / "E-" (or "e+" /
//   "e-") an exponent whose sign is always written / written only when negative, with at least
//   as many digits as "0"s follow it. In exponent form the mantissa has as many integer digits
//   as the pattern has places before the point.
// An empty pattern writes the general form of the single-precision value (generalSingleText).
// No group separator ever. Other pattern characters are ignored (the program uses none).
// Rounding: the value is first taken to 15 significant decimal digits, then rounded half away
// from zero on those decimal digits, so 2.675 -> "2,68" and 0.125 -> "0,13" with two decimals
// although neither is exact in binary. A result whose written digits are all zero has no sign;
// a pattern that would write no digit at all writes "0". NaN and infinities: "NaN", "Inf", "-Inf".
QString formatNumberPattern(double value, const QString &pattern, const QLocale &locale = regionalLocale());

// General form of a single-precision value: rounded half away from zero to 7 significant digits,
// trailing zeros dropped, the locale's separator, a zero before it below 1, no leading blank.
// Plain decimals from 1E-04 up to below 1E+07; outside that, mantissa, "E", sign and at least two
// exponent digits (1E-05, -1,234568E+07). Values beyond the single range give "Inf" / "-Inf".
QString generalSingleText(double value, const QLocale &locale = regionalLocale());

namespace detail
{

// Significant decimal digits of a finite value: value = 0.d1d2d3... * 10^(exponent + 1), that is
// digits[0] stands for 10^exponent. No leading or trailing zeros; empty for zero.
struct DecimalDigits {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// From std::to_chars output in scientific form ("-1.2345e+06").
DecimalDigits parseScientific(std::string_view text);
// The plain-or-exponent layout shared by the general form and shortestSingleText.
QString generalLayout(const DecimalDigits &number, const QLocale &locale);
QString nonFiniteText(double value);

} // namespace detail

} // namespace vorlac
