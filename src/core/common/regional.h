#pragma once

#include <QChar>
#include <QLocale>
#include <QString>
#include <optional>

namespace vorlac
{

// Regional number reading and writing of table cells and dialog fields (single precision,
// the user's decimal separator).

// The default locale, except that a locale with no language (the "C"/"POSIX" locales) counts
// as French (France), the settings the program is written for.
QLocale regionalLocale();

// The locale's decimal separator as one character ("." if it has none of one character).
QChar regionalDecimalSeparator(const QLocale &locale = regionalLocale());

// Reads a whole text as a single-precision number: surrounding blanks, an optional sign, digits
// with at most one regional decimal separator (at least one digit in all), an optional exponent
// "E"/"e" with optional sign and digits. No group separators. nullopt for anything else (empty,
// a lone separator or sign, trailing text) and for magnitudes beyond the single range;
// magnitudes too small for it read as zero.
std::optional<float> readRegionalSingle(const QString &text, const QLocale &locale = regionalLocale());

// A table cell read as readRegionalSingle reads it, except that "," and "." both stand for the
// decimal separator (cells typed or pasted either way, files from either convention).
std::optional<float> readCellSingle(const QString &text, const QLocale &locale = regionalLocale());

// The shortest text that reads back as the same float: 1,5 / 4200 / 1,0002747 under French.
// Plain decimals from 1E-04 up to below 1E+07, exponent form (1E-05, 1,677722E+07) outside.
// Negative zero is written "0"; NaN and infinities as "NaN", "Inf", "-Inf".
QString shortestSingleText(float value, const QLocale &locale = regionalLocale());

// Key filter of the numeric dialog fields, for one typed character: digits pass, "." and the
// locale's separator become the separator, Backspace (8) and Enter (13) pass, "-" passes only
// with acceptMinus; any other character gives a null QChar (discard the key).
QChar regionalKeyFilter(QChar typed, const QLocale &locale = regionalLocale(), bool acceptMinus = false);

} // namespace vorlac
