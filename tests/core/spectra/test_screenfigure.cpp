// The screen in the drawn scene: every emergent ray ends where it lands (the screen drawn nearer
// than it stands moves the landings back with it), nothing changes while the screen is off, and
// the Sun lights white light's own rays.
#include "model/constants.h"
#include "model/linelamps.h"
#include "model/materials.h"
#include "rowname.h"
#include "spectra/screenfigure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

using namespace vorlac;

namespace
{

SceneState whiteScene(int apex, int prism, double incidence)
{
    SceneState s;
    s.source = SourceType::WhiteLight;
    s.apexAngle = apex;
    s.prismMaterial = prism;
    s.prismCauchyA = kMaterials[std::size_t(prism)].cauchyA;
    s.prismCauchyB = kMaterials[std::size_t(prism)].cauchyB;
    s.incidenceAngle = incidence;
    return s;
}

SceneFigure whiteFigure(const SceneState &s)
{
    SpectrumColours colours;
    FillSpectrumColours(colours);
    return traceFigure(s, &colours);
}

struct StopRow {
    int apex, prism;
    double incidence, distance, turn;
    bool lamp;
};
std::ostream &operator<<(std::ostream &o, const StopRow &r)
{
    return o << 'A' << r.apex << " glass" << r.prism << " i" << r.incidence << ' ' << r.distance << "mm turn" << r.turn
             << (r.lamp ? " lamp" : " white");
}

using RaysStop = ::testing::TestWithParam<StopRow>;

TEST_P(RaysStop, WhereTheyLand)
{
    const StopRow r = GetParam();
    SceneState s = whiteScene(r.apex, r.prism, r.incidence);
    if (r.lamp) {
        s.source = SourceType::LineLamp;
        s.lamp = lineLampRow(QStringLiteral("néon"));
        s.showPropagation = true;
    }
    ScreenSettings settings;
    settings.shown = true;
    settings.placement = {r.distance, r.turn, 300.0};
    SceneFigure f = r.lamp ? traceFigure(s) : whiteFigure(s);
    screenFigure(f, settings);
    const std::optional<ScreenFrame> frame = screenFrame(f.state, settings.placement);
    ASSERT_TRUE(frame && f.stop);
    const RayStop &stop = f.stop->stop;
    EXPECT_EQ(stop.broken(), r.distance > 60.0);
    // The screen is drawn inside the picture.
    const PointD drawn{frame->centre.x + stop.shift.x, frame->centre.y + stop.shift.y};
    EXPECT_TRUE(drawn.x > 0 && drawn.x < kSceneWidth && drawn.y > 0 && drawn.y < kSceneHeight);
    int landed = 0;
    for (const FigureRay &ray : f.rays) {
        const ScreenHit hit = screenHitAt(f.state, *frame, ray.radiation.wavelength);
        ASSERT_EQ(ray.landing.has_value(), hit.status == ScreenLanding::Lands) << ray.radiation.wavelength;
        if (!ray.landing)
            continue;
        EXPECT_NEAR(ray.landing->x, hit.point.x + stop.shift.x, 1e-6);
        EXPECT_NEAR(ray.landing->y, hit.point.y + stop.shift.y, 1e-6);
        // Its drawn line ends there, and nothing of it goes further along the beam.
        const PointD beyond{ray.landing->x - stop.breakTo.x, ray.landing->y - stop.breakTo.y};
        if (stop.broken() && beyond.x * stop.beam.x + beyond.y * stop.beam.y <= 0.0)
            continue; // a turned screen's near end: the ray ends at the break
        ++landed;
        const Segment &end = f.segments[ray.first + ray.exit.segment + (stop.broken() ? 1 : 0)];
        EXPECT_NEAR(end.x2, ray.landing->x, 1e-6);
        EXPECT_NEAR(end.y2, ray.landing->y, 1e-6);
        for (std::size_t k = ray.first; k < ray.first + ray.count; ++k)
            for (const PointD p :
                 {PointD{f.segments[k].x1, f.segments[k].y1}, PointD{f.segments[k].x2, f.segments[k].y2}})
                EXPECT_LE((p.x - ray.landing->x) * stop.beam.x + (p.y - ray.landing->y) * stop.beam.y, 1e-6);
    }
    EXPECT_GT(landed, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RaysStop,
    ::testing::Values(StopRow{60, 3, 50.0, 40.0, 0.0, false}, StopRow{45, 2, 36.0, 500.0, 0.0, false},
                      StopRow{60, 3, 50.0, 3000.0, 30.0, false}, StopRow{30, 1, 25.0, 55.0, -40.0, false},
                      StopRow{75, 2, 70.0, 1000.0, 80.0, false}, StopRow{60, 3, 50.0, 25.0, 10.0, true},
                      StopRow{60, 3, 45.0, 800.0, -20.0, true}),
    RowName());

// While the screen is off, its light and absorber change nothing: the same lines, the same picture.
TEST(ScreenOff, LeavesTheFigure)
{
    const SceneState s = whiteScene(60, 3, 50.0);
    const SceneFigure plain = whiteFigure(s);
    SceneFigure f = plain;
    ScreenSettings settings;
    settings.sun = true;
    settings.absorber = {AbsorberKind::Gas, lineLampRow(QStringLiteral("sodium")), false};
    screenFigure(f, settings);
    EXPECT_EQ(f.segments, plain.segments);
    ScenePicture a, b;
    drawFigure(plain, a);
    drawFigure(f, b);
    EXPECT_EQ(a.image, b.image);
}

struct SunRow {
    double wavelength;
    double brightest, darkest; // the ray's brightness against white light's
};
std::ostream &operator<<(std::ostream &o, const SunRow &r)
{
    return o << r.wavelength << "nm";
}

using SunRays = ::testing::TestWithParam<SunRow>;

// The Sun through sodium: white light's paths, colours after the Sun's spectrum, sodium's rays dark.
TEST_P(SunRays, FollowTheSpectrum)
{
    const SunRow r = GetParam();
    const SceneFigure white = whiteFigure(whiteScene(60, 3, 50.0));
    SceneFigure sun = white;
    lightFigure(sun, sunSource(), {AbsorberKind::Gas, lineLampRow(QStringLiteral("sodium")), false});
    ASSERT_EQ(sun.segments.size(), white.segments.size());
    for (std::size_t k = 0; k < sun.segments.size(); ++k)
        EXPECT_TRUE(sun.segments[k].x2 == white.segments[k].x2 && sun.segments[k].y2 == white.segments[k].y2);
    const Rgb was = white.rayAt(r.wavelength)->radiation.colour, is = sun.rayAt(r.wavelength)->radiation.colour;
    const double ratio = double(redOf(is) + greenOf(is) + blueOf(is)) / (redOf(was) + greenOf(was) + blueOf(was));
    EXPECT_GE(ratio, r.darkest);
    EXPECT_LE(ratio, r.brightest);
}

INSTANTIATE_TEST_SUITE_P(Rows, SunRays,
                         ::testing::Values(SunRow{500.0, 1.0, 0.98}, SunRow{700.0, 0.85, 0.78},
                                           SunRow{589.0, 0.05, 0.0}, SunRow{590.0, 0.2, 0.0}, SunRow{656.0, 0.2, 0.1},
                                           SunRow{620.0, 0.95, 0.88}),
                         RowName());

} // namespace
