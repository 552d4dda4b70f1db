#pragma once

// Internal to the expression evaluator: the character classes, function codes and limits shared by
// expressionrewrite.cpp (normalising and spacing the text) and expression.cpp (evaluating it).
// Nothing else includes it.

#include "expr/expression.h"

#include <QString>

namespace vorlac
{

namespace exprdetail
{

// Results are at most 22 characters and each replaces at least three, spaces at most triple a
// text: a working text beyond this has gone wrong and the evaluation stops.
inline constexpr qsizetype kMaxWorkingLength = 32 * MaxExpressionLength + 64;

// Reads outside the text give 0, which matches no token character.
inline char16_t at(const QString &s, qsizetype i)
{
    return i >= 0 && i < s.size() ? s[i].unicode() : 0;
}

inline bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}
inline bool isNumberChar(char16_t c)
{
    return isDigit(c) || c == u'.';
}
inline bool isLetter(char16_t c)
{
    return c >= u'A' && c <= u'Z';
}
inline bool isSign(char16_t c)
{
    return c == u'+' || c == u'-';
}

enum class Function { None, Sqr, Sin, Cos, Log, Tan, Isi, Exp, Ita, Ico, Lon };

struct Code {
    char16_t name[3];
    Function function;
};

inline constexpr Code kCodes[] = {
    {{u'S', u'Q', u'R'}, Function::Sqr}, {{u'S', u'I', u'N'}, Function::Sin}, {{u'C', u'O', u'S'}, Function::Cos},
    {{u'L', u'O', u'G'}, Function::Log}, {{u'T', u'A', u'N'}, Function::Tan}, {{u'I', u'S', u'I'}, Function::Isi},
    {{u'E', u'X', u'P'}, Function::Exp}, {{u'I', u'T', u'A'}, Function::Ita}, {{u'I', u'C', u'O'}, Function::Ico},
    {{u'L', u'O', u'N'}, Function::Lon},
};

template <typename Peek> Function codeAt(Peek peek)
{
    const char16_t first = peek(0);
    if (first != u'S' && first != u'C' && first != u'L' && first != u'T' && first != u'I' && first != u'E')
        return Function::None;
    for (const Code &code : kCodes) {
        if (peek(0) == code.name[0] && peek(1) == code.name[1] && peek(2) == code.name[2])
            return code.function;
    }
    return Function::None;
}

inline Function codeAt(const QString &s, qsizetype i)
{
    return codeAt([&](qsizetype k) { return at(s, i + k); });
}

// Only ASCII letters matter to the language; leaving the rest alone keeps lengths stable.
QString upperWithoutSpaces(const QString &s);

inline bool closesOperand(char16_t c)
{
    return isNumberChar(c) || c == u')';
}

// The neutral factor written in front of a negative power base that follows a binary "+" or "-".
// Without it the base's sign folds into the operator ("1+-2^2" becomes "1-2^2", -3 instead of 5);
// after "*" the sign stays the base's, and 1 * x is exact.
inline constexpr char16_t kNeutralFactor[] = u"1*";

} // namespace exprdetail

} // namespace vorlac
