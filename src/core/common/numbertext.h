#pragma once

#include <QString>
#include <QStringView>

namespace vorlac
{

// The "dot" number text used by the expression engine, the calculator display and the situation
// files: "." is the decimal point whatever the regional settings, double precision.

// Reads the number at the start of text: an optional sign, digits, an optional "." followed by
// digits (".5" and "2." are numbers, "." alone is not), then an optional exponent "E" (or "e")
// with an optional sign and at least one digit; an "E" not followed by digits is not part of the
// number. Reading stops at the first character that does not fit; no blanks are skipped.
// Returns 0 when the text does not start with a number. A magnitude beyond the double range reads
// as an infinity of the right sign, one below the smallest subnormal as a signed zero.
// *consumed, when given, receives the length of the number read (0 when there is none).
double readDotNumber(QStringView text, qsizetype *consumed = nullptr);

// Reads a number as readDotNumber does after skipping leading blanks (spaces and tabs), and also
// takes "D" (or "d") as the exponent letter: " 42" is 42, " .5" is .5, "1D5" is 100000. This is
// the reading of the texts the program writes with a leading blank (display, memory, files).
// *consumed, when given, counts the skipped blanks too, and is 0 when no number follows them.
double readBlankDotNumber(QStringView text, qsizetype *consumed = nullptr);

// True when the whole text is exactly one number in the form readDotNumber accepts.
bool isDotNumber(QStringView text);

// Writes v rounded to 15 significant digits, trailing zeros dropped, "." as the decimal point and
// no zero before it (".5", "-.25"). Magnitudes from 1E+15 up and below 1E-04 use the exponent form:
// mantissa, "E", sign, at least two digits ("1E+15", "1.5E-07", "4.94065645841247E-324").
// Zero (either sign) is "0". Infinities and NaN have no number text: the result is empty.
// A value that already has at most 15 significant digits reads back to the same double.
// significantDigits (1..17) changes the 15 of the rounding and of the exponent-form threshold:
// 7 writes a single-precision value as 1.5168 rather than its double expansion 1.5168000459671,
// and 12345678 as 1.234568E+07.
QString writeDotNumber(double v, int significantDigits = 15);

} // namespace vorlac
