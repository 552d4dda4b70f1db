#include "analysis/minimumdeviation.h"
#include "model/constants.h"
#include "model/materials.h"
#include "model/raytracer.h"
#include "rowname.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

using namespace vorlac;

namespace
{

double n589(int material)
{
    return CauchyIndex(kMaterials[material].cauchyA, kMaterials[material].cauchyB, 589);
}

TraceInput input(int apex, double incidence, double prism, double outside)
{
    return rayOnlyInput(apex, incidence, prism, outside);
}

// Screen direction of a drawn segment, in the tracer's degrees.
double direction(const Segment &s)
{
    return std::atan2(s.y2 - s.y1, s.x2 - s.x1) / kDegToRad;
}

enum class Path { Direct, TotalReflection, BaseFirst, EntryReflection };

struct MeasureRow {
    const char *name;
    int apex;
    double incidence, prism, outside;
    Path path;
};
void PrintTo(const MeasureRow &r, std::ostream *os)
{
    *os << r.name;
}

class TraceMeasuresRows : public ::testing::TestWithParam<MeasureRow>
{
};

// The measures agree with the segments the same trace draws: r with the inside segment, D with
// the angle between the incident ray and the emergent segment.
TEST_P(TraceMeasuresRows, AgreeWithTheDrawnRay)
{
    const MeasureRow &row = GetParam();
    TraceResult res;
    TraceRay(input(row.apex, row.incidence, row.prism, row.outside), res, false);
    const TraceMeasures &m = res.measures;
    const double halfA = row.apex / 2.0;
    EXPECT_DOUBLE_EQ(m.incidence, row.incidence);
    EXPECT_EQ(m.entered, row.path != Path::EntryReflection);
    EXPECT_EQ(m.direct, row.path == Path::Direct);
    ASSERT_FALSE(res.segments.empty());
    if (!m.entered)
        return;
    // Snell at the entry face, to the precision of the tracer's degree constants (their product
    // is 1 - 5e-6), and r from the drawn inside segment (its ends are not rounded).
    EXPECT_NEAR(row.outside * std::sin(row.incidence * kDegToRad), row.prism * std::sin(m.refraction * kDegToRad),
                1e-5);
    EXPECT_NEAR(halfA - direction(res.segments.front()), m.refraction, 1e-6);
    EXPECT_EQ(m.firstFace, row.path == Path::BaseFirst ? TraceFace::Base : TraceFace::Exit);
    if (m.firstFace != TraceFace::Exit)
        return;
    EXPECT_NEAR(m.exitIncidence, row.apex - m.refraction, 1e-9);
    if (!m.direct) {
        EXPECT_GT(res.reflections, 0);
        return;
    }
    // The emergent segment's end is rounded to whole pixels over 400 of length.
    const double drawnDeviation = direction(res.segments.back()) - (halfA - row.incidence);
    EXPECT_NEAR(m.deviation, drawnDeviation, 0.2);
    EXPECT_NEAR(m.deviation, m.incidence + m.emergence - row.apex, 1e-9);
    EXPECT_NEAR(row.prism * std::sin(m.exitIncidence * kDegToRad), row.outside * std::sin(m.emergence * kDegToRad),
                1e-5);
}

INSTANTIATE_TEST_SUITE_P(
    Rays, TraceMeasuresRows,
    ::testing::Values(MeasureRow{"crown_in_air_default", 45, 36, n589(2), n589(0), Path::Direct},
                      MeasureRow{"flint_grazing_in", 60, 90, n589(3), n589(0), Path::Direct},
                      MeasureRow{"crown_total_reflection", 60, 10, n589(2), n589(0), Path::TotalReflection},
                      MeasureRow{"flint_80_base_first", 80, -30, n589(3), n589(0), Path::BaseFirst},
                      MeasureRow{"air_in_water_reflected_at_entry", 45, 80, n589(0), n589(1), Path::EntryReflection},
                      MeasureRow{"air_in_water_direct", 45, 20, n589(0), n589(1), Path::Direct},
                      MeasureRow{"same_material_negative_incidence", 30, -20, 1.5, 1.5, Path::Direct}),
    RowName());

struct PrismRow {
    const char *name;
    int apex;
    double prism, outside;
    EmergenceLimit limit;
    bool found; // some incidence lets the ray straight out
};
void PrintTo(const PrismRow &r, std::ostream *os)
{
    *os << r.name;
}

class Prisms : public ::testing::TestWithParam<PrismRow>
{
};

// Just past the limit incidence the ray goes straight out, just before it the exit face (or,
// with the outside denser, the entry face) reflects it.
TEST_P(Prisms, LimitsSeparateEmergenceFromReflection)
{
    const PrismRow &row = GetParam();
    const TraceMeasures m = TraceRay(input(row.apex, 0, row.prism, row.outside)).measures;
    ASSERT_EQ(m.limit, row.limit);
    ASSERT_EQ(m.criticalAngle.has_value(), row.prism > row.outside);
    if (m.criticalAngle) {
        EXPECT_NEAR(row.prism * std::sin(*m.criticalAngle * kDegToRad), row.outside, 1e-5);
    }
    auto at = [&](double i) { return TraceRay(input(row.apex, i, row.prism, row.outside)).measures; };
    if (row.limit == EmergenceLimit::Angle) {
        // Past the limit a ray that meets the exit face leaves by it (a steep one meets the base).
        const double before = row.prism > row.outside ? -0.01 : 0.01;
        EXPECT_FALSE(at(m.limitIncidence + before).direct);
        const TraceMeasures past = at(m.limitIncidence - before);
        EXPECT_TRUE(past.direct || past.firstFace == TraceFace::Base);
    }
}

// Against the closed form 2 asin(n sin(A/2)) - A and a fine scan of the traced D(i); with one
// index inside and out, D is 0 at every incidence to the tracer's precision.
TEST_P(Prisms, MinimumOfDeviationMatchesClosedFormAndFineScan)
{
    const PrismRow &row = GetParam();
    const MinimumDeviation m = findMinimumDeviation(row.apex, row.prism, row.outside);
    ASSERT_EQ(m.found, row.found);
    EXPECT_EQ(m.uniform, row.prism == row.outside);
    double scanBest = std::numeric_limits<double>::infinity(), scanAt = 0;
    for (double i = -90; i <= 90; i += 0.01)
        if (const auto d = tracedDeviation(row.apex, row.prism, row.outside, i)) {
            if (m.uniform) {
                ASSERT_NEAR(*d, 0, 2e-3) << i;
            }
            if (std::abs(*d) < scanBest) {
                scanBest = std::abs(*d);
                scanAt = i;
            }
        }
    if (!row.found) {
        EXPECT_EQ(scanBest, std::numeric_limits<double>::infinity());
        return;
    }
    const double deg = std::numbers::pi / 180;
    const double n = row.prism / row.outside;
    const double closed = 2 * std::asin(n * std::sin(row.apex / 2.0 * deg)) / deg - row.apex;
    EXPECT_NEAR(m.deviation, closed, 2e-3); // the tracer's degree constants multiply to 1 - 5e-6
    EXPECT_LE(std::abs(m.deviation), scanBest + 1e-12);
    if (!m.uniform) {
        EXPECT_NEAR(m.incidence, scanAt, 0.02);
    }
    EXPECT_NEAR(m.relativeIndex, n, 1e-4);
    EXPECT_EQ(tracedDeviation(row.apex, row.prism, row.outside, m.incidence), m.deviation);
}

constexpr auto kAngle = EmergenceLimit::Angle;
INSTANTIATE_TEST_SUITE_P(
    Rows, Prisms,
    ::testing::Values(PrismRow{"crown_45_in_air", 45, n589(2), n589(0), kAngle, true},
                      PrismRow{"flint_60_in_air", 60, n589(3), n589(0), kAngle, true},
                      PrismRow{"water_10_in_air", 10, n589(1), n589(0), kAngle, true},
                      PrismRow{"crown_70_in_water", 70, n589(2), n589(1), kAngle, true},
                      PrismRow{"air_45_in_water", 45, n589(0), n589(1), kAngle, true},
                      PrismRow{"dense_2", 2, 2.0, 1.0, kAngle, true},
                      PrismRow{"flint_90_never", 90, n589(3), n589(0), EmergenceLimit::Never, false},
                      PrismRow{"crown_in_crown", 45, n589(2), n589(2), EmergenceLimit::Always, true}),
    RowName());

} // namespace
