#include "output/scenereport.h"

#include <gtest/gtest.h>
#include <ostream>

using namespace vorlac;

namespace
{

struct ReportRow {
    const char *name;
    SceneState state;
    ReportTexts texts;
};

// The row's name in a failure message.
[[maybe_unused]] void PrintTo(const ReportRow &row, std::ostream *os)
{
    *os << row.name;
}

class SceneReport : public ::testing::TestWithParam<ReportRow>
{
};

TEST_P(SceneReport, TextsAreThePanelsTexts)
{
    const ReportTexts t = sceneReportTexts(GetParam().state);
    const ReportTexts &want = GetParam().texts;
    EXPECT_EQ(t.source, want.source);
    EXPECT_EQ(t.wavelength, want.wavelength);
    EXPECT_EQ(t.apex, want.apex);
    EXPECT_EQ(t.prismMaterial, want.prismMaterial);
    EXPECT_EQ(t.prismIndex, want.prismIndex);
    EXPECT_EQ(t.outsideMaterial, want.outsideMaterial);
    EXPECT_EQ(t.outsideIndex, want.outsideIndex);
}

SceneState customPrismInWater()
{
    SceneState s;
    s.source = SourceType::WhiteLight;
    s.apexAngle = 60;
    s.wavelength = 400;
    s.prismMaterial = kCustomMaterial;
    s.prismCauchyA = 1.25f;
    s.prismCauchyB = 300.0f;
    s.outsideMaterial = 1;
    s.outsideCauchyA = kMaterials[1].cauchyA;
    s.outsideCauchyB = kMaterials[1].cauchyB;
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SceneReport,
    ::testing::Values(
        ReportRow{"StartScene",
                  SceneState{},
                  {SourceType::FiveRadiations, "589", "45", "Verre Crown", "n = 1,506516", "Air", "n = 1,000277", {}}},
        ReportRow{"CustomPrismInWater",
                  customPrismInWater(),
                  {SourceType::WhiteLight, "400", "60", "Autre", "n = 1,251875", "Eau", "n = 1,339828", {}}}),
    [](const auto &row) { return std::string(row.param.name); });

} // namespace
