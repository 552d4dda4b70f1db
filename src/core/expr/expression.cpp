#include "expr/expression.h"

#include "common/numbertext.h"
#include "expr/expressiontext.h"

#include <algorithm>
#include <cmath>

namespace vorlac
{

using namespace exprdetail;

namespace
{

// Juxtaposed operands ("2(3 + 1)", "(1)(2)", "2 SIN 30") would be glued into one number once
// the spaces and parentheses go, giving 24, 12 or 2.5; they are refused instead.
bool hasJuxtaposition(const QString &t)
{
    for (qsizetype i = 0; i + 1 < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        const char16_t next = t[i + 1].unicode();
        const bool endsOperand = isNumberChar(c) || c == u')';
        if (endsOperand && next == u'(')
            return true;
        if (c == u')' && isNumberChar(next))
            return true;
        if (endsOperand && isLetter(next)) {
            const bool exponent =
                c != u')' && next == u'E' && (isDigit(at(t, i + 2)) || (isSign(at(t, i + 2)) && isDigit(at(t, i + 3))));
            if (!exponent)
                return true;
        }
    }
    return false;
}

// Two numbers apart only by blanks ("1 2", "(5) 2") would be read as one once the blanks go.
bool hasSpacedNumbers(const QString &t)
{
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i] != u' ' || i == 0)
            continue;
        const char16_t before = t[i - 1].unicode();
        qsizetype j = i;
        while (j < t.size() && t[j] == u' ')
            ++j;
        if (j < t.size() && (isNumberChar(before) || before == u')') && isNumberChar(t[j].unicode()))
            return true;
        i = j - 1;
    }
    return false;
}

// An empty operand is 0; anything else must be one whole number.
bool readOperand(QStringView s, double &v)
{
    if (s.isEmpty()) {
        v = 0.0;
        return true;
    }
    if (!isDotNumber(s))
        return false;
    v = readDotNumber(s);
    return std::isfinite(v);
}

bool writeResult(double v, QString &out)
{
    if (!std::isfinite(v))
        return false;
    out = writeDotNumber(v);
    // The very largest doubles round past the double range at 15 digits.
    return std::isfinite(readDotNumber(out));
}

double pi()
{
    return 4.0 * std::atan(1.0);
}

// Arc sine the way the language defines it, |x| <= 1.
double arcSine(double x)
{
    if (x == 1.0)
        return pi() / 2;
    if (x == -1.0)
        return -pi() / 2;
    return std::atan(x / std::sqrt(1.0 - x * x));
}

bool applyFunction(Function f, double x, bool degrees, double &r)
{
    switch (f) {
    case Function::Sqr:
        if (x < 0)
            return false;
        r = std::sqrt(x);
        break;
    case Function::Exp:
        r = std::exp(x);
        break;
    case Function::Log:
        if (x <= 0)
            return false;
        r = std::log(x) / std::log(10.0);
        break;
    case Function::Lon:
        if (x <= 0)
            return false;
        r = std::log(x);
        break;
    case Function::Sin:
    case Function::Cos:
    case Function::Tan: {
        const double a = degrees ? x * pi() / 180 : x;
        if (!std::isfinite(a))
            return false;
        r = f == Function::Sin ? std::sin(a) : f == Function::Cos ? std::cos(a) : std::tan(a);
        break;
    }
    case Function::Isi:
    case Function::Ico:
        if (x < -1.0 || x > 1.0)
            return false;
        r = f == Function::Isi ? arcSine(x) : pi() / 2 - arcSine(x);
        if (degrees)
            r = r * 180 / pi();
        break;
    case Function::Ita:
        r = std::atan(x);
        if (degrees)
            r = r * 180 / pi();
        break;
    case Function::None:
        return false;
    }
    return std::isfinite(r);
}

