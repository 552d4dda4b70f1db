#include "expr/calculator.h"

#include "common/numberpattern.h"
#include "common/numbertext.h"
#include "common/regional.h"
#include "expr/expression.h"
#include "table/valuetable.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vorlac
{

namespace
{

struct KeyInfo {
    const char *name;
    const char *text; // what the key appends, where it only appends
};

// Indexed by CalculatorKey.
constexpr KeyInfo kKeys[kCalculatorKeyCount] = {
    {"B0", "0"},
    {"B1", "1"},
    {"B2", "2"},
    {"B3", "3"},
    {"B4", "4"},
    {"B5", "5"},
    {"B6", "6"},
    {"B7", "7"},
    {"B8", "8"},
    {"B9", "9"},
    {"Bpoint", "."},
    {"BtoEXP", "E"},
    {"pico", "E-12"},
    {"nano", "E-9"},
    {"micro", "E-6"},
    {"mil", "E-3"},
    {"kilo", "E+3"},
    {"mega", "E+6"},
    {"giga", "E+9"},
    {"tera", "E+12"},
    {"plus", nullptr},
    {"moins", nullptr},
    {"multip", nullptr},
    {"div", nullptr},
    {"puissance", nullptr},
    {"btcarre", nullptr},
    {"Bpo", "("},
    {"bpf", ")"},
    {"bsin", "sin "},
    {"Bcos", "cos "},
    {"Btan", "tan "},
    {"invsin", "invSIN "},
    {"invcos", "invCOS "},
    {"Btoncommande3", "invTAN "},
    {"Blog", "log "},
    {"Bln", "ln "},
    {"Bexp", "exp "},
    {"B10x", "10 ^ "},
    {"racine", "SQR "},
    {"Command5", "1 / "},
    {"pi", nullptr},
    {"Command6", "C1"},
    {"Command6", "C2"},
    {"Command6", "C3"},
    {"Command6", "C4"},
    {"Command6", "C5"},
    {"Command6", "C6"},
    {"Command6", "C7"},
    {"ANS", nullptr},
    {"EFFACE", nullptr},
    {"RAZ", nullptr},
    {"EXE", nullptr},
    {"Command1", nullptr},
    {"Command2", nullptr},
    {"Command3", nullptr},
    {"Command4", nullptr},
};

bool between(CalculatorKey key, CalculatorKey first, CalculatorKey last)
{
    return int(key) >= int(first) && int(key) <= int(last);
}

// The display always uses a point, even when the pattern followed the regional comma.
QString withPoint(QString text)
{
    const qsizetype comma = text.indexOf(u',');
    if (comma >= 0)
        text[comma] = u'.';
    return text;
}

QString scientificText(double value)
{
    return withPoint(formatNumberPattern(value, QString(kPatternCalculator), regionalLocale()));
}

} // namespace

QString keyName(CalculatorKey key)
{
    return QString::fromLatin1(kKeys[int(key)].name);
}

QString calculatorErrorMessage(int evalError)
{
    switch (evalError) {
    case 1:
        return QStringLiteral("Calcul impossible");
    case 2:
        return QStringLiteral("Erreur saisie: revoir les parenthèses");
    case 3:
        return QStringLiteral("Erreur saisie: incompréhension sur opérateurs: ^ * / + -");
    case 4:
        return QStringLiteral("Dépassement de capacité");
    default:
        return {};
    }
}

std::optional<QString> displayOfResult(const QString &numberText, bool scientific)
{
    const double v = readBlankDotNumber(numberText);
    if (!std::isfinite(v))
        return std::nullopt;
    if (scientific)
        return scientificText(v);
    const QString text = writeDotNumber(v);
    if (text.isEmpty())
        return std::nullopt;
    return text.startsWith(u'-') ? text : u' ' + text;
}

QString referenceText(float value)
{
    // The shortest decimal of the single, then the engine's own number text of that decimal.
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return u'(' + writeDotNumber(readDotNumber(QString::fromLatin1(buf, res.ptr - buf))) + u')';
}

int ComputeColumn(ValueTable &table, int col, const QString &formula, int angleMode, bool scientific,
                  const ColumnProgress &progress)
{
    const ValueTable::Bulk bulk(table, QStringLiteral("calcul de C") + QString::number(col + 1));
    table.setColumnExpression(col, formula);
    const int lastLine = table.Rows() - 1;
    int uncomputed = 0;
    for (int r = 1; r <= lastLine; ++r) {
        if (progress)
            progress(r, lastLine);
        QString work = formula;
        bool missing = false;
        // The bound is the text's current length: substituted numbers are longer than "C1".
        for (qsizetype i = 0; i + 1 < work.size() && !missing; ++i) {
            const char16_t digit = work[i + 1].unicode();
            if (work[i] != u'C' || digit < u'1' || digit > u'7')
                continue;
            const std::optional<float> value = table.cellValue(r, int(digit - u'1'));
            if (!value) {
                missing = true;
                break;
            }
            const QString number = referenceText(*value);
            work.replace(i, 2, number);
            i += number.size() - 1; // the scan goes on after the inserted number
        }
        std::optional<float> result;
        if (!missing) {
            int evalError = 0;
            EvaluateExpression(work, evalError, angleMode);
            if (evalError == 0) {
                if (const std::optional<QString> shown = displayOfResult(work, scientific)) {
                    // A result beyond the single range has no cell text: the line is not computed.
                    const float single = float(readBlankDotNumber(*shown));
                    if (std::isfinite(single))
                        result = single;
                }
            }
        }
        if (!result)
            ++uncomputed;
        table.setCellValue(r, col, result);
    }
    return uncomputed;
}

QString uncomputedMessage(int count)
{
    if (count <= 0)
        return {};
    if (count == 1)
        return QStringLiteral("Une valeur n'a pas été calculée.");
    return u' ' + QString::number(count) + QStringLiteral(" valeurs n'ont pas été calculées.");
}

Calculator::Calculator(double &memory) : m_memory(memory) {}

void Calculator::openColumnMode(int col, const QString &preload)
{
    m_column = col;
    if (!preload.isEmpty()) {
        m_entry = preload;
        show(m_entry);
    }
}

int Calculator::angleMode() const
{
    return radians ? AngleRadians : 0;
}

void Calculator::show(const QString &text)
{
    m_display = text;
    if (displayShown)
        displayShown(text);
}

void Calculator::ring()
{
    if (beep)
        beep();
}

bool Calculator::append(const QString &text)
{
    // A formula must fit in one record of a situation file.
    if (columnMode() && m_entry.size() + text.size() > kMaxFormulaLength) {
        ring();
        return false;
    }
    m_entry += text;
    return true;
}

// A function, "(", a number or a reference right after a number or ")" multiplies it.
bool Calculator::appendWithProduct(const QString &text)
{
    if (text.isEmpty())
        return true;
    const bool product =
        !m_entry.isEmpty() && m_entry.back() != u'(' && m_entry.back() != u'-' && m_entry.back() != u' ';
    return append(product ? QStringLiteral(" * ") + text : text);
}

void Calculator::answer()
{
    if (m_evalError == 0)
        appendWithProduct(m_lastAnswer.trimmed());
}

void Calculator::operatorFromAnswer(const QString &op, bool needsDisplay)
{
    if (needsDisplay && m_display.trimmed().isEmpty())
        return;
    if (m_entry.trimmed().isEmpty())
        answer();
    append(op);
}

void Calculator::minus()
{
    if (m_entry.isEmpty()) {
        append(QStringLiteral("-"));
        return;
    }
    const QChar last = m_entry.back();
    if (last == u'(' || last == u' ' || last == u'E')
        append(QStringLiteral("-"));
    else if (last == u'-')
        append(QStringLiteral(" -"));
    else
        append(QStringLiteral(" - "));
}

void Calculator::erase()
{
    if (m_entry.isEmpty())
        return;
    const qsizetype n = m_entry.size();
    if (m_entry.back() != u' ') {
        m_entry.chop(1);
        return;
    }
    const QChar before = n >= 2 ? m_entry[n - 2] : QChar();
    if (before == u'*' || before == u'+' || before == u'/' || before == u'-' || before == u'^') {
        m_entry.chop(std::min<qsizetype>(3, n));
        return;
    }
    // A function word: back to the space or "(" before it, the trailing space left out.
    qsizetype i = n - 2;
    while (i >= 0 && m_entry[i] != u' ' && m_entry[i] != u'(')
        --i;
    m_entry.truncate(i + 1);
}

QString Calculator::memoryText() const
{
    return scientific ? scientificText(m_memory) : writeDotNumber(m_memory).trimmed();
}

void Calculator::chooseDisplay(bool scientificMode)
{
    scientific = scientificMode;
    if (!m_entry.isEmpty() || m_evalError != 0 || m_lastAnswer.isEmpty())
        return;
    if (const std::optional<QString> text = displayOfResult(m_lastAnswer, scientific))
        show(*text);
}

void Calculator::exe()
{
    if (columnMode()) {
        // An empty formula would overwrite the column with zeros and keep no formula.
        if (m_entry.trimmed().isEmpty()) {
            ring();
            m_lastExe = Exe::Ignored;
        } else {
            m_lastExe = Exe::ComputeColumn;
        }
        return;
    }
    m_lastExe = Exe::Shown;
    const QString kept = m_entry;
    m_evalError = 0;
    show(QStringView(kPatienceText).toString());
    QString work = m_entry;
    int error = 0;
    EvaluateExpression(work, error, angleMode());
    m_evalError = error;
    QString text;
    if (error == 0) {
        if (const std::optional<QString> shown = displayOfResult(work, scientific)) {
            text = *shown;
        } else {
            m_entry = calculatorErrorMessage(4);
            ring();
            m_evalError = 4;
            scientific = false;
            text = m_entry;
        }
    } else {
        text = calculatorErrorMessage(error);
    }
    if (m_evalError != 0)
        ring();
    show(text);
    m_lastAnswer = text;
    m_entry.clear();
    if (m_evalError != 0)
        m_entry = kept; // the next key continues the expression
}

void Calculator::press(CalculatorKey key)
{
    using K = CalculatorKey;
    switch (key) {
    case K::EXE:
        exe();
        return;
    case K::MemoryPlus:
    case K::MemoryMinus: {
        const double v = readBlankDotNumber(m_display);
        const double sum = key == K::MemoryPlus ? m_memory + v : m_memory - v;
        if (std::isfinite(sum))
            m_memory = sum;
        else
            ring(); // an infinite memory would have no text to recall
        return;
    }
    case K::MemoryClear:
        m_memory = 0.0;
        return;
    default:
        break;
    }

    if (between(key, K::B0, K::tera) || key == K::bpf) {
        append(QString::fromLatin1(kKeys[int(key)].text));
    } else if (between(key, K::Bpo, K::Command5) && key != K::bpf) {
        appendWithProduct(QString::fromLatin1(kKeys[int(key)].text));
    } else if (between(key, K::C1, K::C7)) {
        const int col = int(key) - int(K::C1);
        if (!columnMode() || col == m_column)
            return; // hidden, or the column's own key, disabled
        appendWithProduct(QString::fromLatin1(kKeys[int(key)].text));
    } else {
        switch (key) {
        case K::plus:
            if (m_display.trimmed().isEmpty())
                return;
            if (m_entry.trimmed().isEmpty())
                answer();
            append(!m_entry.isEmpty() && m_entry.back() == u'E' ? QStringLiteral("+") : QStringLiteral(" + "));
            break;
        case K::moins:
            minus();
            break;
        case K::multip:
            operatorFromAnswer(QStringLiteral(" * "), true);
            break;
        case K::div:
            operatorFromAnswer(QStringLiteral(" / "), true);
            break;
        case K::puissance:
            operatorFromAnswer(QStringLiteral(" ^ "), false);
            break;
        case K::btcarre:
            operatorFromAnswer(QStringLiteral(" ^ 2"), false);
            break;
        case K::pi:
            appendWithProduct(writeDotNumber(4.0 * std::atan(1.0)));
            break;
        case K::ANS:
            answer();
            break;
        case K::EFFACE:
            erase();
            break;
        case K::RAZ:
            m_entry.clear();
            break;
        case K::MemoryRecall:
            appendWithProduct(memoryText());
            break;
        default:
            break;
        }
    }
    show(m_entry);
}

bool Calculator::type(QChar ch)
{
    using K = CalculatorKey;
    const char16_t c = ch.unicode();
    if (c >= u'0' && c <= u'9') {
        press(CalculatorKey(int(K::B0) + (c - u'0')));
        return true;
    }
    K key;
    switch (c) {
    case u'.':
        key = K::Bpoint;
        break;
    case u'd':
    case u'e':
    case u'D':
    case u'E':
        key = K::BtoEXP;
        break;
    case u'(':
        key = K::Bpo;
        break;
    case u')':
        key = K::bpf;
        break;
    case u'*':
        key = K::multip;
        break;
    case u'+':
        key = K::plus;
        break;
    case u'-':
        key = K::moins;
        break;
    case u'/':
        key = K::div;
        break;
    case u'^':
        key = K::puissance;
        break;
    case u'\r':
    case u'\n':
        key = K::EXE;
        break;
    case u'\b':
        key = K::EFFACE;
        break;
    default:
        return false;
    }
    press(key);
    return true;
}

int Calculator::computeColumn(ValueTable &table, const ColumnProgress &progress)
{
    return ComputeColumn(table, m_column, m_entry, angleMode(), scientific, progress);
}

} // namespace vorlac
