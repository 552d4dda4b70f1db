#include "exercises/exercisecheck.h"

#include "rtf/rtf.h"
#include <QTextDocument>

#include "common/codepage1252.h"
#include "situations/situationfile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cctype>
#include <cmath>

namespace vorlac
{

namespace
{

const QByteArray kRtfHeader = QByteArrayLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0");

// The document's text with its breaks as "\n": toPlainText would also turn the no-break spaces
// the texts keep beside « and » into plain spaces.
QString documentText(const QTextDocument &document)
{
    QString text = document.toRawText();
    for (QChar &c : text)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == QChar(0xFDD0) || c == QChar(0xFDD1))
            c = u'\n';
    return text;
}

const QSet<QByteArray> &allowedWords()
{
    static const QSet<QByteArray> words = {
        "rtf",  "ansi",   "ansicpg", "deff", "fonttbl",    "fswiss", "froman", "ftech", "colortbl", "red",  "green",
        "blue", "pard",   "qc",      "ql",   "li",         "fi",     "sb",     "sa",    "par",      "b",    "i",
        "ul",   "ulnone", "super",   "sub",  "nosupersub", "f",      "fs",     "cf",    "tab",      "line", "u"};
    return words;
}

bool isDigit(QChar c)
{
    return c.isDigit();
}

// Whether text holds number as a number of its own: no digit or decimal comma glued before it,
// no digit (or comma and digit) after it.
bool holdsNumber(const QString &text, const QString &number)
{
    for (qsizetype at = text.indexOf(number); at >= 0; at = text.indexOf(number, at + 1)) {
        const qsizetype end = at + number.size();
        const bool before = at > 0 && (isDigit(text[at - 1]) || text[at - 1] == QLatin1Char(','));
        const bool after =
            end < text.size() &&
            (isDigit(text[end]) || (text[end] == QLatin1Char(',') && end + 1 < text.size() && isDigit(text[end + 1])));
        if (!before && !after)
            return true;
    }
    return false;
}

} // namespace

QStringList undeclaredDecimals(const QString &text, const QList<QuotedValue> &values)
{
    // With the exponent the grapher writes large coefficients with: "1,590E+07".
    static const QRegularExpression decimal(QStringLiteral("\\d+,\\d+(?:E[+-]\\d+)?"));
    QStringList undeclared;
    for (auto m = decimal.globalMatch(text); m.hasNext();) {
        const QString number = m.next().captured();
        const bool declared = std::any_of(values.cbegin(), values.cend(), [&](const QuotedValue &v) {
            return v.text == number || v.text == QLatin1Char('-') + number;
        });
        if (!declared && !undeclared.contains(number))
            undeclared << number;
    }
    return undeclared;
}

RtfScan scanRtf(const QByteArray &rtf)
{
    RtfScan scan;
    if (!rtf.startsWith(kRtfHeader))
        scan.problems << QStringLiteral("does not start with %1").arg(QString::fromLatin1(kRtfHeader));
    int depth = 0;
    int skipFrom = 0;  // depth of a font or colour table being skipped, 0 for none
    int skipChars = 0; // replacement characters after \u still to skip
    auto add = [&](QChar c) {
        if (skipChars > 0)
            --skipChars;
        else if (skipFrom == 0)
            scan.text += c;
    };
    const qsizetype n = rtf.size();
    for (qsizetype k = 0; k < n; ++k) {
        const char c = rtf[k];
        if (static_cast<unsigned char>(c) >= 0x80) {
            scan.problems << QStringLiteral("byte %1 is not ASCII").arg(k);
        } else if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (skipFrom == depth)
                skipFrom = 0;
            if (--depth < 0)
                scan.problems << QStringLiteral("unbalanced } at byte %1").arg(k);
            if (depth == 0 && !rtf.mid(k + 1).trimmed().isEmpty())
                scan.problems << QStringLiteral("text after the document's end");
        } else if (c == '\r' || c == '\n') {
            continue;
        } else if (c != '\\') {
            if (depth == 0)
                scan.problems << QStringLiteral("text outside the document at byte %1").arg(k);
            add(QLatin1Char(c));
        } else if (k + 1 >= n) {
            scan.problems << QStringLiteral("lone backslash at the end");
        } else if (std::isalpha(static_cast<unsigned char>(rtf[k + 1]))) {
            qsizetype e = k + 1;
            while (e < n && std::isalpha(static_cast<unsigned char>(rtf[e])))
                ++e;
            const QByteArray word = rtf.mid(k + 1, e - k - 1);
            const qsizetype numberStart = e;
            if (e < n && rtf[e] == '-')
                ++e;
            while (e < n && std::isdigit(static_cast<unsigned char>(rtf[e])))
                ++e;
            const int param = rtf.mid(numberStart, e - numberStart).toInt();
            if (e < n && rtf[e] == ' ')
                ++e;
            k = e - 1;
            if (!allowedWords().contains(word))
                scan.problems
                    << QStringLiteral("control word \\%1 is outside the subset").arg(QString::fromLatin1(word));
            if (word == "fonttbl" || word == "colortbl")
                skipFrom = depth;
            else if (word == "par" || word == "line")
                add(QLatin1Char('\n'));
            else if (word == "tab")
                add(QLatin1Char('\t'));
            else if (word == "u") {
                add(QChar(char16_t(param < 0 ? param + 65536 : param)));
                skipChars = 1;
            }
        } else if (rtf[k + 1] == '\'') {
            bool ok = false;
            const int byte = rtf.mid(k + 2, 2).toInt(&ok, 16);
            if (!ok || k + 3 >= n)
                scan.problems << QStringLiteral("bad \\' escape at byte %1").arg(k);
            else
                add(cp1252ToChar(static_cast<unsigned char>(byte)));
            k += 3;
        } else if (rtf[k + 1] == '\\' || rtf[k + 1] == '{' || rtf[k + 1] == '}') {
            add(QLatin1Char(rtf[++k]));
        } else {
            scan.problems << QStringLiteral("control symbol \\%1 is outside the subset").arg(QLatin1Char(rtf[k + 1]));
            ++k;
        }
    }
    if (depth != 0)
        scan.problems << QStringLiteral("%1 group(s) left open").arg(depth);
    return scan;
}

