#include "expr/calculator.h"
#include "table/valuetable.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace
{

using vorlac::Calculator;
using vorlac::CalculatorKey;

// A sequence of space-separated keys: control names ("plus", "EXE", "EFFACE"), "C1".."C7" for
// the column keys, "M+" "M-" "RM" "CM" for the memory, "Scientifique" / "Standard" / "Radians"
// for the options; any other token is typed character by character ("250", "2e3").
void run(Calculator &calc, const char *keys)
{
    const QStringList tokens = QString::fromLatin1(keys).split(u' ', Qt::SkipEmptyParts);
    for (const QString &t : tokens) {
        if (t == u"Scientifique" || t == u"Standard") {
            calc.chooseDisplay(t == u"Scientifique");
            continue;
        }
        if (t == u"Radians") {
            calc.radians = true;
            continue;
        }
        const std::pair<const char *, CalculatorKey> special[] = {
            {"M+", CalculatorKey::MemoryPlus},  {"M-", CalculatorKey::MemoryMinus}, {"RM", CalculatorKey::MemoryRecall},
            {"CM", CalculatorKey::MemoryClear}, {"C1", CalculatorKey::C1},          {"C2", CalculatorKey::C2},
            {"C3", CalculatorKey::C3},          {"C7", CalculatorKey::C7}};
        bool done = false;
        for (const auto &[name, key] : special) {
            if (t == QLatin1String(name)) {
                calc.press(key);
                done = true;
            }
        }
        for (int k = 0; k < vorlac::kCalculatorKeyCount && !done; ++k) {
            if (vorlac::keyName(CalculatorKey(k)) == t && t != u"Command6") {
                calc.press(CalculatorKey(k));
                done = true;
            }
        }
        for (qsizetype i = 0; !done && i < t.size(); ++i)
            EXPECT_TRUE(calc.type(t[i])) << "token " << t.toStdString();
    }
}

struct KeyRow {
    const char *keys;
    const char *display;
    const char *entry; // nullptr: the entry is not checked
};

std::ostream &operator<<(std::ostream &os, const KeyRow &r)
{
    return os << '"' << r.keys << '"';
}

class CalculatorKeys : public ::testing::TestWithParam<KeyRow>
{
};

TEST_P(CalculatorKeys, Display)
{
    double memory = 0.0;
    Calculator calc(memory);
    run(calc, GetParam().keys);
    EXPECT_EQ(calc.display(), QString::fromUtf8(GetParam().display));
    if (GetParam().entry) {
        EXPECT_EQ(calc.entryText(), QString::fromUtf8(GetParam().entry));
    }
}

const char *const kOperatorError = "Erreur saisie: incompréhension sur opérateurs: ^ * / + -";

INSTANTIATE_TEST_SUITE_P(
    Results, CalculatorKeys,
    ::testing::Values(KeyRow{"2 plus 3 EXE", " 5", ""}, KeyRow{"2 plus 3 EXE multip 2 EXE", " 10", ""},
                      KeyRow{"2 plus 3 EXE plus 1 EXE", " 6", ""}, KeyRow{"2 plus 3 EXE moins 2", "-2", "-2"},
                      KeyRow{"EXE", " 0", ""}, KeyRow{"1 div 2 EXE", " .5", ""}, KeyRow{"moins 3 EXE", "-3", ""},
                      KeyRow{"Scientifique 250 EXE", "2.5E+02", ""},
                      KeyRow{"Radians bsin pi EXE", " 3.23108914886517E-15", ""},
                      KeyRow{"bsin pi EXE", " .0548036651487895", ""}, KeyRow{"2 kilo EXE", " 2000", ""},
                      KeyRow{"4 btcarre EXE btcarre EXE", " 256", ""}, KeyRow{"2 B10x 3 EXE", " 2000", ""},
                      KeyRow{"1 BtoEXP moins 3 EXE", " .001", ""}, KeyRow{"2 multip Bpo 1 plus 2 bpf EXE", " 6", ""},
                      KeyRow{"racine 16 EXE", " 4", ""}, KeyRow{"Command5 4 EXE", " .25", ""},
                      KeyRow{"invsin 1 EXE", " 90", ""}, KeyRow{"Bln 1 EXE", " 0", ""}));

INSTANTIATE_TEST_SUITE_P(
    Building, CalculatorKeys,
    ::testing::Values(
        KeyRow{"2 Bcos", "2 * cos ", nullptr}, KeyRow{"moins Bpo", "-(", nullptr},
        KeyRow{"2 plus Bpo", "2 + (", nullptr}, KeyRow{"bpf Bpo", ") * (", nullptr},
        KeyRow{"2 pi", "2 * 3.14159265358979", nullptr}, KeyRow{"bsin pi", "sin 3.14159265358979", nullptr},
        KeyRow{"plus", "", ""}, KeyRow{"multip", "", ""}, KeyRow{"div", "", ""}, KeyRow{"puissance", " ^ ", nullptr},
        KeyRow{"moins", "-", nullptr}, KeyRow{"5 moins", "5 - ", nullptr}, KeyRow{"5 moins moins", "5 - -", nullptr},
        KeyRow{"5 moins moins moins", "5 - - -", nullptr}, KeyRow{"1 BtoEXP plus 3", "1E+3", nullptr},
        KeyRow{"2e3", "2E3", nullptr}, KeyRow{"2d3", "2E3", nullptr}, KeyRow{"3 pico", "3E-12", nullptr},
        KeyRow{"3 tera", "3E+12", nullptr}, KeyRow{"(2+3)*4^2/1-", "(2 + 3) * 4 ^ 2 / 1 - ", nullptr},
        KeyRow{"5 RAZ", "", ""}, KeyRow{"invcos Btoncommande3 Blog Bexp", "invCOS invTAN log exp ", nullptr},
        KeyRow{"C1", "", ""}));

// After a successful EXE, the operator keys start from the answer; ANS and RM after a digit
// multiply instead of gluing their number to it.
INSTANTIATE_TEST_SUITE_P(
    Answers, CalculatorKeys,
    ::testing::Values(KeyRow{"2 plus 3 EXE 4 ANS", "4 * 5", nullptr},
                      KeyRow{"2 plus 3 EXE 4 plus ANS", "4 + 5", nullptr}, KeyRow{"2 plus 3 EXE ANS", "5", nullptr},
                      KeyRow{"2 plus 3 EXE puissance", "5 ^ ", nullptr}, KeyRow{"2 plus 3 EXE div", "5 / ", nullptr},
                      KeyRow{"moins 3 EXE multip", "-3 * ", nullptr}, KeyRow{".5 EXE M+ RAZ 2 RM", "2 * .5", nullptr},
                      KeyRow{".5 EXE M+ RAZ moins RM", "-.5", nullptr}, KeyRow{".5 EXE M+ M+ RAZ RM", "1", nullptr},
                      KeyRow{".5 EXE M+ M- RM", "0", nullptr},
                      KeyRow{"250 EXE M+ RAZ Scientifique RM", "2.5E+02", nullptr},
                      KeyRow{"42 EXE M+ CM RAZ RM", "0", nullptr}));

// Errors: the message with the entry kept for the next key; an error answer is never reused.
INSTANTIATE_TEST_SUITE_P(
    Errors, CalculatorKeys,
    ::testing::Values(KeyRow{"2 multip EXE", kOperatorError, "2 * "}, KeyRow{"2 multip EXE 5", "2 * 5", "2 * 5"},
                      KeyRow{"2 multip EXE 5 EXE", " 10", ""},
                      KeyRow{"Bpo 2 plus 3 EXE", "Erreur saisie: revoir les parenthèses", "(2 + 3"},
                      KeyRow{"Bpo 2 plus 3 EXE bpf EXE", " 5", ""}, KeyRow{"1 div 0 EXE", "Calcul impossible", "1 / 0"},
                      KeyRow{"1 div 0 EXE ANS", "1 / 0", "1 / 0"}, KeyRow{"1 div 0 EXE RAZ ANS", "", ""},
                      KeyRow{"1 div 0 EXE RAZ Scientifique", "", ""}));

INSTANTIATE_TEST_SUITE_P(DisplayOptions, CalculatorKeys,
                         ::testing::Values(KeyRow{"250 EXE Scientifique", "2.5E+02", ""},
                                           KeyRow{"250 EXE Scientifique Standard", " 250", ""},
                                           KeyRow{"Scientifique 1 div 3 EXE Standard", " .33333333", ""},
                                           KeyRow{"250 EXE 1 Scientifique", "1", "1"}, KeyRow{"Scientifique", "", ""},
                                           KeyRow{"moins 2 EXE Scientifique", "-2E+00", ""}));

// EFFACE removes a character, a spaced operator or a function word.
INSTANTIATE_TEST_SUITE_P(
    Effacer, CalculatorKeys,
    ::testing::Values(KeyRow{"5 moins EFFACE", "5", "5"}, KeyRow{"2 puissance 2 EFFACE", "2 ^ ", "2 ^ "},
                      KeyRow{"2 Bcos EFFACE", "2 * ", "2 * "}, KeyRow{"Bpo Bcos EFFACE", "(", "("},
                      KeyRow{"Bcos EFFACE", "", ""}, KeyRow{"invsin EFFACE", "", ""}, KeyRow{"EFFACE", "", ""},
                      KeyRow{"12 EFFACE EFFACE EFFACE", "", ""}, KeyRow{"puissance EFFACE", "", ""},
                      KeyRow{"2 multip Bpo 3 plus Bln EFFACE", "2 * (3 + ", "2 * (3 + "},
                      KeyRow{"moins moins EFFACE", "- ", "- "}, KeyRow{"moins moins EFFACE EFFACE", "", ""}));

TEST(Calculator, PatienceThenTheResult)
{
    double memory = 0.0;
    Calculator calc(memory);
    std::vector<QString> shown;
    int beeps = 0;
    calc.displayShown = [&](const QString &t) { shown.push_back(t); };
    calc.beep = [&] { ++beeps; };
    run(calc, "7 EXE");
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[1], QStringLiteral("    Patience... Calculs en cours.     "));
    EXPECT_EQ(shown[2], QStringLiteral(" 7"));
    EXPECT_EQ(beeps, 0);
    run(calc, "1 div 0 EXE");
    EXPECT_EQ(beeps, 1);
}

