#include "common/regional.h"
#include "rowname.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

namespace
{

using vorlac::readRegionalSingle;
using vorlac::regionalKeyFilter;
using vorlac::shortestSingleText;

enum class Loc { Fr, En };

QLocale locale(Loc l)
{
    return l == Loc::Fr ? QLocale(QLocale::French, QLocale::France) : QLocale(QLocale::English, QLocale::UnitedStates);
}

// Restores the French default the test main pins.
struct DefaultLocale {
    explicit DefaultLocale(const QLocale &l) { QLocale::setDefault(l); }
    ~DefaultLocale() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }
};

TEST(RegionalLocale, CLocaleCountsAsFrenchOthersAreKept)
{
    EXPECT_EQ(vorlac::regionalLocale().decimalPoint(), QStringLiteral(","));
    {
        DefaultLocale c(QLocale::c());
        EXPECT_EQ(vorlac::regionalLocale().language(), QLocale::French);
        EXPECT_EQ(vorlac::regionalLocale().decimalPoint(), QStringLiteral(","));
    }
    {
        DefaultLocale en(locale(Loc::En));
        EXPECT_EQ(vorlac::regionalLocale().language(), QLocale::English);
        EXPECT_EQ(readRegionalSingle(QStringLiteral("1.5")), 1.5f);
    }
}

struct ReadRow {
    Loc loc;
    const char *text;
    std::optional<float> expected;
};

void PrintTo(const ReadRow &r, std::ostream *os)
{
    *os << (r.loc == Loc::Fr ? "fr" : "en") << " \"" << r.text << "\"";
}

class RegionalRead : public ::testing::TestWithParam<ReadRow>
{
};

TEST_P(RegionalRead, ReadsWholeTextOrNothing)
{
    const ReadRow row = GetParam();
    const std::optional<float> got = readRegionalSingle(QString::fromUtf8(row.text), locale(row.loc));
    ASSERT_EQ(got.has_value(), row.expected.has_value()) << row.text;
    if (got) {
        EXPECT_EQ(*got, *row.expected) << row.text;
    }
}

constexpr std::optional<float> none = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    French, RegionalRead,
    ::testing::Values(ReadRow{Loc::Fr, "1,5", 1.5f}, ReadRow{Loc::Fr, "-1,5", -1.5f}, ReadRow{Loc::Fr, "+2", 2.f},
                      ReadRow{Loc::Fr, "2E3", 2000.f}, ReadRow{Loc::Fr, "2e-3", 0.002f},
                      ReadRow{Loc::Fr, "1,52E+2", 152.f}, ReadRow{Loc::Fr, ",5", 0.5f}, ReadRow{Loc::Fr, "5,", 5.f},
                      ReadRow{Loc::Fr, "  0,3 ", 0.3f}, ReadRow{Loc::Fr, "1,0002747", 1.0002747f},
                      ReadRow{Loc::Fr, "123456789", 123456792.f}, ReadRow{Loc::Fr, "3,4028235E38", 3.4028235e38f},
                      ReadRow{Loc::Fr, "1E-50", 0.f}, ReadRow{Loc::Fr, "1E-45", 1e-45f},
                      ReadRow{Loc::Fr, "0,0000000000000000000000000000000000000000000000000001", 0.f},
                      ReadRow{Loc::Fr, "", none}, ReadRow{Loc::Fr, "   ", none}, ReadRow{Loc::Fr, ",", none},
                      ReadRow{Loc::Fr, "-", none}, ReadRow{Loc::Fr, "E", none}, ReadRow{Loc::Fr, "E5", none},
                      ReadRow{Loc::Fr, "-,", none}, ReadRow{Loc::Fr, "1,2,3", none}, ReadRow{Loc::Fr, "1.5", none},
                      ReadRow{Loc::Fr, "1 000", none}, ReadRow{Loc::Fr, "1\u202f000", none},
                      ReadRow{Loc::Fr, "12abc", none}, ReadRow{Loc::Fr, "1E", none}, ReadRow{Loc::Fr, "1E+", none},
                      ReadRow{Loc::Fr, "1E2,5", none}, ReadRow{Loc::Fr, "--1", none}, ReadRow{Loc::Fr, "1-", none},
                      ReadRow{Loc::Fr, "1D3", none}, ReadRow{Loc::Fr, "1E39", none}, ReadRow{Loc::Fr, "-1E39", none},
                      ReadRow{Loc::Fr, "4E38", none}, ReadRow{Loc::Fr, "1E99999999999999999999", none},
                      ReadRow{Loc::Fr, "inf", none}, ReadRow{Loc::Fr, "nan", none}, ReadRow{Loc::Fr, "0x10", none},
                      ReadRow{Loc::Fr, "١", none}),
    RowName());

INSTANTIATE_TEST_SUITE_P(English, RegionalRead,
                         ::testing::Values(ReadRow{Loc::En, "1.5", 1.5f}, ReadRow{Loc::En, "-0.25", -0.25f},
                                           ReadRow{Loc::En, ".5", 0.5f}, ReadRow{Loc::En, "2.5E-3", 0.0025f},
                                           ReadRow{Loc::En, "1,5", none}, ReadRow{Loc::En, "1,000", none},
                                           ReadRow{Loc::En, ".", none}),
                         RowName());

