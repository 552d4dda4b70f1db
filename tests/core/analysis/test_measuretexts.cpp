#include "analysis/measuretexts.h"

#include "rowname.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vorlac;

namespace
{

const QLocale kFrench(QLocale::French, QLocale::France);

QString line(double incidence, double deviation, QString MeasureLineTexts::*field)
{
    TraceMeasures m;
    m.prismIndex = 1.5;
    m.incidence = incidence;
    m.deviation = deviation;
    m.entered = true;
    m.direct = true;
    return measureLineTexts({589, m}, kFrench).*field;
}

QString minimumText(double deviation, double incidence, double n)
{
    return minimumDeviationText({true, false, deviation, incidence, n}, 589, SourceType::Monochromatic, kFrench);
}

struct TextRow {
    const char *name;
    std::function<QString()> text;
    QString expected;
};
void PrintTo(const TextRow &r, std::ostream *os)
{
    *os << r.name;
}

class MeasureTexts : public ::testing::TestWithParam<TextRow>
{
};

// Every number goes through the number patterns; the minimum is that of a radiation drawn.
TEST_P(MeasureTexts, Read)
{
    EXPECT_EQ(GetParam().text(), GetParam().expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, MeasureTexts, ::testing::Values(
    TextRow{"angle_half_tenth_rounds_up", [] { return line(0.15, 2, &MeasureLineTexts::incidence); }, "0,2"},
    TextRow{"small_negative_angle_unsigned", [] { return line(1, -0.04, &MeasureLineTexts::deviation); }, "0,0"},
    TextRow{"index_six_decimals", [] { return line(1, 1, &MeasureLineTexts::prismIndex); }, "1,500000"},
    TextRow{"minimum_index_six_decimals", [] { return minimumText(38.25, 41.15, 1.5169304); },
            "Minimum de déviation à 589 nm : Dm = 38,3° pour i = 41,2°\nn = sin((A + Dm)/2) / sin(A/2) = 1,516930"},
    TextRow{"relative_index_below_one", [] { return minimumText(-3.5, 20, 0.95).section(u'=', -1); }, " 0,950000"},
    TextRow{"five_radiations_minimum_of_a_drawn_one",
            [] { return QString::number(minimumWavelength({.wavelength = 450, .source = SourceType::FiveRadiations})); },
            "400"}),
    RowName());
// clang-format on

} // namespace