TEST(Calculator, MemoryOutlivesTheWindowAndOptionsDoNot)
{
    double memory = 0.0;
    {
        Calculator first(memory);
        run(first, "Radians Scientifique 42 EXE M+");
    }
    Calculator second(memory);
    EXPECT_FALSE(second.radians);
    EXPECT_FALSE(second.scientific);
    run(second, "RM");
    EXPECT_EQ(second.entryText(), QStringLiteral("42"));
    EXPECT_EQ(memory, 42.0);
}

TEST(Calculator, MemoryStaysFinite)
{
    double memory = 0.0;
    Calculator calc(memory);
    int beeps = 0;
    calc.beep = [&] { ++beeps; };
    run(calc, "1 BtoEXP 308 multip 1.7 EXE M+ M+");
    EXPECT_EQ(memory, 1.7e308);
    EXPECT_EQ(beeps, 1);
}

TEST(Calculator, ResultDisplay)
{
    EXPECT_EQ(vorlac::displayOfResult(QStringLiteral(""), false), QStringLiteral(" 0"));
    EXPECT_EQ(vorlac::displayOfResult(QStringLiteral("-.25"), false), QStringLiteral("-.25"));
    EXPECT_EQ(vorlac::displayOfResult(QStringLiteral("1E+20"), false), QStringLiteral(" 1E+20"));
    EXPECT_EQ(vorlac::displayOfResult(QStringLiteral("1234.5"), true), QStringLiteral("1.2345E+03"));
    EXPECT_EQ(vorlac::displayOfResult(QStringLiteral("1E999"), false), std::nullopt);
    EXPECT_EQ(vorlac::displayOfResult(QStringLiteral("1E999"), true), std::nullopt);
}

