#include "analysis/measuretexts.h"
#include "model/linelamps.h"
#include "render/magnifier.h"
#include "render/scenerenderer.h"
#include "rowname.h"
#include "table/measurerecord.h"
#include "table/valuetable.h"

#include <cmath>
#include <gtest/gtest.h>
#include <ostream>

using namespace vorlac;

namespace
{

constexpr QSize kWindow(240, 180);

struct Drawn {
    SceneState state;
    SpectrumColours spectrum{};
    ScenePicture picture;
    explicit Drawn(const SceneState &s) : state(s)
    {
        FillSpectrumColours(spectrum);
        RedrawScene(state, picture);
        RedrawWhiteLight(state, spectrum, picture);
    }
    QImage magnified(const MagnifiedBeam &beam, double zoom) const
    {
        QImage image(kWindow, QImage::Format_RGB32);
        drawMagnifiedScene(state, picture, spectrum, magnifierViewport(beam, QSizeF(kWindow), zoom), 1.0, image);
        return image;
    }
};

bool lit(const QImage &image, QPointF at)
{
    const QPoint p(int(std::floor(at.x())), int(std::floor(at.y())));
    return image.rect().contains(p) && (image.pixel(p) & 0xffffffu) != 0;
}

bool litNear(const QImage &image, QPointF at, int radius)
{
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (lit(image, at + QPointF(dx, dy)))
                return true;
    return false;
}

// Centres of the lit runs met going across the beam through `centre`, in pixels along the way.
std::vector<double> runsAcross(const QImage &image, QPointF centre, double direction, double halfWidth)
{
    const QPointF across(-std::sin(direction * M_PI / 180), std::cos(direction * M_PI / 180));
    std::vector<double> runs;
    double start = 0;
    bool in = false;
    for (double s = -halfWidth; s <= halfWidth; s += 0.25) {
        const bool on = lit(image, centre + s * across);
        if (on && !in)
            start = s;
        if (!on && in)
            runs.push_back((start + s - 0.25) / 2);
        in = on;
    }
    return runs;
}

SceneState scene(SourceType source, int apex, double incidence, int material, int wavelength = 589,
                 const char *lamp = "sodium")
{
    SceneState s;
    s.source = source;
    s.apexAngle = apex;
    s.incidenceAngle = incidence;
    s.prismMaterial = material;
    s.prismCauchyA = kMaterials[std::size_t(material)].cauchyA;
    s.prismCauchyB = kMaterials[std::size_t(material)].cauchyB;
    s.wavelength = wavelength;
    s.lamp = lineLampRow(QString::fromUtf8(lamp));
    return s;
}

// Air prism in water: beyond the entry face's limit the light never enters.
SceneState airInWater(double incidence)
{
    SceneState s = scene(SourceType::Monochromatic, 45, incidence, 0);
    s.outsideMaterial = 1;
    s.outsideCauchyA = kMaterials[1].cauchyA;
    s.outsideCauchyB = kMaterials[1].cauchyB;
    return s;
}

struct BeamRow {
    const char *name;
    SceneState state;
    bool emerges;
    double wavelength; // of the beam looked at
};
[[maybe_unused]] void PrintTo(const BeamRow &r, std::ostream *os)
{
    *os << r.name;
}

class MagnifierBeam : public ::testing::TestWithParam<BeamRow>
{
};

// The magnifier looks where the measured ray is drawn: its centre is on that ray in the main
// picture and in the magnified one, and it moves with the lamp.
TEST_P(MagnifierBeam, CentredOnTheDrawnBeamAndFollowsIt)
{
    const BeamRow &row = GetParam();
    const Drawn d(row.state);
    const MagnifiedBeam beam = magnifiedBeam(row.state);
    ASSERT_EQ(beam.emerged, row.emerges);
    EXPECT_DOUBLE_EQ(beam.wavelength, row.wavelength);
    const QPointF centre(beam.centre.x, beam.centre.y);
    EXPECT_TRUE(litNear(d.picture.image, centre, 1)) << centre.x() << ", " << centre.y();
    const double distance = std::hypot(beam.centre.x - beam.exitPoint.x, beam.centre.y - beam.exitPoint.y);
    EXPECT_NEAR(distance, beam.distance, 1e-9);
    EXPECT_LE(distance, kMagnifierDistance + 1e-9);
    EXPECT_GT(distance, 20);
    const QImage big = d.magnified(beam, 50);
    EXPECT_TRUE(litNear(big, QPointF(kWindow.width(), kWindow.height()) / 2, 2));
    if (!row.emerges)
        return;
    SceneState moved = row.state;
    moved.incidenceAngle += 3;
    const MagnifiedBeam after = magnifiedBeam(moved);
    EXPECT_GT(std::hypot(after.centre.x - beam.centre.x, after.centre.y - beam.centre.y), 1.0);
    const Drawn d2(moved);
    EXPECT_TRUE(litNear(d2.picture.image, QPointF(after.centre.x, after.centre.y), 1));
    EXPECT_TRUE(litNear(d2.magnified(after, 50), QPointF(kWindow.width(), kWindow.height()) / 2, 2));
}

using S = SourceType;
// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, MagnifierBeam, ::testing::Values(
    BeamRow{"monochromatic crown A45 i36", scene(S::Monochromatic, 45, 36, 2), true, 589},
    BeamRow{"five radiations flint A60 i40", scene(S::FiveRadiations, 60, 40, 3, 640), true, 600},
    BeamRow{"sodium lamp flint A60 i50", scene(S::LineLamp, 60, 50, 3), true, 588.995},
    BeamRow{"neon lamp water A30 i20", scene(S::LineLamp, 30, 20, 1, 700, "néon"), true, 702.405},
    BeamRow{"white light crown A75 i70", scene(S::WhiteLight, 75, 70, 2, 450), true, 450},
    BeamRow{"total reflection flint A60 i10, out by the base", scene(S::Monochromatic, 60, 10, 3), true, 589},
    BeamRow{"reflected at entry, air in water i70", airInWater(70), false, 589}),
    RowName());
