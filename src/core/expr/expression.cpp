#include "expr/expression.h"

#include "common/numbertext.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace vorlac
{

namespace
{

// Results are at most 22 characters and each replaces at least three, spaces at most triple a
// text: a working text beyond this has gone wrong and the evaluation stops.
constexpr qsizetype kMaxWorkingLength = 32 * MaxExpressionLength + 64;

// Reads outside the text give 0, which matches no token character.
char16_t at(const QString &s, qsizetype i)
{
    return i >= 0 && i < s.size() ? s[i].unicode() : 0;
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}
bool isNumberChar(char16_t c)
{
    return isDigit(c) || c == u'.';
}
bool isLetter(char16_t c)
{
    return c >= u'A' && c <= u'Z';
}
bool isSign(char16_t c)
{
    return c == u'+' || c == u'-';
}

enum class Function { None, Sqr, Sin, Cos, Log, Tan, Isi, Exp, Ita, Ico, Lon };

struct Code {
    char16_t name[3];
    Function function;
};

constexpr Code kCodes[] = {
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

Function codeAt(const QString &s, qsizetype i)
{
    return codeAt([&](qsizetype k) { return at(s, i + k); });
}

// Only ASCII letters matter to the language; leaving the rest alone keeps lengths stable.
QString upperWithoutSpaces(const QString &s)
{
    QString out(s.size(), Qt::Uninitialized);
    QChar *d = out.data();
    qsizetype w = 0;
    for (const QChar ch : s) {
        char16_t c = ch.unicode();
        if (c == u' ')
            continue;
        if (c >= u'a' && c <= u'z')
            c = char16_t(c - u'a' + u'A');
        d[w++] = QChar(c);
    }
    out.truncate(w);
    return out;
}

// The unwalked part of a text being rewritten at its walk position: edits there push a few
// characters in front of what remains of the source.
class WalkRest
{
  public:
    explicit WalkRest(const QString &source) : source_(source) {}

    bool empty() const { return front_.empty() && next_ >= source_.size(); }
    char16_t peek(qsizetype k) const
    {
        const auto f = qsizetype(front_.size());
        if (k < f)
            return front_[std::size_t(f - 1 - k)];
        const qsizetype i = next_ + k - f;
        return i < source_.size() ? source_[i].unicode() : char16_t(0);
    }
    void pop(qsizetype count)
    {
        for (; count > 0 && !front_.empty(); --count)
            front_.pop_back();
        next_ = std::min(source_.size(), next_ + count);
    }
    void pushFront(std::u16string_view s) { front_.append(s.rbegin(), s.rend()); }

  private:
    const QString &source_;
    qsizetype next_ = 0;
    std::u16string front_; // reversed
};

// "--" "+-" "-+" "++" folded at each position in turn. A rewrite at a position only touches that
// position and the next one, so one left-to-right compaction does the whole in-place walk.
void foldSigns(QString &t)
{
    const qsizetype n = t.size();
    QChar *d = t.data();
    qsizetype w = 0;
    qsizetype next = 0;
    while (next < n) {
        char16_t c = d[next++].unicode();
        auto following = [&] { return next < n ? d[next].unicode() : char16_t(0); };
        if (c == u'-' && following() == u'-') {
            c = u'+';
            ++next;
        }
        if (c == u'+' && following() == u'-') {
            c = u'-';
            ++next;
        }
        if (c == u'-' && following() == u'+') {
            c = u'-';
            ++next;
        }
        if (c == u'+' && following() == u'+') {
            c = u'+';
            ++next;
        }
        d[w++] = QChar(c);
    }
    t.truncate(w);
}

// A "+" right after "*", "/", "^" or a function code is a plain sign. Left in place it would be
// spaced into an operator, leaving the "*" or the function without its operand: 2 * -(1 - 4) reaches
// 2*--3 then 2*+3, SIN -(0 - 1) reaches SIN+1. No code ends in "E", so exponents are never touched.
void dropUnaryPlus(QString &t)
{
    QChar *d = t.data();
    qsizetype w = 0;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (d[i] == u'+' && w > 0) {
            const char16_t before = d[w - 1].unicode();
            const bool afterCode =
                w >= 3 && codeAt([&](qsizetype k) { return d[w - 3 + k].unicode(); }) != Function::None;
            if (before == u'*' || before == u'/' || before == u'^' || afterCode)
                continue;
        }
        d[w++] = d[i];
    }
    t.truncate(w);
}

bool closesOperand(char16_t c)
{
    return isNumberChar(c) || c == u')';
}

// The neutral factor written in front of a negative power base that follows a binary "+" or "-".
// Without it the base's sign folds into the operator ("1+-2^2" becomes "1-2^2", -3 instead of 5);
// after "*" the sign stays the base's, and 1 * x is exact.
constexpr char16_t kNeutralFactor[] = u"1*";

// "(" + optional sign + digits or "." + ")" loses its parentheses. The freed contents hold no "(",
// so carrying on after the ")" visits the same positions as the in-place walk. A negative number
// that is a power's base right after a binary "+" or "-" gets the neutral factor instead; the
// result tells whether that happened (the text keeps its length then).
bool unwrapSignedNumbers(QString &t)
{
    bool guarded = false;
    const qsizetype n = t.size();
    QChar *d = t.data();
    qsizetype w = 0;
    qsizetype i = 0;
    while (i < n) {
        if (d[i] == u'(') {
            qsizetype k = 1;
            for (;; ++k) {
                const char16_t c = i + k < n ? d[i + k].unicode() : char16_t(0);
                if (isNumberChar(c) || (k == 1 && isSign(c)))
                    continue;
                if (k < 2 || c != u')')
                    k = 0;
                break;
            }
            if (k >= 2) {
                const bool guardedBase = k >= 3 && d[i + 1] == u'-' && i + k + 1 < n && d[i + k + 1] == u'^' &&
                                         w >= 2 && isSign(d[w - 1].unicode()) && closesOperand(d[w - 2].unicode());
                // The factor takes the two places of the parentheses, so the number may move right.
                const qsizetype shift = guardedBase ? 2 : 0;
                if (w + shift <= i + 1)
                    std::copy(d + i + 1, d + i + k, d + w + shift);
                else
                    std::copy_backward(d + i + 1, d + i + k, d + w + shift + k - 1);
                if (guardedBase) {
                    d[w] = QChar(kNeutralFactor[0]);
                    d[w + 1] = QChar(kNeutralFactor[1]);
                }
                w += shift + k - 1;
                i += k + 1;
                guarded = guarded || guardedBase;
                continue;
            }
        }
        d[w++] = d[i++];
    }
    t.truncate(w);
    return guarded;
}

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

bool ExpressionEngine::NormaliseExpression(QString &text)
{
    QString t = upperWithoutSpaces(text);
    // Every rewrite of a pass shortens the text or turns a "(" into the neutral factor, so an
    // unchanged length without such a turn means an unchanged text, and there are at most as many
    // passes as characters.
    const qsizetype maxPasses = t.size() + 1;
    for (qsizetype pass = 0;; ++pass) {
        if (pass > maxPasses)
            return false;
        const qsizetype before = t.size();
        foldSigns(t);
        if (at(t, 0) == u'+')
            t.remove(0, 1);
        dropUnaryPlus(t);
        const bool guarded = unwrapSignedNumbers(t);
        if (t.size() == before && !guarded)
            break;
    }
    SpaceExpression(t);
    text = t;
    return text.size() <= kMaxWorkingLength;
}

void ExpressionEngine::SpaceExpression(QString &text)
{
    QString t = upperWithoutSpaces(text);
    if (at(t, 0) == u'+')
        t.remove(0, 1);
    t = u' ' + t + u' ';

    // The walk edits the text at and after its position only, so the walked positions are final.
    const qsizetype limit = 3 * t.size();
    std::u16string out;
    out.reserve(std::size_t(limit));
    WalkRest rest(t);
    auto peek = [&](qsizetype k) { return rest.peek(k); };

    while (!rest.empty() && qsizetype(out.size()) < limit) {
        if (peek(0) == u'L' && peek(1) == u'N') {
            rest.pop(2);
            rest.pushFront(u"LON");
        }
        if (codeAt(peek) != Function::None) {
            const char16_t code[4] = {peek(0), peek(1), peek(2), u' '};
            rest.pop(3);
            rest.pushFront(std::u16string_view(code, 4));
        }
        if (peek(0) == u'I' && peek(1) == u'N' && peek(2) == u'V' && isLetter(peek(3)) && isLetter(peek(4)) &&
            isLetter(peek(5))) {
            const char16_t code[4] = {u'I', peek(3), peek(4), u' '};
            rest.pop(6);
            rest.pushFront(std::u16string_view(code, 4));
        }
        const char16_t c = peek(0);
        const char16_t before = out.empty() ? char16_t(0) : out.back();
        const bool spaced = c == u'^' || c == u'*' || c == u'/' || (c == u'+' && before != u'E') ||
                            (c == u'-' && before != u'E' && before != u'(' && before != u' ');
        rest.pop(1);
        if (spaced) {
            // The walk moves past the inserted operator, so it is never spaced twice.
            out += u' ';
            out += c;
            out += u' ';
        } else {
            out += c;
        }
    }
    while (!rest.empty()) {
        out += rest.peek(0);
        rest.pop(1);
    }
    text = QString::fromUtf16(out.data(), qsizetype(out.size()));
}

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