TEST(Calculator, ColumnModeKeys)
{
    double memory = 0.0;
    Calculator calc(memory);
    int beeps = 0;
    calc.beep = [&] { ++beeps; };
    calc.openColumnMode(2);
    run(calc, "C3 C1 C2 2 C7");
    EXPECT_EQ(calc.entryText(), QStringLiteral("C1 * C22 * C7")); // C3 is the column's own key
    run(calc, "RAZ EXE");
    EXPECT_EQ(calc.lastExe(), Calculator::Exe::Ignored);
    EXPECT_EQ(beeps, 1);
    run(calc, "C1 EXE");
    EXPECT_EQ(calc.lastExe(), Calculator::Exe::ComputeColumn);
}

TEST(Calculator, ColumnFormulaStopsAtOneRecord)
{
    double memory = 0.0;
    Calculator calc(memory);
    int beeps = 0;
    calc.beep = [&] { ++beeps; };
    calc.openColumnMode(0);
    for (int i = 0; i < 130; ++i)
        calc.press(CalculatorKey::B1);
    EXPECT_EQ(calc.entryText().size(), vorlac::kMaxFormulaLength);
    EXPECT_EQ(beeps, 4);
    run(calc, "EFFACE EFFACE Bcos"); // 124 + " * cos " would pass 126: refused whole
    EXPECT_EQ(calc.entryText().size(), 124);
    EXPECT_EQ(beeps, 5);
}