bool applyOperator(char16_t op, double a, double b, double &r)
{
    switch (op) {
    case u'^':
        if (a < 0 && b != std::trunc(b))
            return false;
        if (a == 0 && b < 0)
            return false;
        r = std::pow(a, b);
        break;
    case u'/':
        if (b == 0)
            return false;
        r = a / b;
        break;
    case u'*':
        r = a * b;
        break;
    case u'-':
        r = a - b;
        break;
    default:
        r = a + b;
        break;
    }
    return std::isfinite(r);
}

} // namespace

void ExpressionEngine::CheckParentheses(const QString &text, int &evalError) const
{
    qsizetype opening = 0;
    qsizetype closing = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'(')
            ++opening;
        else if (c == u')')
            ++closing;
        else if ((c == u'*' || c == u'/' || c == u'^') && at(text, i + 2) == u' ')
            evalError = ExpressionOperator;
    }
    if (opening != closing)
        evalError = ExpressionParentheses;
}

void ExpressionEngine::CountTokens(const QString &text)
{
    parenCount = 0;
    functionCount = 0;
    operatorCount = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'(')
            ++parenCount;
        const char16_t op = at(text, i + 1);
        if (c == u' ' && at(text, i + 2) == u' ' &&
            (op == u'+' || op == u'-' || op == u'*' || op == u'/' || op == u'^'))
            ++operatorCount;
        if (codeAt(text, i) != Function::None)
            ++functionCount;
    }
}

bool ExpressionEngine::ReduceParentheses(QString &text)
{
    // Each round removes one pair or leaves, so the loop is bounded by the count.
    while (parenCount > 0) {
        const qsizetype open = text.lastIndexOf(u'(');
        if (open < 0)
            return true;
        // Balanced counts can still be misordered, as in "2)+(3".
        const qsizetype close = text.indexOf(u')', open + 1);
        if (close < 0)
            return false;
        QString inner = text.mid(open + 1, close - open - 1);
        for (const QChar ch : inner) {
            if (ch >= u'F' && ch <= u'Y')
                return true; // a function inside goes first
        }
        if (!NormaliseExpression(inner) || !ApplyOperators(inner))
            return false;
        // A negative value stays the base of a power that follows it (see kNeutralFactor).
        const QString value = inner.trimmed();
        if (value.startsWith(u'-') && at(text, close + 1) == u' ' && at(text, close + 2) == u'^' &&
            at(text, close + 3) == u' ' && at(text, open - 1) == u' ' && isSign(at(text, open - 2)) &&
            at(text, open - 3) == u' ' && closesOperand(at(text, open - 4)))
            inner = QStringView(kNeutralFactor).toString() + value;
        text.replace(open, close - open + 1, inner);
        --parenCount;
        if (!NormaliseExpression(text))
            return false;
    }
    return true;
}

bool ExpressionEngine::ApplyFunctions(QString &text, int angleMode)
{
    // Each application lowers the count, so the restarts are bounded by it.
    qsizetype p = 1; // the scan starts at the second position
    while (p < text.size() && functionCount >= 1) {
        const Function f = codeAt(text, p);
        const char16_t first = at(text, p + 4);
        if (f != Function::None && (isDigit(first) || first == u'-' || first == u'.')) {
            const qsizetype start = p + 4;
            qsizetype end = start;
            while (end < text.size() && text[end] != u')' && text[end] != u' ')
                ++end;
            // "-(2 + 1)" starts like a number but is not one yet: pass over it like any other
            // argument still to be reduced, instead of taking its value as 0.
            const QString argument = text.mid(start, end - start);
            if (isDotNumber(argument)) {
                const double x = readDotNumber(argument);
                double r = 0.0;
                QString result;
                if (!std::isfinite(x) || !applyFunction(f, x, angleMode != AngleRadians, r) || !writeResult(r, result))
                    return false;
                text.replace(p, end - p, result);
                if (text.size() > kMaxWorkingLength)
                    return false;
                --functionCount;
                // Back to the second position, but a code whose argument ends before the last space
                // or ")" ahead of this one cannot have changed, and none of them applied before.
                qsizetype restart = p - 1;
                while (restart > 0 && text[restart] != u' ' && text[restart] != u')')
                    --restart;
                p = std::max<qsizetype>(1, restart - 4);
                continue;
            }
        }
        ++p;
    }
    return true;
}

