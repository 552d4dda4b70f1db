#include "model/materials.h"
#include "model/raytracer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

using namespace vorlac;

namespace
{

double index589(int material)
{
    return CauchyIndex(kMaterials[material].cauchyA, kMaterials[material].cauchyB, 589);
}

TraceInput input(int apex, double incidence, double prism, double outside)
{
    return rayOnlyInput(apex, incidence, prism, outside);
}

// The ray's own segments, without the outline.
std::vector<Segment> raySegments(const TraceInput &in)
{
    TraceResult r;
    TraceRay(in, r, false);
    return r.segments;
}

TEST(TraceLayout, DefaultPrism)
{
    const TraceResult r = TraceRay(input(45, 36, index589(2), index589(0)));
    EXPECT_EQ(r.layout.halfBase, 83);
    EXPECT_EQ(r.layout.baseLeftX, 221);
    EXPECT_EQ(r.layout.baseRightX, 387);
    EXPECT_EQ(r.layout.incidencePointX, 262); // 262.5 to the even 262
    EXPECT_DOUBLE_EQ(r.layout.line1End.x, 262);
    EXPECT_DOUBLE_EQ(r.layout.line1End.y, 125);
    EXPECT_DOUBLE_EQ(r.layout.lampTopLeft.x, r.layout.line1Start.x - 16);
    EXPECT_DOUBLE_EQ(r.layout.lampTopLeft.y, r.layout.line1Start.y - 16);
    // outline: apex to right corner, apex to left corner, base
    ASSERT_GE(r.sharedCount, 3u);
    EXPECT_EQ(r.segments[0], (Segment{304, 25, 387, 225, palette::LightGrey, false}));
    EXPECT_EQ(r.segments[1], (Segment{304, 25, 221, 225, palette::LightGrey, false}));
    EXPECT_EQ(r.segments[2], (Segment{387, 225, 221, 225, palette::LightGrey, false}));
}

// The worked traces: apex, incidence, prism and outside index, expected first inside point,
// expected reflections, the face the ray leaves by and its emergent direction.
struct WorkedRow {
    const char *name;
    int apex;
    double incidence;
    double prism, outside;
    double firstX, firstY;
    int reflections;
    TraceFace leaves;
    double direction;
    double directionTolerance;
};

void PrintTo(const WorkedRow &r, std::ostream *os)
{
    *os << r.name;
}

class WorkedTraces : public ::testing::TestWithParam<WorkedRow>
{
};

TEST_P(WorkedTraces, FollowThePath)
{
    const WorkedRow w = GetParam();
    TraceResult r;
    TraceRay(input(w.apex, w.incidence, w.prism, w.outside), r, false);
    ASSERT_EQ(r.end, TraceEnd::Emerged);
    ASSERT_FALSE(r.segments.empty());
    EXPECT_NEAR(r.segments[0].x2, w.firstX, 1.0);
    EXPECT_NEAR(r.segments[0].y2, w.firstY, 1.0);
    EXPECT_EQ(r.reflections, w.reflections);
    EXPECT_EQ(r.lastFace, w.leaves);
    EXPECT_NEAR(r.emergentDirection, w.direction, w.directionTolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WorkedTraces,
    ::testing::Values(
        // Crosses to the exit face and leaves downwards to the right.
        WorkedRow{"Default", 45, 36, index589(2), index589(0), 345.3, 124.3, 0, TraceFace::Exit, 11.9, 0.1},
        WorkedRow{"Apex60", 60, 36, 1.5, 1.0, 370, 140, 0, TraceFace::Exit, 34.3, 0.05},
        WorkedRow{"FlintBaseReflection", 80, 0, index589(3), index589(0), 339, 225, 1, TraceFace::Exit, -40, 0.5},
        WorkedRow{"FlintThroughBase", 80, -30, index589(3), index589(0), 283, 225, 0, TraceFace::Base, 30, 0.5}),
    [](const auto &row) { return std::string(row.param.name); });

TEST(WorkedTraces, FlintReflectedAtTheBaseMeetsTheExitFace)
{
    const auto segs = raySegments(input(80, 0, index589(3), index589(0)));
    ASSERT_EQ(segs.size(), 3u);
    EXPECT_NEAR(segs[1].x2, 417, 1.0);
    EXPECT_NEAR(segs[1].y2, 160, 1.0);
}

TEST(WorkedTraces, DefaultEmergesDownwardsToTheRight)
{
    const auto segs = raySegments(input(45, 36, index589(2), index589(0)));
    ASSERT_EQ(segs.size(), 2u);
    EXPECT_GT(segs[1].x2, segs[1].x1);
    EXPECT_GT(segs[1].y2, segs[1].y1);
    // the end point is 400 pixels away, rounded to whole pixels
    EXPECT_EQ(segs[1].x2, std::nearbyint(segs[1].x2));
    EXPECT_NEAR(std::hypot(segs[1].x2 - segs[1].x1, segs[1].y2 - segs[1].y1), 400, 1.0);
}

TEST(Entry, AirPrismInWaterReflectsAtTheEntryFace)
{
    TraceInput in = input(45, 80, index589(0), index589(1));
    in.showPropagation = true;
    TraceResult r;
    TraceRay(in, r, false);
    EXPECT_EQ(r.end, TraceEnd::ReflectedAtEntry);
    ASSERT_EQ(r.segments.size(), 3u); // the reflected ray and its arrow head
    const Segment &s = r.segments[0];
    EXPECT_EQ(s.x1, 262);
    EXPECT_EQ(s.y1, 125);
    EXPECT_NEAR(std::hypot(s.x2 - s.x1, s.y2 - s.y1), 350, 1e-9);
    // mirrored about the entry normal (outward at 157.5 degrees, y up): leaves at 77.5 degrees
    EXPECT_NEAR(s.x2, 262 + 350 * std::cos(77.5 * 0.0174532), 1e-6);
    EXPECT_NEAR(s.y2, 125 - 350 * std::sin(77.5 * 0.0174532), 1e-6);
}

struct ClampRow {
    int apex;
    double requested, stored;
};

void PrintTo(const ClampRow &r, std::ostream *os)
{
    *os << "A=" << r.apex << " i=" << r.requested;
}

class Clamping : public ::testing::TestWithParam<ClampRow>
{
};

TEST_P(Clamping, StoresTheClampedIncidence)
{
    const ClampRow c = GetParam();
    const TraceResult r = TraceRay(input(c.apex, c.requested, 1.5, 1.0));
    EXPECT_DOUBLE_EQ(r.layout.incidenceAngle, c.stored);
}

INSTANTIATE_TEST_SUITE_P(Rows, Clamping,
                         ::testing::Values(ClampRow{45, 120, 90}, ClampRow{60, -150, -120}, ClampRow{60, 90, 90},
                                           ClampRow{60, -120, -120}, ClampRow{2, -95, -91}, ClampRow{45, 36, 36}));

TEST(Lamp, NeverCloserThan100)
{
    for (int apex = 2; apex <= 90; apex += 4) {
        for (double inc = -(apex / 2.0) - 90; inc <= 90; inc += 2.5) {
            const TraceLayout l = TraceRay(input(apex, inc, 1.5, 1.0)).layout;
            const double r = std::hypot(l.line1Start.x - l.line1End.x, l.line1Start.y - l.line1End.y);
            ASSERT_GE(r, 100 - 1e-9) << apex << " " << inc;
            // it only comes closer when its image would stick out above the picture
            if (r > 100 + 1e-9 && r < l.line1End.x - 50 - 1e-9) {
                ASSERT_GE(std::nearbyint(l.line1Start.y - 10), 0);
            }
        }
    }
    // straight above M the lamp stops at 111 and its image reaches above the top
    const TraceLayout l = TraceRay(input(60, -60, 1.5, 1.0)).layout;
    EXPECT_NEAR(l.line1End.y - l.line1Start.y, 111, 1e-3);
    EXPECT_LT(l.lampTopLeft.y, 0);
}

// A result reused for the next ray holds nothing of the previous one.
TEST(Trace, ReusedResultIsTheSameAsAFreshOne)
{
    const TraceInput trapped = input(90, 0, 2.4, 1.0);                    // reflects inside, leaves late
    const TraceInput reflected = input(45, 80, index589(0), index589(1)); // water outside air
    for (const TraceInput &second : {reflected, input(45, 36, index589(2), index589(0))}) {
        TraceResult reused;
        TraceRay(trapped, reused, true);
        ASSERT_GT(reused.reflections, 0);
        ASSERT_NE(reused.lastFace, TraceFace::Entry);
        TraceRay(second, reused, true);
        const TraceResult fresh = TraceRay(second);
        EXPECT_EQ(reused.end, fresh.end);
        EXPECT_EQ(reused.lastFace, fresh.lastFace);
        EXPECT_EQ(reused.reflections, fresh.reflections);
        EXPECT_EQ(reused.emergentDirection, fresh.emergentDirection);
        EXPECT_EQ(reused.sharedCount, fresh.sharedCount);
        EXPECT_EQ(reused.segments, fresh.segments);
    }
    TraceResult r;
    TraceRay(trapped, r, true);
    TraceRay(reflected, r, true);
    EXPECT_EQ(r.end, TraceEnd::ReflectedAtEntry);
    EXPECT_EQ(r.lastFace, TraceFace::Entry);
    EXPECT_EQ(r.reflections, 0);
}

TEST(Trace, SameMaterialInsideAndOutsideIsUndeviated)
{
    const double n = index589(2);
    const TraceResult r = TraceRay(input(45, 36, n, n));
    ASSERT_EQ(r.end, TraceEnd::Emerged);
    // incident direction, screen convention: theta + 180 in the lamp convention
    const double incident = -(180 - 22.5 + 36 + 180);
    double d = std::remainder(r.emergentDirection - incident, 360.0);
    EXPECT_NEAR(d, 0, 1e-3);
}

TEST(Trace, TrappedRayEndsAtTheSegmentLimit)
{
    // An extreme index ratio keeps the ray totally reflected for ever.
    TraceInput in = input(52, 50, 50.0, 1.0);
    in.showNormals = true;
    in.showPropagation = true;
    TraceResult r;
    TraceRay(in, r, true);
    EXPECT_EQ(r.end, TraceEnd::SegmentLimit);
    EXPECT_LE(r.segments.size(), static_cast<std::size_t>(kMaxTraceSegments) + 8);
}

TEST(Trace, GrazingEntryCountsAsRefraction)
{
    // s1 = 1 exactly: the refracted angle is 90, no division by zero.
    TraceInput in = input(60, 90, 1.0, 1.0);
    TraceResult r;
    TraceRay(in, r, false);
    EXPECT_NE(r.end, TraceEnd::ReflectedAtEntry);
    for (const Segment &s : r.segments)
        ASSERT_TRUE(std::isfinite(s.x1) && std::isfinite(s.y2));
}

struct ArrowRow {
    const char *name;
    int x1, y1, x2, y2;
    double tipX, tipY;
};

void PrintTo(const ArrowRow &r, std::ostream *os)
{
    *os << r.name;
}

class ArrowHeads : public ::testing::TestWithParam<ArrowRow>
{
};

TEST_P(ArrowHeads, PointAlongTheTravel)
{
    const ArrowRow a = GetParam();
    std::vector<Segment> out;
    DrawPropagationArrow(a.x1, a.y1, a.x2, a.y2, 0.5, palette::Red, out);
    ASSERT_EQ(out.size(), 2u);
    for (const Segment &s : out) {
        EXPECT_NEAR(s.x1, a.tipX, 1e-6);
        EXPECT_NEAR(s.y1, a.tipY, 1e-6);
        EXPECT_EQ(s.colour, palette::Red);
    }
    // the wings lie 5 pixels either side of the ray, on the point at fraction f
    const double px = std::nearbyint(a.x1 + (a.x2 - a.x1) * 0.5), py = std::nearbyint(a.y1 + (a.y2 - a.y1) * 0.5);
    EXPECT_NEAR(std::hypot(out[0].x2 - px, out[0].y2 - py), 5, 1e-4);
    EXPECT_NEAR(std::hypot(out[1].x2 - px, out[1].y2 - py), 5, 1e-4);
    EXPECT_NEAR((out[0].x2 + out[1].x2) / 2, px, 1e-4);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ArrowHeads,
    ::testing::Values(ArrowRow{"Down", 100, 100, 100, 200, 100, 160}, ArrowRow{"Up", 100, 200, 100, 100, 100, 140},
                      ArrowRow{"Right", 100, 100, 200, 100, 160, 100}, ArrowRow{"Left", 200, 100, 100, 100, 140, 100},
                      ArrowRow{"Diagonal", 0, 0, 100, 100, 50 + 10 / std::sqrt(2.0), 50 + 10 / std::sqrt(2.0)}),
    [](const auto &row) { return std::string(row.param.name); });

TEST(IntersectLines, ParallelLinesGiveTheOrigin)
{
    const PointD p = IntersectLines(2, 1, 2, 5);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
    const PointD q = IntersectLines(1, 0, -1, 10);
    EXPECT_DOUBLE_EQ(q.x, 5);
    EXPECT_DOUBLE_EQ(q.y, 5);
}

// Independent check: every vertex of the traced path obeys the laws of reflection and
// refraction written with vectors, against the faces' normals computed with exact trigonometry.
struct Vec {
    double x, y;
};
double dot(Vec a, Vec b)
{
    return a.x * b.x + a.y * b.y;
}
double cross(Vec a, Vec b)
{
    return a.x * b.y - a.y * b.x;
}
Vec unit(double x, double y)
{
    const double l = std::hypot(x, y);
    return {x / l, y / l};
}
Vec direction(double degrees)
{
    const double r = degrees * std::numbers::pi / 180;
    return {std::cos(r), std::sin(r)};
}

TEST(SnellVectorForm, RandomPrismsIncidencesAndIndices)
{
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> apexDist(2, 90);
    std::uniform_real_distribution<double> incDist(-89.5, 89.5);
    std::uniform_real_distribution<double> nDist(1.0, 2.0);
    // 0.0174532 differs from pi/180 by 5e-6 relative; directions carry that error.
    constexpr double tol = 2e-4;
    int emerged = 0, reflections = 0;
    for (int iter = 0; iter < 4000; ++iter) {
        const int apex = apexDist(rng);
        const double inc = incDist(rng);
        const double np = nDist(rng), no = nDist(rng);
        TraceResult r;
        TraceRay(input(apex, inc, np, no), r, false);
        SCOPED_TRACE(testing::Message() << "A=" << apex << " i=" << inc << " np=" << np << " no=" << no);
        const double halfA = apex / 2.0;
        const Vec nExit = direction(-halfA), nBase = direction(90), nEntry = direction(180 + halfA);
        const Vec m{r.layout.line1End.x, r.layout.line1End.y};
        const Vec incident = unit(m.x - r.layout.line1Start.x, m.y - r.layout.line1Start.y);
        if (r.end == TraceEnd::ReflectedAtEntry) {
            ASSERT_GT(no * std::abs(cross(incident, nEntry)), np);
            continue;
        }
        if (r.end != TraceEnd::Emerged)
            continue;
        ASSERT_FALSE(r.segments.empty());
        // entry refraction
        const Vec first = unit(r.segments[0].x2 - r.segments[0].x1, r.segments[0].y2 - r.segments[0].y1);
        ASSERT_NEAR(no * cross(incident, nEntry), np * cross(first, nEntry), tol);
        ASSERT_LT(dot(first, nEntry), 0); // goes into the prism
        // which face a vertex lies on: the nearest of the three face lines
        auto faceAt = [&](Vec p) {
            const double a = std::tan((90 - halfA) * std::numbers::pi / 180);
            const double dExit = std::abs(a * (p.x - r.layout.baseRightX) - (p.y - 225)) / std::hypot(a, 1);
            const double dEntry = std::abs(-a * (p.x - r.layout.baseLeftX) - (p.y - 225)) / std::hypot(a, 1);
            const double dBase = std::abs(p.y - 225);
            if (dBase <= dExit && dBase <= dEntry)
                return nBase;
            return dExit <= dEntry ? nExit : nEntry;
        };
        Vec u = first;
        for (std::size_t i = 1; i < r.segments.size(); ++i) {
            const Segment &s = r.segments[i];
            const Vec n = faceAt({s.x1, s.y1});
            const bool last = i + 1 == r.segments.size();
            if (!last) {
                const Vec v = unit(s.x2 - s.x1, s.y2 - s.y1);
                const double k = 2 * dot(u, n);
                ASSERT_NEAR(v.x, u.x - k * n.x, tol) << "reflection " << i;
                ASSERT_NEAR(v.y, u.y - k * n.y, tol) << "reflection " << i;
                ASSERT_GE(np * std::abs(cross(u, n)), no * (1 - 1e-6)); // total reflection was due
                ++reflections;
                u = v;
            } else {
                const Vec v = direction(r.emergentDirection);
                ASSERT_NEAR(np * cross(u, n), no * cross(v, n), tol) << "emergence";
                ASSERT_GE(dot(v, n), -1e-9); // leaves the prism
                ++emerged;
            }
        }
    }
    // the sample must exercise both laws
    EXPECT_GT(emerged, 1000);
    EXPECT_GT(reflections, 100);
}

} // namespace