TEST(Calculator, RecalculerPreloadsTheFormula)
{
    double memory = 0.0;
    Calculator calc(memory);
    calc.openColumnMode(3, QStringLiteral("C1 * 2"));
    EXPECT_EQ(calc.entryText(), QStringLiteral("C1 * 2"));
    EXPECT_EQ(calc.display(), QStringLiteral("C1 * 2"));
}

// --- Column computation ---------------------------------------------------------------------

struct Table {
    vorlac::ValueTable table;
    explicit Table(int lines) { table.setRows(lines + 1); }
    void column(int col, std::initializer_list<const char *> cells)
    {
        int r = 1;
        for (const char *c : cells)
            table.setTextMatrix(r++, col, QString::fromUtf8(c));
    }
    std::vector<QString> cells(int col) const
    {
        std::vector<QString> out;
        for (int r = 1; r < table.Rows(); ++r)
            out.push_back(table.TextMatrix(r, col));
        return out;
    }
};

TEST(ComputeColumn, EmptyReferencesAreCountedAndEmptied)
{
    Table t(10);
    t.column(0, {"1", "2", "3", "4", "5", "6", "7", "8"});
    t.column(1, {"9", "9", "9", "9", "9", "9", "9", "9", "9", "9"});
    const int count = vorlac::ComputeColumn(t.table, 1, QStringLiteral("C1 * 2"), 0, false);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(vorlac::uncomputedMessage(count), QStringLiteral(" 2 valeurs n'ont pas été calculées."));
    const std::vector<QString> expected = {"2,000",  "4,000",  "6,000",  "8,000", "10,000",
                                           "12,000", "14,000", "16,000", "",      ""};
    EXPECT_EQ(t.cells(1), expected);
    EXPECT_EQ(t.table.ColumnExpression(1), QStringLiteral("C1 * 2"));
}

struct LineRow {
    const char *formula;
    std::vector<const char *> c1, c2, c3;
    std::vector<const char *> result; // in column 4 (C4)
    int uncomputed;
};

std::ostream &operator<<(std::ostream &os, const LineRow &r)
{
    return os << '"' << r.formula << '"';
}

class ComputeLines : public ::testing::TestWithParam<LineRow>
{
};

