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
    SceneFigure figure;
    explicit Drawn(const SceneState &s) : state(s)
    {
        FillSpectrumColours(spectrum);
        figure = traceFigure(state, &spectrum);
        drawFigure(figure, picture);
    }
    QImage magnified(const MagnifiedBeam &beam, double zoom) const
    {
        QImage image(kWindow, QImage::Format_RGB32);
        drawMagnifiedScene(figure, magnifierViewport(beam, QSizeF(kWindow), zoom), 1.0, kMagnifierRayWidth, image);
        return image;
    }
};

// Centres of the lit runs met going across the beam through `centre`, in pixels along the way.
std::vector<double> runsAcross(const QImage &image, QPointF centre, double direction, double halfWidth)
{
    const QPointF across(-std::sin(direction * M_PI / 180), std::cos(direction * M_PI / 180));
    std::vector<double> runs;
    double start = 0;
    bool in = false;
    for (double s = -halfWidth; s <= halfWidth; s += 0.25) {
        const QPointF at = centre + s * across;
        const QPoint p(int(std::floor(at.x())), int(std::floor(at.y())));
        const bool on = image.rect().contains(p) && (image.pixel(p) & 0xffffffu) != 0;
        if (on && !in)
            start = s;
        if (!on && in)
            runs.push_back((start + s - 0.25) / 2);
        in = on;
    }
    if (in)
        runs.push_back((start + halfWidth) / 2);
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

// Prism coefficients typed in, in air or (an outside index) in another medium.
SceneState typed(SourceType source, float a, float b, int apex, double incidence, float outsideA = 1.0002747f)
{
    SceneState s = scene(source, apex, incidence, 4);
    s.prismCauchyA = a;
    s.prismCauchyB = b;
    s.outsideCauchyA = outsideA;
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
// picture and in the magnified one, whatever the incidence, apex, material and source.
TEST_P(MagnifierBeam, CentredOnTheDrawnBeamAndFollowsIt)
{
    const BeamRow &row = GetParam();
    const Drawn d(row.state);
    const MagnifiedBeam beam = magnifiedBeam(d.figure);
    ASSERT_EQ(beam.emerged, row.emerges);
    EXPECT_DOUBLE_EQ(beam.wavelength, row.wavelength);
    const QPointF centre(beam.centre.x, beam.centre.y), middle = QPointF(kWindow.width(), kWindow.height()) / 2;
    // A one-pixel line may pass a point between two lit pixels: look in a square around it.
    bool near = false;
    for (int k = 0; k < 9; ++k)
        near = near || !runsAcross(d.picture.image, centre + QPointF(k % 3 - 1, k / 3 - 1), 0, 0).empty();
    EXPECT_TRUE(near);
    EXPECT_FALSE(runsAcross(d.magnified(beam, 50), middle, beam.direction, 2).empty());
    const double distance = std::hypot(beam.centre.x - beam.exitPoint.x, beam.centre.y - beam.exitPoint.y);
    EXPECT_NEAR(distance, beam.distance, 1e-9);
    EXPECT_LE(distance, kMagnifierDistance + 1e-9);
    EXPECT_GT(distance, 20);
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
    BeamRow{"reflected at entry, 1.0 in 1.33 i70", typed(S::Monochromatic, 1.0f, 0, 45, 70, 1.33f), false, 589}),
    RowName());
// clang-format on

class MagnifiedDoublet : public ::testing::TestWithParam<BeamRow>
{
};

// The two yellow lines of sodium are one ray in the main picture and two, well apart, at 100x.
TEST_P(MagnifiedDoublet, SeparatesAt100x)
{
    const SceneState &s = GetParam().state;
    const Drawn d(s);
    const MagnifiedBeam beam = magnifiedBeam(d.figure);
    ASSERT_TRUE(beam.emerged);
    const std::optional<double> d1 = beamOffset(d.figure, beam, 588.995), d2 = beamOffset(d.figure, beam, 589.592);
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
    BeamRow{"Verre Flint A60 i55", scene(S::LineLamp, 60, 55, 3), true, 588.995},
    BeamRow{"dense flint typed 1.72 25000 A60 i55", typed(S::LineLamp, 1.72f, 25000, 60, 55), true, 588.995},
    BeamRow{"dense flint typed 1.9 40000 A45 i40", typed(S::LineLamp, 1.9f, 40000, 45, 40), true, 588.995}),
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
    PrecisionRow{"tiny negative tenth", -0.04, 1, "0,0", "0,000"}),
    RowName());
// clang-format on

} // namespace

namespace
{

// The lines crossing the magnified view are named where they cross it: by wavelength, or by rank
// while the lamp is hidden.
class MagnifierLabels : public ::testing::TestWithParam<bool>
{
};

TEST_P(MagnifierLabels, NameTheSodiumDoubletOnItsRays)
{
    SceneState s;
    s.source = SourceType::LineLamp;
    for (int row = 0; row < lineLampCount(); ++row)
        if (lineLampName(row).contains(QStringLiteral("odium")))
            s.lamp = row;
    s.lampHidden = GetParam();
    const Drawn drawn(s);
    const MagnifiedBeam beam = magnifiedBeam(drawn.figure);
    const SceneViewport view = magnifierViewport(beam, QSizeF(kWindow), 100);
    const QImage image = drawn.magnified(beam, 100);
    const std::vector<BeamLabel> labels =
        magnifierLabels(drawn.figure, beam, view, QSizeF(kWindow), QLocale(QLocale::French, QLocale::France));
    QStringList texts;
    for (const BeamLabel &l : labels) {
        texts << l.text;
        EXPECT_NE(image.pixel(l.at.toPoint()), image.pixel(0, 0)) << "a ray at " << l.text.toStdString();
    }
    const QStringList expected = GetParam() ? QStringList{QStringLiteral("raie 6"), QStringLiteral("raie 7")}
                                            : QStringList{QStringLiteral("588,995 nm"), QStringLiteral("589,592 nm")};
    const bool named = texts.contains(expected[0]) && texts.contains(expected[1]);
    EXPECT_TRUE(named) << texts.join(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, MagnifierLabels, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool> &i) { return i.param ? "Hidden" : "Shown"; });

} // namespace

namespace
{

class MagnifierRayWidth : public ::testing::TestWithParam<int>
{
};

// The magnified rays are as wide as chosen: a monochromatic beam lights width times the pixels
// of a one-pixel beam.
TEST_P(MagnifierRayWidth, FollowsTheChosenWidth)
{
    SceneState s;
    s.source = SourceType::Monochromatic;
    const Drawn d(s);
    const MagnifiedBeam beam = magnifiedBeam(d.figure);
    ASSERT_TRUE(beam.emerged);
    const SceneViewport view = magnifierViewport(beam, QSizeF(kWindow), 100);
    const auto lit = [&](int width) {
        QImage image(kWindow, QImage::Format_RGB32);
        drawMagnifiedScene(d.figure, view, 1.0, width, image);
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += (image.pixel(x, y) & 0xffffffu) != 0;
        return n;
    };
    const int one = lit(1);
    ASSERT_GT(one, 100);
    EXPECT_NEAR(double(lit(GetParam())) / one, GetParam(), 0.1 * GetParam());
}

INSTANTIATE_TEST_SUITE_P(Rows, MagnifierRayWidth, ::testing::Values(2, 3, 6),
                         [](const ::testing::TestParamInfo<int> &i) {
                             return std::to_string(i.index) + "_width_" + std::to_string(i.param);
                         });

} // namespace
