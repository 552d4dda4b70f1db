#pragma once

#include <QString>

namespace vorlac
{

// Values of evalError.
enum ExpressionError : int {
    ExpressionOk = 0,
    ExpressionImpossible = 1,  // arithmetic fault, no single number at the end, too many cycles
    ExpressionParentheses = 2, // "(" and ")" counts differ
    ExpressionOperator = 3,    // "*", "/" or "^" without a right operand
};

// angleMode value for radians; every other value means degrees.
inline constexpr int AngleRadians = 1;

// Longer texts are refused with error 1. Some routines are quadratic in the length (each reduced
// pair renormalises the whole text), so the cap bounds the worst case to some 20 ms, while formulas
// the calculator builds, even with a column's values substituted, are far shorter and take microseconds.
inline constexpr qsizetype MaxExpressionLength = 4096;

// Evaluates text by rewriting it step by step; on success text is the result's number text (empty
// for an empty expression). evalError receives an ExpressionError.
void EvaluateExpression(QString &text, int &evalError, int angleMode);

// The rewriting routines and the token counters they share during one evaluation. Routines that
// return bool return false on an arithmetic fault, which ends the evaluation with error 1.
class ExpressionEngine
{
  public:
    int parenCount = 0;    // "(" in the text
    int functionCount = 0; // function codes
    int operatorCount = 0; // spaced binary operators

    int evaluate(QString &text, int angleMode);

    [[nodiscard]] bool NormaliseExpression(QString &text);
    void SpaceExpression(QString &text);
    void CheckParentheses(const QString &text, int &evalError) const;
    void CountTokens(const QString &text);
    [[nodiscard]] bool ReduceParentheses(QString &text);
    [[nodiscard]] bool ApplyFunctions(QString &text, int angleMode);
    [[nodiscard]] bool ApplyOperators(QString &text);
};

} // namespace vorlac