TEST_P(ComputeLines, Cells)
{
    const LineRow &row = GetParam();
    Table t(int(row.result.size()));
    for (std::size_t r = 0; r < row.result.size(); ++r) {
        const auto put = [&](int col, const std::vector<const char *> &v) {
            if (r < v.size())
                t.table.setTextMatrix(int(r) + 1, col, QString::fromUtf8(v[r]));
        };
        put(0, row.c1);
        put(1, row.c2);
        put(2, row.c3);
    }
    EXPECT_EQ(vorlac::ComputeColumn(t.table, 3, QString::fromLatin1(row.formula), 0, false), row.uncomputed);
    std::vector<QString> expected;
    for (const char *c : row.result)
        expected.push_back(QString::fromUtf8(c));
    EXPECT_EQ(t.cells(3), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Formulas, ComputeLines,
    ::testing::Values(LineRow{"SQR C1", {"4", "-4", "9"}, {}, {}, {"2,000", "", "3,000"}, 1},
                      LineRow{"1 / C1", {"0", "2"}, {}, {}, {"", "0,500"}, 1},
                      LineRow{"C1 + C2", {"abc", "1"}, {"1", "2"}, {}, {"", "3,000"}, 1},
                      LineRow{"sin C1 / sin C2", {"30", "60"}, {"30", "30"}, {}, {"1,000", "1,732"}, 0},
                      LineRow{"2 + 3", {}, {}, {}, {"5,000", "5,000", "5,000"}, 0},
                      // The shortest text of the single: 0,1 - 0,1 is 0, not 1.49E-09.
                      LineRow{"(C1 - .1) * 1E9", {"0,1", "0,3"}, {}, {}, {"0,000", "200000000,000"}, 0},
                      // A parenthesised difference stays the base of its power.
                      LineRow{"C3 + (C1 - C2) ^ 2", {"1", "5"}, {"3", "2"}, {"10", "10"}, {"14,000", "19,000"}, 0},
                      // A negative reference is one operand.
                      LineRow{"C2 + C1 ^ 2", {"-3", "3"}, {"1", "1"}, {}, {"10,000", "10,000"}, 0},
                      LineRow{"C2 - C1", {"-3"}, {"1"}, {}, {"4,000"}, 0},
                      LineRow{"sin C1", {"-30"}, {}, {}, {"-0,500"}, 0},
                      // The scan follows the text as the substituted numbers lengthen it.
                      LineRow{"C1 + C2", {"12345,67"}, {"1"}, {}, {"12346,670"}, 0},
                      LineRow{"C1+C1+C1+C1+C2", {"0,0001234"}, {"1"}, {}, {"1,000"}, 0},
                      // Beyond the single range: no cell text, counted.
                      LineRow{"C1 * 1E30", {"1E10", "1"}, {}, {}, {"", "1000000000000000000000000000000,000"}, 1},
                      LineRow{"C1 C2", {"1"}, {"2"}, {}, {""}, 1}, LineRow{"C12", {"5"}, {}, {}, {""}, 1},
                      LineRow{"C1 * 1E-3 + C2", {"1E-5", "2"}, {"1", "1"}, {}, {"1,000", "1,002"}, 0},
                      LineRow{"C8 + 1", {"1"}, {}, {}, {""}, 1}, LineRow{"C4 + 1", {}, {}, {}, {""}, 1}));

TEST(ComputeColumn, HundredLinesInOneNotification)
{
    Table t(100);
    for (int r = 1; r <= 100; ++r)
        t.table.setTextMatrix(r, 0, QString::number(r));
    int notifications = 0;
    QObject::connect(&t.table, &vorlac::ValueTable::cellsChanged, [&](int, int) { ++notifications; });
    std::vector<int> progress;
    const int count = vorlac::ComputeColumn(t.table, 1, QStringLiteral("C1 ^ 2"), 0, false, [&](int line, int last) {
        EXPECT_EQ(last, 100);
        progress.push_back(line);
    });
    EXPECT_EQ(count, 0);
    EXPECT_EQ(notifications, 1);
    ASSERT_EQ(progress.size(), 100u);
    EXPECT_EQ(progress.front(), 1);
    EXPECT_EQ(progress.back(), 100);
    EXPECT_EQ(t.table.TextMatrix(100, 1), QStringLiteral("10000,000"));
    EXPECT_EQ(t.table.TextMatrix(37, 1), QStringLiteral("1369,000"));
}

TEST(ComputeColumn, Messages)
{
    EXPECT_EQ(vorlac::uncomputedMessage(0), QString());
    EXPECT_EQ(vorlac::uncomputedMessage(1), QStringLiteral("Une valeur n'a pas été calculée."));
    EXPECT_EQ(vorlac::uncomputedMessage(3), QStringLiteral(" 3 valeurs n'ont pas été calculées."));
}

TEST(ComputeColumn, ReferenceTexts)
{
    EXPECT_EQ(vorlac::referenceText(0.1f), QStringLiteral("(.1)"));
    EXPECT_EQ(vorlac::referenceText(1.5f), QStringLiteral("(1.5)"));
    EXPECT_EQ(vorlac::referenceText(-2.5f), QStringLiteral("(-2.5)"));
    EXPECT_EQ(vorlac::referenceText(1e-5f), QStringLiteral("(1E-05)"));
    EXPECT_EQ(vorlac::referenceText(123456789.0f), QStringLiteral("(123456792)"));
    EXPECT_EQ(vorlac::referenceText(0.0f), QStringLiteral("(0)"));
}

} // namespace