QString checkQuotedValue(const QuotedValue &value, const QuantityScene &scene, const QString &text)
{
    QStringList problems;
    if (!holdsNumber(text, value.text))
        problems << QStringLiteral("not found in the text");
    QuantityScene s = scene;
    const std::optional<Quantity> q = quantityNamed(value.quantity);
    // NaN for none (an optional here trips a false "maybe uninitialized" in GCC 12).
    const double computed =
        q && applyQuantitySettings(s, value.settings) ? computeQuantity(*q, s).value_or(std::nan("")) : std::nan("");
    bool ok = false;
    const double quoted = QString(value.text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    const qsizetype e = value.text.indexOf(QLatin1Char('E'));
    const QString mantissa = e < 0 ? value.text : value.text.left(e);
    const int exponent = e < 0 ? 0 : value.text.mid(e + 1).toInt();
    const qsizetype comma = mantissa.indexOf(QLatin1Char(','));
    const int decimals = comma < 0 ? 0 : int(mantissa.size() - comma - 1);
    const double halfUnit = 0.5 * std::pow(10.0, exponent - decimals);
    if (std::isnan(computed))
        problems << QStringLiteral("the simulator gives no such value");
    else if (!ok || std::fabs(computed - quoted) > halfUnit * (1.0 + 1e-9))
        problems
            << QStringLiteral("the simulator gives %1").arg(computed, 0, 'f', std::max(0, decimals - exponent) + 3);
    if (problems.isEmpty())
        return {};
    return QStringLiteral("line %1, \"%2\" (%3 %4): ").arg(value.line).arg(value.text, value.quantity, value.settings) +
           problems.join(QStringLiteral("; "));
}

QStringList checkExercise(const ExerciseSource &source, const QString &dataFolder)
{
    QStringList problems;
    const ExerciseFile &x = source.exercise;
    auto resolve = [&](const QString &name) -> QString {
        if (const QString refused = storedNameProblem(dataFolder, name); !refused.isEmpty()) {
            problems << QStringLiteral("%1: refused by the program (%2)").arg(name, refused);
            return {};
        }
        const QString path = resolveExerciseName(dataFolder, name);
        if (!QFileInfo(path).isFile()) {
            problems << QStringLiteral("%1: no such file").arg(name);
            return {};
        }
        return path;
    };
    auto sceneOf = [&](const QString &name) -> QuantityScene {
        if (isBlankRecord(name))
            return quantitySceneOf(Situation{});
        const QString path = resolve(name);
        if (path.isEmpty())
            return quantitySceneOf(Situation{});
        const SituationResult r = readSituationFile(path);
        if (!r.situation)
            problems << QStringLiteral("%1: not a sound situation").arg(name);
        return quantitySceneOf(r.situation.value_or(Situation{}));
    };
    auto textOf = [&](const QString &name) -> QString {
        const QString path = resolve(name);
        if (path.isEmpty())
            return {};
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            problems << QStringLiteral("%1: cannot be read").arg(name);
            return {};
        }
        const QByteArray bytes = f.readAll();
        const RtfScan scan = scanRtf(bytes);
        for (const QString &p : scan.problems)
            problems << name + QStringLiteral(": ") + p;
        // The program's own reader must see the same text (empty last paragraphs aside), and give
        // it back through its writer.
        QTextDocument read, again;
        const QRegularExpression trailing(QStringLiteral("\\n+$"));
        const QString expected = QString(scan.text).remove(trailing);
        if (!readRtf(bytes, read))
            problems << name + QStringLiteral(": refused by the RTF reader");
        else if (documentText(read).remove(trailing) != expected)
            problems << name + QStringLiteral(": the RTF reader gives another text");
        else if (!readRtf(writeRtf(read), again) || documentText(again).remove(trailing) != expected)
            problems << name + QStringLiteral(": the text changes when written and read again");
        return scan.text;
    };

    const QuantityScene statementScene = sceneOf(x.statementSituation);
    const QString statement = textOf(x.statement);
    for (const QuotedValue &v : source.statementValues)
        if (const QString p = checkQuotedValue(v, statementScene, statement); !p.isEmpty())
            problems << x.statement + QStringLiteral(", ") + p;

    if (!isBlankRecord(x.correction)) {
        const QuantityScene scene =
            isBlankRecord(x.correctionSituation) ? statementScene : sceneOf(x.correctionSituation);
        const QString correction = textOf(x.correction);
        for (const QuotedValue &v : source.correctionValues)
            if (const QString p = checkQuotedValue(v, scene, correction); !p.isEmpty())
                problems << x.correction + QStringLiteral(", ") + p;
        for (const QString &number : undeclaredDecimals(correction, source.correctionValues))
            problems << x.correction + QStringLiteral(", \"%1\" is quoted but not declared").arg(number);
    } else if (!source.correctionValues.isEmpty()) {
        problems << QStringLiteral("values quoted but no correction");
    }
    return problems;
}

} // namespace vorlac
