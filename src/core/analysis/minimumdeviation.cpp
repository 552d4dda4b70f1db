#include "analysis/minimumdeviation.h"

#include "model/raytracer.h"

#include <cmath>
#include <limits>

namespace vorlac
{

namespace
{

constexpr double kScanStep = 0.25;  // degrees; narrower emergence ranges are not looked for
constexpr double kTolerance = 1e-9; // degrees of incidence
constexpr double kGolden = 0.6180339887498949;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// |D| at one incidence, infinite where the ray does not go straight out.
struct Objective {
    TraceInput in;
    TraceResult result;

    double operator()(double incidence)
    {
        in.incidenceAngle = incidence;
        TraceRay(in, result, false);
        return result.measures.direct ? std::abs(result.measures.deviation) : kInfinity;
    }
};

} // namespace

std::optional<double> tracedDeviation(int apexAngle, double prismIndex, double outsideIndex, double incidence)
{
    const TraceResult r = TraceRay(rayOnlyInput(apexAngle, incidence, prismIndex, outsideIndex));
    if (!r.measures.direct)
        return std::nullopt;
    return r.measures.deviation;
}

MinimumDeviation findMinimumDeviation(int apexAngle, double prismIndex, double outsideIndex)
{
    Objective f;
    f.in = rayOnlyInput(apexAngle, 0.0, prismIndex, outsideIndex);
    f.result.segments.reserve(16);

    // The scan: |D| is unimodal over the range where the ray emerges, so its best sample lies
    // within one step of the extremum.
    const int steps = static_cast<int>(std::lround(180.0 / kScanStep));
    double bestValue = kInfinity;
    double best = 0;
    for (int k = 0; k <= steps; ++k) {
        const double i = -90.0 + k * kScanStep;
        const double v = f(i);
        if (v < bestValue) {
            bestValue = v;
            best = i;
        }
    }
    MinimumDeviation out;
    if (bestValue == kInfinity)
        return out;

    // Golden section over the bracket; samples where the ray stays inside count as infinite,
    // which keeps the function unimodal, and the best finite sample is the answer.
    double a = std::max(-90.0, best - kScanStep);
    double b = std::min(90.0, best + kScanStep);
    double c = b - kGolden * (b - a);
    double d = a + kGolden * (b - a);
    double fc = f(c), fd = f(d);
    auto keep = [&](double i, double v) {
        if (v < bestValue) {
            bestValue = v;
            best = i;
        }
    };
    keep(c, fc);
    keep(d, fd);
    while (b - a > kTolerance) {
        if (fc <= fd) {
            b = d;
            d = c;
            fd = fc;
            c = b - kGolden * (b - a);
            fc = f(c);
            keep(c, fc);
        } else {
            a = c;
            c = d;
            fc = fd;
            d = a + kGolden * (b - a);
            fd = f(d);
            keep(d, fd);
        }
    }

    f(best);
    out.found = true;
    out.uniform = prismIndex == outsideIndex;
    out.incidence = best;
    out.deviation = f.result.measures.deviation;
    const double halfA = apexAngle / 2.0;
    out.relativeIndex = std::sin((apexAngle + out.deviation) / 2.0 * (M_PI / 180.0)) / std::sin(halfA * (M_PI / 180.0));
    return out;
}

} // namespace vorlac
