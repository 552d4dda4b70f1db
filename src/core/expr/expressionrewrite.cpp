// Normalising and spacing the text of an expression: the rewrites between evaluation steps.

#include "expr/expression.h"
#include "expr/expressiontext.h"

#include <algorithm>
#include <string>

namespace vorlac
{

using namespace exprdetail;

QString exprdetail::upperWithoutSpaces(const QString &s)
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

namespace
{

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

} // namespace vorlac
