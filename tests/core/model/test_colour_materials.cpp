#include "common/numberpattern.h"
#include "model/colour.h"
#include "model/materials.h"
#include "rowname.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vorlac;

namespace
{

struct ColourRow {
    int lambda;
    int r, g, b;
};

void PrintTo(const ColourRow &r, std::ostream *os)
{
    *os << r.lambda << "nm";
}

class WavelengthColours : public ::testing::TestWithParam<ColourRow>
{
};

TEST_P(WavelengthColours, MatchTheRule)
{
    const ColourRow row = GetParam();
    Rgb c = makeRgb(1, 2, 3);
    WavelengthColour(row.lambda, c);
    EXPECT_EQ(redOf(c), row.r);
    EXPECT_EQ(greenOf(c), row.g);
    EXPECT_EQ(blueOf(c), row.b);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WavelengthColours,
    ::testing::Values(ColourRow{400, 0, 0, 128}, // 127.5 to the even 128
                      ColourRow{439, 0, 0, 252}, ColourRow{440, 0, 0, 255}, ColourRow{470, 0, 128, 255}, // 127.5
                      ColourRow{500, 0, 255, 255}, ColourRow{549, 0, 255, 5}, ColourRow{550, 0, 255, 0},
                      ColourRow{589, 249, 255, 0}, ColourRow{590, 255, 255, 0}, ColourRow{670, 255, 128, 0},
                      ColourRow{749, 255, 2, 0}, ColourRow{750, 255, 0, 0}, ColourRow{800, 128, 0, 0},
                      // outside the visible range the colour stays as it was
                      ColourRow{399, 1, 2, 3}, ColourRow{801, 1, 2, 3}));

TEST(SpectrumColours, TableMatchesTheRuleForEveryWavelength)
{
    SpectrumColours table{};
    FillSpectrumColours(table);
    for (int lambda = 400; lambda <= 800; ++lambda) {
        Rgb c = 0;
        WavelengthColour(lambda, c);
        ASSERT_EQ(table[lambda - 400], c) << lambda;
    }
}

TEST(Colour, PackingIsRPlus256GPlus65536B)
{
    EXPECT_EQ(makeRgb(1, 2, 3), 1u + 256u * 2u + 65536u * 3u);
    EXPECT_EQ(toQRgb(makeRgb(255, 0, 0)), 0xffff0000u);
}

struct IndexRow {
    int material;
    double at400, at589, at800;
};

void PrintTo(const IndexRow &r, std::ostream *os)
{
    *os << "material " << r.material;
}

class MaterialIndices : public ::testing::TestWithParam<IndexRow>
{
};

TEST_P(MaterialIndices, SixDecimals)
{
    const IndexRow row = GetParam();
    const Material &m = kMaterials[row.material];
    EXPECT_NEAR(CauchyIndex(m.cauchyA, m.cauchyB, 400), row.at400, 5e-7);
    EXPECT_NEAR(CauchyIndex(m.cauchyA, m.cauchyB, 589), row.at589, 5e-7);
    EXPECT_NEAR(CauchyIndex(m.cauchyA, m.cauchyB, 800), row.at800, 5e-7);
}

INSTANTIATE_TEST_SUITE_P(Rows, MaterialIndices,
                         ::testing::Values(IndexRow{0, 1.000279, 1.000277, 1.000276},
                                           IndexRow{1, 1.339828, 1.332347, 1.329414},
                                           IndexRow{2, 1.546416, 1.506516, 1.490876},
                                           IndexRow{3, 1.733588, 1.628852, 1.587797}));

// The panel's six decimals at wavelengths where the index lies near a rounding boundary: the
// law formed in single precision would show the neighbouring last digit.
struct ReadoutRow {
    int material;
    int lambda;
    const char *shown;
};

void PrintTo(const ReadoutRow &r, std::ostream *os)
{
    *os << kMaterials[r.material].name << " " << r.lambda << "nm";
}

class IndexReadouts : public ::testing::TestWithParam<ReadoutRow>
{
};

TEST_P(IndexReadouts, SixDecimalsOfTheDoubleLaw)
{
    const ReadoutRow row = GetParam();
    const Material &m = kMaterials[row.material];
    EXPECT_EQ(formatNumberPattern(CauchyIndex(m.cauchyA, m.cauchyB, row.lambda), kPatternIndex,
                                  QLocale(QLocale::French, QLocale::France)),
              QString::fromLatin1(row.shown));
}

INSTANTIATE_TEST_SUITE_P(Rows, IndexReadouts,
                         ::testing::Values(ReadoutRow{0, 512, "1,000277"}, ReadoutRow{0, 633, "1,000277"},
                                           ReadoutRow{1, 554, "1,333181"}, ReadoutRow{1, 797, "1,329441"},
                                           ReadoutRow{2, 594, "1,505943"}, ReadoutRow{2, 799, "1,490923"},
                                           ReadoutRow{3, 583, "1,630706"}, ReadoutRow{3, 555, "1,640173"}),
                         RowName());

TEST(Materials, NamesAndSinglePrecisionCoefficients)
{
    EXPECT_EQ(materialName(0), "Air");
    EXPECT_EQ(materialName(4), "Autre");
    // The shortest decimal forms of the stored numbers read back to the same floats.
    EXPECT_EQ(kMaterials[2].cauchyB, QStringLiteral("11848.408").toFloat());
    EXPECT_EQ(kMaterials[0].cauchyA, QStringLiteral("1.0002747").toFloat());
}

} // namespace