bool ExpressionEngine::ApplyOperators(QString &text)
{
    if (!NormaliseExpression(text))
        return false;
    static constexpr char16_t kOrder[] = {u'^', u'/', u'*', u'-', u'+'};
    // A reduction removes one spaced operator and never creates one, and leaves the text before
    // its left operand alone. So an operator found missing stays missing (the restart from "^"
    // resumes at the current operator) and its next occurrence lies at or after that operand.
    qsizetype from = 2;
    for (int k = 0; k < 5;) {
        const char16_t spaced[3] = {u' ', kOrder[k], u' '};
        const qsizetype g = text.indexOf(QStringView(spaced, 3), from);
        if (g < 0) {
            ++k;
            from = 2;
            continue;
        }
        qsizetype left = g;
        while (left > 0 && text[left - 1] != u' ')
            --left;
        if (left == 0)
            return false; // the operand would start before the text
        const qsizetype right = g + 3;
        qsizetype end = right;
        while (end < text.size() && text[end] != u' ')
            ++end;
        double a = 0.0;
        double b = 0.0;
        double r = 0.0;
        QString result;
        if (!readOperand(QStringView(text).mid(left, g - left), a) ||
            !readOperand(QStringView(text).mid(right, end - right), b) || !applyOperator(kOrder[k], a, b, r) ||
            !writeResult(r, result))
            return false;
        text.replace(left, end - left, result);
        if (--operatorCount < 1)
            return true;
        from = std::max<qsizetype>(2, left - 2);
    }
    return true;
}

int ExpressionEngine::evaluate(QString &text, int angleMode)
{
    if (text.size() > MaxExpressionLength)
        return ExpressionImpossible;
    const bool juxtaposed = hasJuxtaposition(upperWithoutSpaces(text)) || hasSpacedNumbers(text);
    if (!NormaliseExpression(text))
        return ExpressionImpossible;
    int evalError = ExpressionOk;
    CheckParentheses(text, evalError);
    if (evalError != ExpressionOk)
        return evalError;
    if (juxtaposed)
        return ExpressionImpossible;
    CountTokens(text);

    // A cycle that ends in the state it started from repeats itself up to the bound, so it fails
    // now rather than after the remaining cycles.
    struct State {
        QString text;
        QString previous;
        int parens, functions, operators;
        bool operator==(const State &) const = default;
    };
    State lastStart;
    QString previous;
    for (int cycle = 1;; ++cycle) {
        const State start{text, previous, parenCount, functionCount, operatorCount};
        if (cycle > 2 && start == lastStart)
            return ExpressionImpossible;
        lastStart = start;
        if (cycle > 1 && text == previous && !NormaliseExpression(text))
            return ExpressionImpossible;
        previous = text;
        if (cycle == 101)
            return ExpressionImpossible;
        if (functionCount > 0 && (!ApplyFunctions(text, angleMode) || !NormaliseExpression(text)))
            return ExpressionImpossible;
        if (parenCount > 0 && !ReduceParentheses(text))
            return ExpressionImpossible;
        CountTokens(text);
        if (parenCount >= 1 || functionCount >= 1)
            continue;
        if (operatorCount > 0 && !ApplyOperators(text))
            return ExpressionImpossible;
        CountTokens(text);
        if (operatorCount < 1)
            break;
    }

    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    text = text.mid(first, last - first);
    // The language promises one number: letters, a lone ".", "2,5" or "1E999" left over are not results.
    if (text.contains(u' ') || (!text.isEmpty() && !(isDotNumber(text) && std::isfinite(readDotNumber(text)))))
        return ExpressionImpossible;
    return ExpressionOk;
}

void EvaluateExpression(QString &text, int &evalError, int angleMode)
{
    ExpressionEngine engine;
    evalError = engine.evaluate(text, angleMode);
}

} // namespace vorlac
