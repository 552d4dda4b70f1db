// The lamp's key steps and the words the scene is read with.
#include "model/lampgeometry.h"
#include "model/materials.h"
#include "model/scenedescription.h"
#include "render/scenefigure.h"
#include "rowname.h"

#include <gtest/gtest.h>

using namespace vorlac;

namespace
{

// The steps themselves are checked through the window (test_keyboard in ui).
TEST(LampKeys, TenTenthsAreOneDegreeExactly)
{
    double incidence = 36.0;
    for (int i = 0; i < 10; ++i)
        incidence = lampKeyIncidence(incidence, *lampKeyStep(Qt::Key_Right, Qt::ShiftModifier));
    EXPECT_EQ(incidence, 37.0);
}

struct DescriptionRow {
    const char *name;
    SceneState state;
    const char *locale;
    const char *expected;
};

void PrintTo(const DescriptionRow &r, std::ostream *os)
{
    *os << r.name;
}

SceneState scene(SourceType source, double incidence, int apex, int prism, int outside, int wavelength = 589)
{
    SceneState s;
    s.source = source;
    s.incidenceAngle = incidence;
    s.apexAngle = apex;
    s.wavelength = wavelength;
    s.prismMaterial = prism;
    s.prismCauchyA = kMaterials[static_cast<std::size_t>(prism)].cauchyA;
    s.prismCauchyB = kMaterials[static_cast<std::size_t>(prism)].cauchyB;
    s.outsideMaterial = outside;
    s.outsideCauchyA = kMaterials[static_cast<std::size_t>(outside)].cauchyA;
    s.outsideCauchyB = kMaterials[static_cast<std::size_t>(outside)].cauchyB;
    return s;
}

class SceneWords : public ::testing::TestWithParam<DescriptionRow>
{
};

TEST_P(SceneWords, SayWhatTheSceneShows)
{
    const DescriptionRow r = GetParam();
    const QLocale locale(QString::fromLatin1(r.locale));
    EXPECT_EQ(describeScene(r.state, locale), QString::fromUtf8(r.expected));
    // The scene view reads the same words from its figure, white light's 401 rays as its preview.
    SpectrumColours spectrum;
    FillSpectrumColours(spectrum);
    for (const SpectrumColours *colours : std::initializer_list<const SpectrumColours *>{nullptr, &spectrum}) {
        const SceneFigure figure = traceFigure(r.state, colours);
        EXPECT_EQ(describeScene(figure.state, figure.paths, locale), QString::fromUtf8(r.expected));
    }
}

// A prism of the medium's own material does not bend the ray: r = i, i' = A - i, D = 0.
INSTANTIATE_TEST_SUITE_P(
    Rows, SceneWords,
    ::testing::Values(
        DescriptionRow{"same_material_french", scene(SourceType::Monochromatic, 30, 45, 1, 1), "fr_FR",
                       "Incidence 30,0°, réfraction 30,0°, émergence 15,0°, déviation 0,0° (589 nm)"},
        DescriptionRow{"same_material_english", scene(SourceType::Monochromatic, 30, 45, 1, 1), "en_GB",
                       "Incidence 30.0°, réfraction 30.0°, émergence 15.0°, déviation 0.0° (589 nm)"},
        DescriptionRow{"five_same_material", scene(SourceType::FiveRadiations, 40, 60, 0, 0), "fr_FR",
                       "Incidence 40,0°, cinq radiations : déviation de 0,0° (800 nm) à 0,0° (400 nm)"},
        DescriptionRow{"white_same_material", scene(SourceType::WhiteLight, 40, 60, 0, 0), "fr_FR",
                       "Incidence 40,0°, lumière blanche : déviation de 0,0° (800 nm) à 0,0° (400 nm)"},
        DescriptionRow{"flint_apex_60_reflects", scene(SourceType::Monochromatic, 0, 60, 3, 0), "fr_FR",
                       "Incidence 0,0°, réfraction 0,0°, une réflexion totale, sortie par la base (589 nm)"},
        DescriptionRow{"white_flint_ends_part", scene(SourceType::WhiteLight, 40, 60, 3, 0), "fr_FR",
                       "Incidence 40,0°, lumière blanche : 800 nm : réfraction 23,9°, émergence 69,3°, "
                       "déviation 49,3° ; 400 nm : réfraction 21,8°, une réflexion totale, sortie par "
                       "la base"},
        DescriptionRow{"five_flint_beyond_limit", scene(SourceType::FiveRadiations, -80, 60, 3, 0), "fr_FR",
                       "Incidence -80,0°, cinq radiations : 800 nm : réfraction -38,3°, sortie par la "
                       "base ; 400 nm : réfraction -34,6°, sortie par la base"}),
    RowName());

} // namespace