TEST(RegionalRead, NegativeZeroKeepsItsSign)
{
    const std::optional<float> v = readRegionalSingle(QStringLiteral("-0"), locale(Loc::Fr));
    ASSERT_TRUE(v);
    EXPECT_TRUE(std::signbit(*v));
}

struct WriteRow {
    Loc loc;
    float value;
    const char *expected;
};

void PrintTo(const WriteRow &r, std::ostream *os)
{
    *os << (r.loc == Loc::Fr ? "fr " : "en ") << r.expected;
}

class ShortestText : public ::testing::TestWithParam<WriteRow>
{
};

TEST_P(ShortestText, WritesTheShortestDigits)
{
    EXPECT_EQ(shortestSingleText(GetParam().value, locale(GetParam().loc)).toStdString(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ShortestText,
    ::testing::Values(WriteRow{Loc::Fr, 1.5f, "1,5"}, WriteRow{Loc::Fr, 4200.f, "4200"},
                      WriteRow{Loc::Fr, 1.0002747f, "1,0002747"}, WriteRow{Loc::Fr, 0.74f, "0,74"},
                      WriteRow{Loc::Fr, -0.25f, "-0,25"}, WriteRow{Loc::Fr, 40000.f, "40000"},
                      WriteRow{Loc::Fr, 0.f, "0"}, WriteRow{Loc::Fr, -0.f, "0"}, WriteRow{Loc::Fr, 0.0001f, "0,0001"},
                      WriteRow{Loc::Fr, 1e-5f, "1E-05"}, WriteRow{Loc::Fr, 1234567.f, "1234567"},
                      WriteRow{Loc::Fr, 1e7f, "1E+07"}, WriteRow{Loc::Fr, 16777216.f, "1,6777216E+07"},
                      WriteRow{Loc::Fr, -3.4028235e38f, "-3,4028235E+38"}, WriteRow{Loc::Fr, 1e-45f, "1E-45"},
                      WriteRow{Loc::Fr, std::numeric_limits<float>::infinity(), "Inf"},
                      WriteRow{Loc::Fr, std::numeric_limits<float>::quiet_NaN(), "NaN"}, WriteRow{Loc::En, 1.5f, "1.5"},
                      WriteRow{Loc::En, 1234567.f, "1234567"}, WriteRow{Loc::En, 1.5e-7f, "1.5E-07"}),
    RowName());

// Every finite float, sampled across its bit patterns, comes back unchanged.
TEST(ShortestText, ReadsBackToTheSameFloat)
{
    for (const Loc loc : {Loc::Fr, Loc::En}) {
        const QLocale l = locale(loc);
        std::uint32_t state = 12345;
        for (int i = 0; i < 20000; ++i) {
            state = state * 1664525u + 1013904223u;
            float f = 0;
            std::memcpy(&f, &state, sizeof f);
            if (!std::isfinite(f))
                continue;
            const QString text = shortestSingleText(f, l);
            const std::optional<float> back = readRegionalSingle(text, l);
            ASSERT_TRUE(back) << text.toStdString();
            ASSERT_EQ(*back, f) << text.toStdString();
        }
    }
}

struct KeyRow {
    Loc loc;
    bool acceptMinus;
    char16_t typed;
    char16_t expected; // 0 = discarded
};

void PrintTo(const KeyRow &r, std::ostream *os)
{
    *os << (r.loc == Loc::Fr ? "fr " : "en ") << (r.acceptMinus ? "signed " : "") << codePoint(r.typed);
}

class KeyFilter : public ::testing::TestWithParam<KeyRow>
{
};

TEST_P(KeyFilter, MapsOrDiscardsTheKey)
{
    const KeyRow row = GetParam();
    const QChar got = regionalKeyFilter(QChar(row.typed), locale(row.loc), row.acceptMinus);
    EXPECT_EQ(got.unicode(), row.expected) << "typed " << int(row.typed);
}

INSTANTIATE_TEST_SUITE_P(Rows, KeyFilter,
                         ::testing::Values(KeyRow{Loc::Fr, false, u'.', u','}, KeyRow{Loc::Fr, false, u',', u','},
                                           KeyRow{Loc::Fr, false, u'0', u'0'}, KeyRow{Loc::Fr, false, u'9', u'9'},
                                           KeyRow{Loc::Fr, false, 8, 8}, KeyRow{Loc::Fr, false, 13, 13},
                                           KeyRow{Loc::Fr, false, u'-', 0}, KeyRow{Loc::Fr, true, u'-', u'-'},
                                           KeyRow{Loc::Fr, true, u'+', 0}, KeyRow{Loc::Fr, false, u'a', 0},
                                           KeyRow{Loc::Fr, false, u'E', 0}, KeyRow{Loc::Fr, false, u' ', 0},
                                           KeyRow{Loc::Fr, false, 27, 0}, KeyRow{Loc::Fr, false, 0, 0},
                                           KeyRow{Loc::Fr, false, u'²', 0}, KeyRow{Loc::Fr, false, 0x0663, 0},
                                           KeyRow{Loc::En, false, u'.', u'.'}, KeyRow{Loc::En, false, u',', 0},
                                           KeyRow{Loc::En, false, u'5', u'5'}, KeyRow{Loc::En, true, u'-', u'-'},
                                           KeyRow{Loc::En, false, 8, 8}),
                         RowName());

} // namespace
