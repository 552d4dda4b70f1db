#include "common/numbertext.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <ostream>
#include <random>

namespace
{

using vorlac::isDotNumber;
using vorlac::readDotNumber;
using vorlac::writeDotNumber;

struct ReadRow {
    const char *text;
    double value;
    qsizetype consumed;
};

std::ostream &operator<<(std::ostream &os, const ReadRow &r)
{
    return os << '"' << r.text << '"';
}

class ReadDotNumber : public ::testing::TestWithParam<ReadRow>
{
};

TEST_P(ReadDotNumber, ValueAndLength)
{
    const ReadRow &row = GetParam();
    qsizetype consumed = -1;
    const double v = readDotNumber(QString::fromLatin1(row.text), &consumed);
    EXPECT_EQ(consumed, row.consumed);
    if (std::isinf(row.value)) {
        EXPECT_EQ(v, row.value);
    } else {
        EXPECT_DOUBLE_EQ(v, row.value);
    }
}

const double inf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(Forms, ReadDotNumber,
                         ::testing::Values(ReadRow{"42", 42, 2}, ReadRow{"-42", -42, 3}, ReadRow{"+7", 7, 2},
                                           ReadRow{"2.5", 2.5, 3}, ReadRow{".5", .5, 2}, ReadRow{"-.25", -.25, 4},
                                           ReadRow{"2.", 2, 2}, ReadRow{"007", 7, 3}, ReadRow{"1E+20", 1e20, 5},
                                           ReadRow{"2.5E-3", 2.5e-3, 6}, ReadRow{"1e3", 1000, 3},
                                           ReadRow{"1E3", 1000, 3}, ReadRow{"1.5E-07", 1.5e-7, 7},
                                           ReadRow{"0.1", .1, 3}));

INSTANTIATE_TEST_SUITE_P(StopsAtTheFirstMisfit, ReadDotNumber,
                         ::testing::Values(ReadRow{"12abc", 12, 2}, ReadRow{"2,5", 2, 1}, ReadRow{"2.5.3", 2.5, 3},
                                           ReadRow{"1E", 1, 1}, ReadRow{"1E+", 1, 1}, ReadRow{"1E-x", 1, 1},
                                           ReadRow{"3 4", 3, 1}, ReadRow{"5)", 5, 1}, ReadRow{"1E5E3", 1e5, 3},
                                           ReadRow{"-5-", -5, 2}));

INSTANTIATE_TEST_SUITE_P(NoNumberReadsZero, ReadDotNumber,
                         ::testing::Values(ReadRow{"", 0, 0}, ReadRow{".", 0, 0}, ReadRow{"-", 0, 0},
                                           ReadRow{"+.", 0, 0}, ReadRow{"E5", 0, 0}, ReadRow{" 5", 0, 0},
                                           ReadRow{"abc", 0, 0}, ReadRow{"--5", 0, 0}));

INSTANTIATE_TEST_SUITE_P(Range, ReadDotNumber,
                         ::testing::Values(ReadRow{"1E999", inf, 5}, ReadRow{"-1E999", -inf, 6},
                                           ReadRow{"1E-999", 0, 6}, ReadRow{"2E308", inf, 5},
                                           ReadRow{"1E99999999999999999999", inf, 22}, ReadRow{"4.9E-324", 4.9e-324, 8},
                                           ReadRow{"1.7976931348623157E308", DBL_MAX, 22}));

class ReadBlankDotNumber : public ::testing::TestWithParam<ReadRow>
{
};

TEST_P(ReadBlankDotNumber, ValueAndLength)
{
    const ReadRow &row = GetParam();
    qsizetype consumed = -1;
    const double v = vorlac::readBlankDotNumber(QString::fromLatin1(row.text), &consumed);
    EXPECT_EQ(consumed, row.consumed);
    EXPECT_DOUBLE_EQ(v, row.value);
}

INSTANTIATE_TEST_SUITE_P(BlanksAndExponents, ReadBlankDotNumber,
                         ::testing::Values(ReadRow{" 42", 42, 3}, ReadRow{"  .5", .5, 4}, ReadRow{"\t-3", -3, 3},
                                           ReadRow{"1D5", 1e5, 3}, ReadRow{" 2.5d-2", .025, 7},
                                           ReadRow{" 1E+20", 1e20, 6}, ReadRow{" 1.234568E-03", 1.234568e-3, 13},
                                           ReadRow{"1D", 1, 1}, ReadRow{" 7 8", 7, 2}, ReadRow{"   ", 0, 0},
                                           ReadRow{" - 5", 0, 0}, ReadRow{"", 0, 0}, ReadRow{" x", 0, 0}));

TEST(ReadDotNumberText, IgnoresTheRegionalSettings)
{
    // The test main pins French settings, whose decimal point is ",".
    EXPECT_EQ(readDotNumber(u"3.75"), 3.75);
}

TEST(ReadDotNumberText, LongDigitRuns)
{
    // Leading zeros and long mantissas must not shift the exponent or lose the rounding.
    EXPECT_EQ(readDotNumber(QStringLiteral("0.") + QString(5000, u'0') + QStringLiteral("1E5001")), 1.0);
    EXPECT_EQ(readDotNumber(QStringLiteral("1") + QString(300, u'0') + QStringLiteral("E-300")), 1.0);
    EXPECT_EQ(readDotNumber(QStringLiteral("1") + QString(400, u'0')), inf);
    EXPECT_EQ(readDotNumber(QStringLiteral("0.1") + QString(1000, u'0') + QStringLiteral("1")), 0.1);
    EXPECT_EQ(readDotNumber(QString(2000, u'0')), 0.0);
}

TEST(ReadDotNumberText, NegativeZeroKeepsItsSign)
{
    EXPECT_TRUE(std::signbit(readDotNumber(u"-0")));
    EXPECT_TRUE(std::signbit(readDotNumber(u"-1E-999")));
}

TEST(IsDotNumberText, WholeTextOnly)
{
    for (const char *yes : {"1", "-1", "+1", ".5", "2.", "1E5", "1E-05", "-.25E+3"})
        EXPECT_TRUE(isDotNumber(QString::fromLatin1(yes))) << yes;
    for (const char *no : {"", ".", "-", "1E", "1E+", "2,5", " 1", "1 ", "1..2", "E1", "1-", "--1"})
        EXPECT_FALSE(isDotNumber(QString::fromLatin1(no))) << no;
}

struct WriteRow {
    double value;
    const char *text;
};

std::ostream &operator<<(std::ostream &os, const WriteRow &r)
{
    return os << r.value;
}

class WriteDotNumber : public ::testing::TestWithParam<WriteRow>
{
};

TEST_P(WriteDotNumber, Text)
{
    EXPECT_EQ(writeDotNumber(GetParam().value).toStdString(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Fixed, WriteDotNumber,
                         ::testing::Values(WriteRow{0, "0"}, WriteRow{-0.0, "0"}, WriteRow{1, "1"},
                                           WriteRow{-12, "-12"}, WriteRow{.5, ".5"}, WriteRow{-.25, "-.25"},
                                           WriteRow{2.5, "2.5"}, WriteRow{100, "100"}, WriteRow{.0001, ".0001"},
                                           WriteRow{-.00012, "-.00012"}, WriteRow{1.0 / 3, ".333333333333333"},
                                           WriteRow{2.0 / 3, ".666666666666667"},
                                           WriteRow{999999999999999, "999999999999999"},
                                           WriteRow{123456789012345.6, "123456789012346"}, WriteRow{0.1 + 0.2, ".3"},
                                           WriteRow{1.5707963267948966, "1.5707963267949"}));

INSTANTIATE_TEST_SUITE_P(Exponent, WriteDotNumber,
                         ::testing::Values(WriteRow{1e15, "1E+15"}, WriteRow{1e20, "1E+20"},
                                           WriteRow{-2.5e100, "-2.5E+100"}, WriteRow{1.5e-7, "1.5E-07"},
                                           WriteRow{1e-5, "1E-05"},
                                           WriteRow{9.99999999999999e-5, "9.99999999999999E-05"},
                                           WriteRow{DBL_MAX, "1.79769313486232E+308"},
                                           WriteRow{4.9406564584124654e-324, "4.94065645841247E-324"},
                                           WriteRow{1.23456789012345678e17, "1.23456789012346E+17"}));

// Rounding to 15 digits can carry into a new digit and move the value across a threshold.
INSTANTIATE_TEST_SUITE_P(Carries, WriteDotNumber,
                         ::testing::Values(WriteRow{999999999999999.9, "1E+15"},
                                           WriteRow{9.999999999999999e-5, ".0001"}, WriteRow{.9999999999999999, "1"},
                                           WriteRow{-9.9999999999999982, "-10"}));

TEST(WriteDotNumberText, NoTextForNonFinite)
{
    EXPECT_TRUE(writeDotNumber(inf).isEmpty());
    EXPECT_TRUE(writeDotNumber(-inf).isEmpty());
    EXPECT_TRUE(writeDotNumber(std::nan("")).isEmpty());
}

// Values with at most 15 significant digits come back unchanged, across the whole range and
// on both sides of the exponent thresholds.
TEST(DotNumberRoundTrip, FifteenDigitValuesSurvive)
{
    std::mt19937_64 random(2024);
    for (int i = 0; i < 200000; ++i) {
        const long long mantissa = (long long)(random() % 1'000'000'000'000'000ULL); // < 1E15
        const int exponent = int(random() % 640) - 330;
        const QString source = QString::number(mantissa) + u'E' + QString::number(exponent);
        const double v = (random() & 1 ? -1 : 1) * readDotNumber(source);
        if (!std::isfinite(v))
            continue;
        const QString text = writeDotNumber(v);
        qsizetype consumed = 0;
        ASSERT_EQ(readDotNumber(text, &consumed), v) << source.toStdString() << " -> " << text.toStdString();
        ASSERT_EQ(consumed, text.size());
    }
}

} // namespace
