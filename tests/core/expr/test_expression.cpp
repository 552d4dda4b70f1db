#include "common/numbertext.h"
#include "expr/expression.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <utility>
#include <vector>

namespace
{

using vorlac::EvaluateExpression;
using vorlac::ExpressionEngine;

constexpr int Degrees = 0;
constexpr int Radians = vorlac::AngleRadians;

struct Row {
    const char *expression;
    int angleMode;
    const char *result; // expected text when error is 0
    int error;
};

std::ostream &operator<<(std::ostream &os, const Row &r)
{
    return os << '"' << r.expression << "\" mode " << r.angleMode << " -> \"" << r.result << "\" error " << r.error;
}

Row ok(const char *e, const char *r, int mode = Degrees)
{
    return {e, mode, r, 0};
}
Row fails(const char *e, int error, int mode = Degrees)
{
    return {e, mode, "", error};
}

// Rows whose angle mode does not matter, in both modes.
std::vector<Row> anyMode(std::initializer_list<Row> rows)
{
    std::vector<Row> out;
    for (Row r : rows) {
        r.angleMode = Degrees;
        out.push_back(r);
        r.angleMode = Radians;
        out.push_back(r);
    }
    return out;
}

class Evaluate : public ::testing::TestWithParam<Row>
{
};

TEST_P(Evaluate, GivesTextOrError)
{
    const Row &row = GetParam();
    QString text = QString::fromLatin1(row.expression);
    int error = -1;
    EvaluateExpression(text, error, row.angleMode);
    ASSERT_EQ(error, row.error) << "text reached: " << text.toStdString();
    if (row.error == 0) {
        EXPECT_EQ(text.toStdString(), row.result);
    }
}

INSTANTIATE_TEST_SUITE_P(LanguageTableAnyMode, Evaluate,
                         ::testing::ValuesIn(anyMode({ok("2 * 3 ^ 2", "18"), ok("2 ^ 3 ^ 2", "64"),
                                                      ok("-2 ^ 2", "4"),     ok("2 ^ -1", ".5"),
                                                      ok("10 - 4 - 3", "3"), ok("1 + 2 - 15", "-12"),
                                                      ok("8 / 2 / 2", "2"),  ok("2 - -3", "5"),
                                                      ok("(-2.5)", "-2.5"),  ok("ln (2 + 3)", "1.6094379124341"),
                                                      ok("log 1000", "3"),   fails("ln 0", 1),
                                                      fails("SQR -4", 1),    fails("invSIN 2", 1),
                                                      fails("1 / 0", 1),     fails("(-8) ^ .5", 1),
                                                      fails("(2 + 3", 2),    fails("2 + 3)", 2),
                                                      fails("2 *", 3),       fails("2 * * 3", 3),
                                                      ok("2 +", "2"),        ok("", "")})));

INSTANTIATE_TEST_SUITE_P(LanguageTableAngles, Evaluate,
                         ::testing::Values(ok("sin 30", ".5"), ok("invSIN 1", "90"),
                                           ok("invCOS 0", "1.5707963267949", Radians), ok("sin (30 + 60)", "1"),
                                           ok("sin (cos 60 * 180)", "1")));

// Results pass through 15-digit text between steps, and the order of reductions decides.
INSTANTIATE_TEST_SUITE_P(ReductionOrder, Evaluate,
                         ::testing::Values(ok("2 + 3 * 4 - 6 / 3", "12"), ok("1 - 2 ^ 2 * 3", "-11"),
                                           ok("2 * 3 - 4 * 5", "-14"), ok("1 - 2 / -4", "1.5"), ok("2 - 3 - -4", "3"),
                                           ok("8 * 2 / 4", "4"), ok("1 / 3", ".333333333333333"),
                                           ok("1 / 3 * 3", ".999999999999999"), ok("2 / 3 - .666666666666667", "0"),
                                           ok("SQR 2 * SQR 2", "2.00000000000001"),
                                           ok("exp (ln 10 * 2)", "100.000000000001"), ok("0 ^ 0", "1"),
                                           ok("-2 ^ 3", "-8"), ok("-3 * -3", "9"), ok("--5", "5"), ok("+5", "5"),
                                           ok("2 * -3", "-6"), ok("123456789012345678 * 1", "1.23456789012346E+17"),
                                           ok("1E10 * 1E10", "1E+20"), ok("1.5E-7 * 1", "1.5E-07"),
                                           ok("2E3 + 1", "2001"), ok("2E+3 - 1", "1999"), ok("1E5", "1E5"),
                                           ok("2.", "2."), ok("2. * 2", "4")));

INSTANTIATE_TEST_SUITE_P(Functions, Evaluate,
                         ::testing::Values(ok("SQR 2", "1.4142135623731"), ok("exp 1", "2.71828182845905"),
                                           ok("exp -1", ".367879441171442"), ok("tan 45", "1"), ok("invTAN 1", "45"),
                                           ok("invTAN 1", ".785398163397448", Radians), ok("invSIN -1", "-90"),
                                           ok("invSIN .5", "30"), ok("invCOS .5", "60"), ok("invCOS -1", "180"),
                                           ok("invCOS -1", "3.14159265358979", Radians),
                                           ok("cos 3.14159265358979", "-1", Radians), ok("sin 90", "1", 7),
                                           ok("sin 90", "1", -1), ok("sin 30", "-.988031624092862", Radians),
                                           ok("-sin 30", "-.5"), ok("sin -30", "-.5"), ok("ln 1", "0"),
                                           ok("log 1E-5", "-5"), ok("tan 90", "1.63312393531954E+16"),
                                           ok("invTAN 1E308", "90"), ok("sin (30) / sin (19.5)", "1.49787215621546")));

INSTANTIATE_TEST_SUITE_P(FunctionsOfFunctions, Evaluate,
                         ::testing::Values(ok("ln exp 2", "2"), ok("SQR SQR 16", "2"), ok("sin invSIN .25", ".25"),
                                           ok("sin (sin (sin 30) * 60)", ".00913827941274534"),
                                           ok("2 * sin (30) ^ 2", ".5"), ok("2.5 * (sin 30 + cos 60) ^ 2", "2.5"),
                                           ok("SIN -SIN 30", ".834944331803534", Radians), ok("2 * -SIN -30", "1"),
                                           ok("sin -(2 + 1)", "-.141120008059867", Radians),
                                           ok("sin -(0 - 1)", ".841470984807897", Radians)));

INSTANTIATE_TEST_SUITE_P(Parentheses, Evaluate,
                         ::testing::Values(ok("(2 + 3) * 4", "20"), ok("((2 + 3))", "5"), ok("((((7))))", "7"),
                                           ok("(1 + (2 * (3 + 4)))", "15"), ok("(1 + 2) * (3 + 4)", "21"),
                                           ok("(3.2 - 1.7) ^ 2 + 3", "5.25"), ok("2 - (0 - 3)", "5"),
                                           ok("(0 - 3) ^ 2", "9"), ok("-(2 + 3)", "-5"), ok("-(-(-4))", "-4"),
                                           ok("(1 + 2) * (sin 30)", "1.5"), ok("(-.5)", "-.5"), ok("(+4)", "4"),
                                           ok("()", ""), ok("2 * ()", "0")));

// A parenthesised negative value stays the base of a following power, even after a binary "+" or
// "-" that its sign would otherwise fold into; unparenthesised signs keep their language meaning.
INSTANTIATE_TEST_SUITE_P(ParenthesisedPowerBase, Evaluate,
                         ::testing::Values(ok("1 + (1 - 3) ^ 2", "5"), ok("5 - (1 - 3) ^ 2", "1"),
                                           ok("(1 - 3) ^ 2", "4"), ok("1 + (-2) ^ 2", "5"), ok("5 - (-2) ^ 2", "1"),
                                           ok("1 + (1 - 3) ^ 3", "-7"), ok("1 - (1 - 3) ^ 3", "9"),
                                           ok("1 + (1 - 3) ^ 3 ^ 2", "65"), ok("1 + (1 - 3) ^ 2 / 4", "2"),
                                           ok("1 + (1 - 3) ^ 2 * 3", "13"), ok("1 + (1 - 3) ^ (0 - 1)", ".5"),
                                           ok("1 + (1 - 3) ^ SQR 4", "5"), ok("1 + (1 - 3) ^ SQR (2 + 2)", "5"),
                                           ok("1 + (sin -30) ^ 2", "1.25"), ok("2.5 + (-2E-1) ^ 2", "2.54"),
                                           ok("1 + ((1 - 3)) ^ 2", "5"), ok("(1 + 1) - (1 - 3) ^ 2", "-2"),
                                           ok("1 - -(1 - 3) ^ 2", "5"), ok("8 / (1 - 3) ^ 2", "2"),
                                           ok("2 * (1 - 3) ^ 2", "8"), ok("1 + (1 - 3)", "-1"), ok("2 + -3 ^ 2", "-7"),
                                           ok("2 - -3 ^ 2", "11"), ok("-(1 - 3) ^ 2", "4"), ok("2 * -(1 - 3) ^ 2", "8"),
                                           fails("1 + (-8) ^ (1 / 3)", 1)));

// A negative intermediate result after a sign folds into "+", which must stay a sign.
INSTANTIATE_TEST_SUITE_P(SignAfterOperator, Evaluate,
                         ::testing::Values(ok("2 * -(1 - 4)", "6"), ok("2 / -(0 - 2)", "1"), ok("2 ^ -(0 - 1)", "2"),
                                           ok("2 * + 3", "6"), ok("2 ^ + 3", "8"), ok("sin + 90", "1")));

INSTANTIATE_TEST_SUITE_P(Dangling, Evaluate,
                         ::testing::Values(ok("2 -", "2"), ok("2 - -", "2"), ok("   ", ""), ok("+", ""),
                                           fails("2 /", 3), fails("2 ^", 3), fails("2 * (", 2), fails("-", 1),
                                           fails("* 3", 1), fails("2 * -", 1)));

INSTANTIATE_TEST_SUITE_P(ArithmeticFaults, Evaluate,
                         ::testing::Values(fails("ln -1", 1), fails("log 0", 1), fails("invCOS -1.0001", 1),
                                           fails("0 / 0", 1), fails("0 ^ -1", 1), fails("-2 ^ .5", 1),
                                           fails("1E+308 * 10", 1), fails("1E+308 + 1E+308", 1),
                                           fails("-1E+308 - 1E+308", 1), fails("10 ^ 400", 1), fails("(-2) ^ 1E300", 1),
                                           fails("exp 710", 1), fails("sin 1E308", 1),
                                           ok("sin 1E308", ".453396490501649", Radians), fails("1E999", 1),
                                           fails("1E999 * 0", 1), fails("1.7976931348623157E+308 * 1", 1),
                                           ok("1.79769313486231E+308 * 1", "1.79769313486231E+308")));

// Subnormal results are kept, full underflow gives 0.
INSTANTIATE_TEST_SUITE_P(Underflow, Evaluate,
                         ::testing::Values(ok("1E-320 * 1", "9.99988867182683E-321"), ok("1E-200 * 1E-200", "0"),
                                           ok("-1E-200 * 1E-200", "0"), ok("exp -800", "0"), ok("(-.5) ^ 1E300", "0"),
                                           ok("ln 1E-320", "-736.827240890974")));

INSTANTIATE_TEST_SUITE_P(MisorderedParentheses, Evaluate,
                         ::testing::Values(fails("((1)", 2), fails("2) + (3", 1), fails(")(", 1), fails(")2 + 3(", 1)));

// Texts outside the language never give a silent value.
INSTANTIATE_TEST_SUITE_P(NotTheLanguage, Evaluate,
                         ::testing::Values(fails("X", 1), fails("2 + X", 1), fails("(X)", 1), fails("sin X", 1),
                                           fails("sin", 1), fails("ABC + 1", 1), fails(".", 1), fails(". + 1", 1),
                                           fails("2,5 * 2", 1), fails("2.5.3", 1), fails("2E", 1), fails("2E+", 1),
                                           fails("\t5", 1), fails("5\t", 1), fails("#", 1)));

// Operands side by side would be glued into one number (24, 12, 2.5) once spaces and parentheses go.
INSTANTIATE_TEST_SUITE_P(Juxtaposed, Evaluate,
                         ::testing::Values(fails("2(3 + 1)", 1), fails("(2 + 1)(3 + 1)", 1), fails("(2)(3)", 1),
                                           fails("2 sin 30", 1), fails("(1 + 2) sin 30", 1), fails("(1) 2", 1),
                                           fails("2E(3)", 1), fails("2 3 (4)", 1), fails("2(3", 2), fails("1 2", 1),
                                           fails("2 + 3  4", 1), fails("(5) 2", 1), fails("2 .5", 1), ok("2 +  3", "5"),
                                           ok("sin  30", ".5")));

TEST(ExpressionRoutines, SpaceExpressionWritesTheCanonicalForm)
{
    ExpressionEngine e;
    const std::pair<const char *, const char *> rows[] = {
        {"2*3^2", " 2 * 3 ^ 2 "},
        {"+1-2+3", " 1 - 2 + 3 "},
        {"-3*-2", " -3 * -2 "},
        {"2E-3+1E+2", " 2E-3 + 1E+2 "},
        {"(-1+2)/4", " (-1 + 2) / 4 "},
        {"ln2", " LON 2 "},
        {"invsin.5+invcos.5+invtan1", " ISI .5 + ICO .5 + ITA 1 "},
        {"sqrexp1", " SQR EXP 1 "},
        {"sin-30", " SIN -30 "},
        {"2 ^  3", " 2 ^ 3 "},
        {"2+", " 2 +  "},
        {"", "  "},
    };
    for (const auto &[in, expected] : rows) {
        QString t = QString::fromLatin1(in);
        e.SpaceExpression(t);
        EXPECT_EQ(t.toStdString(), expected) << in;
    }
}

TEST(ExpressionRoutines, NormaliseFoldsSignsAndUnwrapsSignedNumbers)
{
    ExpressionEngine e;
    const std::pair<const char *, const char *> rows[] = {
        {"(-2.5)", " -2.5 "},      {"2 - - 3", " 2 + 3 "}, {"---3", " -3 "},
        {"+-+-3", " 3 "},          {"1-+-+-2", " 1 - 2 "}, {"((((5))))", " 5 "},
        {"(2+3)", " (2 + 3) "},    {"()", " () "},         {"(-)", " - "},
        {"-(-(-4))", " -4 "},      {"2*--3", " 2 * 3 "},   {"sin(30)", " SIN 30 "},
        {"(.5)*(+2)", " .5 * 2 "}, {"5(3)", " 53 "},       {"1+(-2)^2", " 1 + 1 * -2 ^ 2 "},
        {"1-(-2)", " 1 + 2 "},     {"(-2)^2", " -2 ^ 2 "},
    };
    for (const auto &[in, expected] : rows) {
        QString t = QString::fromLatin1(in);
        ASSERT_TRUE(e.NormaliseExpression(t)) << in;
        EXPECT_EQ(t.toStdString(), expected) << in;
    }
}

// The normalisation walks are compactions of the in-place rewrites; this is the in-place version,
// position by position, to compare with on random texts.
QString literalNormalise(QString t)
{
    t = t.toUpper().remove(u' ');
    for (;;) {
        const QString before = t;
        const qsizetype n = t.size();
        for (qsizetype i = 0; i < n; ++i) {
            const std::pair<const char *, const char *> folds[] = {{"--", "+"}, {"+-", "-"}, {"-+", "-"}, {"++", "+"}};
            for (const auto &[from, to] : folds) {
                if (t.mid(i, 2) == QLatin1String(from))
                    t.replace(i, 2, QLatin1String(to));
            }
        }
        if (t.startsWith(u'+'))
            t.remove(0, 1);
        for (qsizetype i = 1; i < t.size(); ++i) {
            if (t[i] == u'+' && QStringLiteral("*/^").contains(t[i - 1]))
                t.remove(i--, 1);
        }
        const auto closesOperand = [&](qsizetype i) {
            return i >= 0 && (t[i].isDigit() || t[i] == u'.' || t[i] == u')');
        };
        for (qsizetype i = 0; i < t.size(); ++i) {
            if (t[i] != u'(')
                continue;
            for (qsizetype k = 1; i + k < t.size(); ++k) {
                const QChar c = t[i + k];
                if (c.isDigit() || c == u'.' || (k == 1 && (c == u'-' || c == u'+')))
                    continue;
                if (k >= 2 && c == u')') {
                    const bool guarded = k >= 3 && t[i + 1] == u'-' && t.mid(i + k + 1, 1) == QStringLiteral("^") &&
                                         i >= 2 && (t[i - 1] == u'+' || t[i - 1] == u'-') && closesOperand(i - 2);
                    t = t.left(i) + (guarded ? QStringLiteral("1*") : QString()) + t.mid(i + 1, k - 1) +
                        t.mid(i + k + 1);
                }
                break;
            }
        }
        if (t == before)
            break;
    }
    return t;
}

TEST(ExpressionRoutines, NormaliseMatchesTheInPlaceRewrite)
{
    std::mt19937 random(12345);
    const char alphabet[] = "+-+-()().5*^";
    ExpressionEngine e;
    for (int round = 0; round < 20000; ++round) {
        QString t;
        const int length = int(random() % 14);
        for (int i = 0; i < length; ++i)
            t += QLatin1Char(alphabet[random() % (sizeof alphabet - 1)]);
        QString expected = literalNormalise(t);
        e.SpaceExpression(expected);
        QString actual = t;
        ASSERT_TRUE(e.NormaliseExpression(actual));
        ASSERT_EQ(actual.toStdString(), expected.toStdString()) << "from " << t.toStdString();
    }
}

// The spacing walk, inserting into the text at each position.
QString literalSpace(QString t)
{
    t = t.toUpper().remove(u' ');
    if (t.startsWith(u'+'))
        t.remove(0, 1);
    t = u' ' + t + u' ';
    const char *codes[] = {"SQR", "SIN", "COS", "LOG", "TAN", "ISI", "EXP", "ITA", "ICO", "LON"};
    const auto isLetter = [&](qsizetype i) { return i < t.size() && t[i] >= u'A' && t[i] <= u'Z'; };
    const qsizetype limit = 3 * t.size();
    for (qsizetype i = 0; i < limit && i < t.size(); ++i) {
        if (t.mid(i, 2) == QLatin1String("LN"))
            t.replace(i, 2, QStringLiteral("LON"));
        for (const char *code : codes) {
            if (t.mid(i, 3) == QLatin1String(code)) {
                t.insert(i + 3, u' ');
                break;
            }
        }
        if (t.mid(i, 3) == QLatin1String("INV") && isLetter(i + 3) && isLetter(i + 4) && isLetter(i + 5))
            t.replace(i, 6, u'I' + t.mid(i + 3, 2) + u' ');
        const QChar c = t[i];
        const QChar before = i > 0 ? t[i - 1] : QChar();
        if (c == u'^' || c == u'*' || c == u'/' || (c == u'+' && before != u'E') ||
            (c == u'-' && before != u'E' && before != u'(' && before != u' ')) {
            t.replace(i, 1, QString(u' ') + c + u' ');
            i += 2;
        }
    }
    return t;
}

TEST(ExpressionRoutines, SpaceExpressionMatchesTheInsertingWalk)
{
    std::mt19937 random(777);
    const char *pieces[] = {"LN", "INV", "SIN", "COS", "S", "I", "N", "V", "E", "X", "P",  "LON", "ITA",
                            "+",  "-",   "*",   "/",   "^", "(", ")", "2", ".", " ", "E-", "E+"};
    ExpressionEngine e;
    for (int round = 0; round < 20000; ++round) {
        QString t;
        const int length = int(random() % 10);
        for (int i = 0; i < length; ++i)
            t += QLatin1String(pieces[random() % std::size(pieces)]);
        QString actual = t;
        e.SpaceExpression(actual);
        ASSERT_EQ(actual.toStdString(), literalSpace(t).toStdString()) << "from " << t.toStdString();
    }
}

TEST(ExpressionRoutines, ReduceParenthesesTakesTheRightHandPairFirst)
{
    ExpressionEngine e;
    QString t = QStringLiteral(" (SIN 30) + (2 + 3) ");
    e.CountTokens(t);
    ASSERT_TRUE(e.ReduceParentheses(t));
    EXPECT_EQ(t.toStdString(), " (SIN 30) + 5 "); // then stops at the function

    t = QStringLiteral(" (2 + 3) + (SIN 30) ");
    e.CountTokens(t);
    ASSERT_TRUE(e.ReduceParentheses(t));
    EXPECT_EQ(t.toStdString(), " (2 + 3) + (SIN 30) ");
}

TEST(ExpressionRoutines, ApplyFunctionsPassesOverUnreducedArguments)
{
    ExpressionEngine e;
    QString t = QStringLiteral(" SIN (COS 60 * 180) + SIN -(1) + SIN -SIN 30 ");
    e.CountTokens(t);
    ASSERT_TRUE(e.ApplyFunctions(t, Degrees));
    // The inner SIN of SIN -SIN 30 leaves a number for the outer one, applied in the same scan.
    EXPECT_EQ(t.toStdString(), " SIN (.5 * 180) + SIN -(1) + -.00872653549837393 ");
    EXPECT_EQ(e.functionCount, 2);
}

// One nested function is applied per cycle: 100 fit in the bound, 101 do not.
TEST(ExpressionLimits, HundredCycles)
{
    const auto nested = [](int depth) { return QStringLiteral("sqr(").repeated(depth) + u'1' + QString(depth, u')'); };
    QString text = nested(100);
    int error = -1;
    EvaluateExpression(text, error, Degrees);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(text.toStdString(), "1");
    text = nested(101);
    EvaluateExpression(text, error, Degrees);
    EXPECT_EQ(error, 1);
}

// Letters other than function codes never reduce inside parentheses: the cycle bound ends it.
TEST(ExpressionLimits, CycleBoundEndsUnreducibleTexts)
{
    for (const char *s : {"(Z)", "(2 + X) * 3", "sin (X)", "SIN SIN SIN X", "sin (sin (sin (X)))"}) {
        QString text = QString::fromLatin1(s);
        int error = -1;
        EvaluateExpression(text, error, Degrees);
        EXPECT_EQ(error, 1) << s;
    }
}

struct Evaluated {
    QString text;
    int error = -1;
};

Evaluated evaluateLong(QString text)
{
    Evaluated t;
    EvaluateExpression(text, t.error, Degrees);
    t.text = text;
    return t;
}

// How long these take is measured in bench/bench_expr.cpp; here only the results count.
TEST(ExpressionLimits, LongTextsAtTheCapReduce)
{
    const qsizetype cap = vorlac::MaxExpressionLength;
    QString sum = QStringLiteral("1") + QStringLiteral("+1").repeated((cap - 1) / 2);
    Evaluated r = evaluateLong(sum);
    EXPECT_EQ(r.error, 0);
    EXPECT_EQ(r.text.toStdString(), std::to_string((cap - 1) / 2 + 1));

    const qsizetype depth = cap / 2 - 4;
    r = evaluateLong(QString(depth, u'(') + QStringLiteral("1+1") + QString(depth, u')'));
    EXPECT_EQ(r.error, 0);
    EXPECT_EQ(r.text.toStdString(), "2");

    r = evaluateLong(QStringLiteral("(1+1)+").repeated(cap / 6) + QStringLiteral("1"));
    EXPECT_EQ(r.error, 0);
    EXPECT_EQ(r.text.toStdString(), std::to_string(2 * (cap / 6) + 1));

    r = evaluateLong(QStringLiteral("sin(").repeated(cap / 5 - 1) + QStringLiteral("1") + QString(cap / 5 - 1, u')'));
    EXPECT_EQ(r.error, 1); // one function per cycle: more than 100 cycles

    r = evaluateLong(QStringLiteral("sin ").repeated(cap / 4 - 1) + QStringLiteral("30"));
    EXPECT_EQ(r.error, 0); // chained without parentheses, all apply in one pass

    r = evaluateLong(QStringLiteral("1") + QString(cap - 3, u'0') + QStringLiteral("*0"));
    EXPECT_EQ(r.error, 1); // the operand reads as an infinity
}

TEST(ExpressionLimits, TextsBeyondTheCapAreRefusedAtOnce)
{
    Evaluated r = evaluateLong(QStringLiteral("1+").repeated(50000) + QStringLiteral("1"));
    EXPECT_EQ(r.error, 1);
    QString atCap = QString(vorlac::MaxExpressionLength, u'1');
    EXPECT_EQ(evaluateLong(atCap).error, 1); // too large a number, but read
    EXPECT_EQ(evaluateLong(atCap + u'1').error, 1);
    EXPECT_EQ(evaluateLong(QString(vorlac::MaxExpressionLength - 1, u' ') + u'7').text.toStdString(), "7");
    EXPECT_EQ(evaluateLong(QString(vorlac::MaxExpressionLength, u' ') + u'7').error, 1);
}

} // namespace