// clang-format on

struct DoubletRow {
    const char *name;
    float cauchyA, cauchyB;
    int apex;
};
[[maybe_unused]] void PrintTo(const DoubletRow &r, std::ostream *os)
{
    *os << r.name;
}

class MagnifiedDoublet : public ::testing::TestWithParam<DoubletRow>
{
};

// The two yellow lines of sodium are one ray in the main picture and two, well apart, at 100x.
TEST_P(MagnifiedDoublet, SeparatesAt100x)
{
    const DoubletRow &row = GetParam();
    SceneState s = scene(S::LineLamp, row.apex, 0, 4);
    s.prismCauchyA = row.cauchyA;
    s.prismCauchyB = row.cauchyB;
    s.incidenceAngle = 55;
    const Drawn d(s);
    const MagnifiedBeam beam = magnifiedBeam(s);
    ASSERT_TRUE(beam.emerged);
    const std::optional<double> d1 = beamOffset(s, beam, 588.995), d2 = beamOffset(s, beam, 589.592);
    ASSERT_TRUE(d1 && d2);
    EXPECT_LT(std::abs(*d2 - *d1), 1.0); // scene pixels
    EXPECT_EQ(runsAcross(d.picture.image, QPointF(beam.centre.x, beam.centre.y), beam.direction, 1.5).size(), 1u);
    const std::vector<double> runs =
        runsAcross(d.magnified(beam, 100), QPointF(kWindow.width(), kWindow.height()) / 2, beam.direction, 60);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_GT(runs[1] - runs[0], 3.0);
    EXPECT_NEAR(runs[1] - runs[0], std::abs(*d2 - *d1) * 100, 2.0);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, MagnifiedDoublet, ::testing::Values(
    DoubletRow{"Verre Flint A60", kMaterials[3].cauchyA, kMaterials[3].cauchyB, 60},
    DoubletRow{"dense flint typed 1.72 25000 A60", 1.72f, 25000.0f, 60},
    DoubletRow{"dense flint typed 1.9 40000 A45", 1.9f, 40000.0f, 45}),
    RowName());
// clang-format on

struct PrecisionRow {
    const char *name;
    double angle;
    int decimals;
    const char *text;     // the panel's, French
    const char *recorded; // in the table's default pattern
};
[[maybe_unused]] void PrintTo(const PrecisionRow &r, std::ostream *os)
{
    *os << r.name;
}

class AnglePrecisionChoice : public ::testing::TestWithParam<PrecisionRow>
{
};

// Each precision writes the panel's text and the recorded value alike, half away from zero.
TEST_P(AnglePrecisionChoice, TextAndRecord)
{
    const PrecisionRow &row = GetParam();
    const QLocale french(QLocale::French, QLocale::France);
    EXPECT_EQ(angleText(row.angle, french, row.decimals), QString::fromUtf8(row.text));
    RayMeasures ray;
    ray.wavelength = 589;
    ray.measures.incidence = row.angle;
    ValueTable t;
    t.setLocale(french);
    RecordColumns c;
    c.column.fill(Quantity::None);
    c.column[0] = Quantity::Incidence;
    ASSERT_EQ(recordMeasurement(t, c, {ray}, 45, row.decimals).status, RecordOutcome::Recorded);
    EXPECT_EQ(t.TextMatrix(1, 0), QString::fromUtf8(row.recorded));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, AnglePrecisionChoice, ::testing::Values(
    PrecisionRow{"36 tenth", 36.0, 1, "36,0", "36,000"},
    PrecisionRow{"30.25 tenth", 30.25, 1, "30,3", "30,300"},
    PrecisionRow{"30.25 hundredth", 30.25, 2, "30,25", "30,250"},
    PrecisionRow{"30.2449 hundredth", 30.2449, 2, "30,24", "30,240"},
    PrecisionRow{"negative thousandth", -27.91251, 3, "-27,913", "-27,913"},
    PrecisionRow{"tiny negative thousandth", -0.0004, 3, "0,000", "0,000"},
    PrecisionRow{"tiny negative tenth", -0.04, 1, "0,0", "0,000"}),
    RowName());
// clang-format on

} // namespace
