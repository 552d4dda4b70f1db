#include "common/numberpattern.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

namespace
{

using namespace vorlac;

const QLocale kFr(QLocale::French, QLocale::France);
const QLocale kEn(QLocale::English, QLocale::UnitedStates);

constexpr double kPiSingle = static_cast<double>(3.1415927f);
constexpr double kInf = std::numeric_limits<double>::infinity();

struct PatternRow {
    double value;
    QLatin1StringView pattern;
    const char *expected;
};

void PrintTo(const PatternRow &row, std::ostream *os)
{
    *os << row.value << " with \"" << row.pattern.data() << '"';
}

class NumberPattern : public ::testing::TestWithParam<PatternRow>
{
};

TEST_P(NumberPattern, FrenchText)
{
    EXPECT_EQ(formatNumberPattern(GetParam().value, GetParam().pattern, kFr).toStdString(), GetParam().expected);
}

// The three example values of the format dialog under each of its five options.
INSTANTIATE_TEST_SUITE_P(
    DialogExamples, NumberPattern,
    ::testing::Values(
        PatternRow{kPiSingle, kPatternFixed2, "3,14"}, PatternRow{kPiSingle, kPatternFixed3, "3,142"},
        PatternRow{kPiSingle, kPatternGeneral, "3,141593"}, PatternRow{kPiSingle, kPatternScientific3, "3,14E+00"},
        PatternRow{kPiSingle, kPatternScientific4, "3,142E00"}, PatternRow{-32135.35, kPatternFixed2, "-32135,35"},
        PatternRow{-32135.35, kPatternFixed3, "-32135,350"}, PatternRow{-32135.35, kPatternGeneral, "-32135,35"},
        PatternRow{-32135.35, kPatternScientific3, "-3,21E+04"},
        PatternRow{-32135.35, kPatternScientific4, "-3,214E04"}, PatternRow{0.0258, kPatternFixed2, "0,03"},
        PatternRow{0.0258, kPatternFixed3, "0,026"}, PatternRow{0.0258, kPatternGeneral, "0,0258"},
        PatternRow{0.0258, kPatternScientific3, "2,58E-02"}, PatternRow{0.0258, kPatternScientific4, "2,580E-02"}));

INSTANTIATE_TEST_SUITE_P(
    Fixed, NumberPattern,
    ::testing::Values(PatternRow{1.5, kPatternFixed3, "1,500"}, PatternRow{2000, kPatternFixed3, "2000,000"},
                      PatternRow{0.3f * 3, kPatternFixed3, "0,900"}, PatternRow{-7, kPatternFixed2, "-7,00"},
                      PatternRow{0, kPatternFixed2, "0,00"}, PatternRow{-0.0, kPatternFixed3, "0,000"},
                      // Ties go away from zero on the decimal digits, not on the binary value.
                      PatternRow{0.125, kPatternFixed2, "0,13"}, PatternRow{-0.125, kPatternFixed2, "-0,13"},
                      PatternRow{2.675, kPatternFixed2, "2,68"}, PatternRow{1.0005, kPatternFixed3, "1,001"},
                      PatternRow{-0.0005, kPatternFixed3, "-0,001"}, PatternRow{0.0004999, kPatternFixed3, "0,000"},
                      PatternRow{-0.001, kPatternFixed2, "0,00"}, PatternRow{9.995, kPatternFixed2, "10,00"},
                      PatternRow{-999999999.9999, kPatternFixed3, "-1000000000,000"},
                      PatternRow{123456789012.0, kPatternFixed3, "123456789012,000"},
                      PatternRow{1e20, kPatternFixed2, "100000000000000000000,00"},
                      PatternRow{5.25, QLatin1StringView("00.0"), "05,3"}, PatternRow{7, QLatin1StringView("#"), "7"},
                      PatternRow{0.4, QLatin1StringView("#"), "0"}));

INSTANTIATE_TEST_SUITE_P(
    Scientific, NumberPattern,
    ::testing::Values(
        PatternRow{0, kPatternScientific3, "0,00E+00"}, PatternRow{-0.0, kPatternScientific4, "0,000E00"},
        PatternRow{1, kPatternScientific4, "1,000E00"}, PatternRow{-1, kPatternScientific3, "-1,00E+00"},
        PatternRow{0.125, kPatternScientific3, "1,25E-01"}, PatternRow{1.125, kPatternScientific3, "1,13E+00"},
        PatternRow{-1.125, kPatternScientific3, "-1,13E+00"}, PatternRow{9.9999, kPatternScientific3, "1,00E+01"},
        PatternRow{99999.5, kPatternScientific4, "1,000E05"}, PatternRow{0.099996, kPatternScientific3, "1,00E-01"},
        PatternRow{1e100, kPatternScientific3, "1,00E+100"}, PatternRow{-1.5e-300, kPatternScientific4, "-1,500E-300"},
        PatternRow{1.5e-7, kPatternScientific4, "1,500E-07"}, PatternRow{1234, QLatin1StringView("0.0e+00"), "1,2e+03"},
        PatternRow{1234, QLatin1StringView("00.0E+0"), "12,3E+2"}));

INSTANTIATE_TEST_SUITE_P(
    General, NumberPattern,
    ::testing::Values(PatternRow{0, kPatternGeneral, "0"}, PatternRow{-0.0, kPatternGeneral, "0"},
                      PatternRow{1.5, kPatternGeneral, "1,5"}, PatternRow{-0.5, kPatternGeneral, "-0,5"},
                      PatternRow{10, kPatternGeneral, "10"}, PatternRow{1.0 / 3, kPatternGeneral, "0,3333333"},
                      PatternRow{1.0002747f, kPatternGeneral, "1,000275"}, PatternRow{0.1f, kPatternGeneral, "0,1"},
                      PatternRow{1234567, kPatternGeneral, "1234567"},
                      PatternRow{12345678, kPatternGeneral, "1,234568E+07"},
                      PatternRow{9999999.6, kPatternGeneral, "1E+07"},
                      // A tie at the seventh digit (16777205 is exact in single precision).
                      PatternRow{16777205, kPatternGeneral, "1,677721E+07"},
                      PatternRow{0.0001, kPatternGeneral, "0,0001"}, PatternRow{0.00001, kPatternGeneral, "1E-05"},
                      PatternRow{-2.5e-10, kPatternGeneral, "-2,5E-10"}, PatternRow{1e38, kPatternGeneral, "1E+38"},
                      PatternRow{1e39, kPatternGeneral, "Inf"}, PatternRow{-1e300, kPatternGeneral, "-Inf"}));

INSTANTIATE_TEST_SUITE_P(
    IndexReadout, NumberPattern,
    ::testing::Values(PatternRow{1.506516, kPatternIndex, "1,506516"}, PatternRow{1.5464161, kPatternIndex, "1,546416"},
                      PatternRow{1.0002790001, kPatternIndex, "1,000279"},
                      PatternRow{1.0000005, kPatternIndex, "1,000001"},
                      PatternRow{12.3456789, kPatternIndex, "12,345679"}, PatternRow{123.4, kPatternIndex, "123,4"},
                      PatternRow{1.5, kPatternIndex, "1,5"}, PatternRow{2, kPatternIndex, "2"},
                      PatternRow{0.5, kPatternIndex, ",5"}, PatternRow{-1.25, kPatternIndex, "-1,25"},
                      PatternRow{0, kPatternIndex, "0"}, PatternRow{0.0000001, kPatternIndex, "0"}));

INSTANTIATE_TEST_SUITE_P(Calculator, NumberPattern,
                         ::testing::Values(PatternRow{250, kPatternCalculator, "2,5E+02"},
                                           PatternRow{0, kPatternCalculator, "0E+00"},
                                           PatternRow{1.0 / 3, kPatternCalculator, "3,3333333E-01"},
                                           PatternRow{-42, kPatternCalculator, "-4,2E+01"},
                                           PatternRow{3.14159265358979, kPatternCalculator, "3,1415927E+00"},
                                           PatternRow{123456789, kPatternCalculator, "1,2345679E+08"},
                                           PatternRow{99999999.5, kPatternCalculator, "1E+08"},
                                           PatternRow{3.2162452993532733e-15, kPatternCalculator, "3,2162453E-15"},
                                           PatternRow{1e200, kPatternCalculator, "1E+200"}));

INSTANTIATE_TEST_SUITE_P(Sort, NumberPattern,
                         ::testing::Values(PatternRow{1.5, kPatternSort, "1,5"}, PatternRow{-3, kPatternSort, "-3"},
                                           PatternRow{0, kPatternSort, "0"}, PatternRow{0.25, kPatternSort, "0,25"},
                                           PatternRow{0.1f, kPatternSort, "0,100000001490116"},
                                           PatternRow{1e-20, kPatternSort, "0,00000000000000000001"},
                                           PatternRow{-1e25, kPatternSort, "-10000000000000000000000000"}));

INSTANTIATE_TEST_SUITE_P(NotFinite, NumberPattern,
                         ::testing::Values(PatternRow{std::nan(""), kPatternFixed2, "NaN"},
                                           PatternRow{kInf, kPatternScientific3, "Inf"},
                                           PatternRow{-kInf, kPatternCalculator, "-Inf"},
                                           PatternRow{std::nan(""), kPatternGeneral, "NaN"}));

TEST(NumberPattern, EnglishUsesPointAndNeverGroups)
{
    EXPECT_EQ(formatNumberPattern(kPiSingle, kPatternFixed2, kEn), QStringLiteral("3.14"));
    EXPECT_EQ(formatNumberPattern(-32135.35, kPatternScientific4, kEn), QStringLiteral("-3.214E04"));
    EXPECT_EQ(formatNumberPattern(1234567, kPatternFixed2, kEn), QStringLiteral("1234567.00"));
    EXPECT_EQ(formatNumberPattern(1234567.25, kPatternGeneral, kEn), QStringLiteral("1234567"));
    EXPECT_EQ(formatNumberPattern(0.5, kPatternIndex, kEn), QStringLiteral(".5"));
    EXPECT_EQ(formatNumberPattern(1234567, kPatternFixed2, kFr), QStringLiteral("1234567,00"));
}

TEST(NumberPattern, DefaultLocaleIsTheRegionalOne)
{
    EXPECT_EQ(formatNumberPattern(1.5, kPatternFixed3), QStringLiteral("1,500"));
}

// Sorting rewrites every cell with the sort pattern and reads it back: no float may change.
TEST(NumberPattern, SortPatternKeepsEverySingle)
{
    std::uint32_t state = 777;
    for (int i = 0; i < 20000; ++i) {
        state = state * 1664525u + 1013904223u;
        float f = 0;
        std::memcpy(&f, &state, sizeof f);
        if (!std::isfinite(f) || std::abs(f) < 1e-20f || std::abs(f) > 1e25f)
            continue;
        const QString text = formatNumberPattern(f, kPatternSort, kFr);
        const std::optional<float> back = readRegionalSingle(text, kFr);
        ASSERT_TRUE(back) << text.toStdString();
        ASSERT_EQ(*back, f) << text.toStdString();
    }
}

} // namespace
