#include "render/raystop.h"

#include "model/constants.h"
#include "render/scenefigure.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vorlac
{

namespace
{

double cross(PointD a, PointD b)
{
    return a.x * b.y - a.y * b.x;
}

PointD at(PointD from, PointD direction, double t)
{
    return {from.x + t * direction.x, from.y + t * direction.y};
}

PointD plus(PointD a, PointD b)
{
    return {a.x + b.x, a.y + b.y};
}

PointD minus(PointD a, PointD b)
{
    return {a.x - b.x, a.y - b.y};
}

// How one emergent ray is drawn after its exit: up to firstEnd, then (a break) from secondFrom to
// secondTo when second is set.
struct StoppedRay {
    double firstEnd = 0;
    bool second = false;
    PointD secondFrom, secondTo;
    std::optional<PointD> landing;
};

double dot(PointD a, PointD b)
{
    return a.x * b.x + a.y * b.y;
}

PointD unitAt(double degrees)
{
    const double d = degrees * kDegToRad;
    return {std::cos(d), std::sin(d)};
}

// How far along the ray it meets the stop within its length; nothing when it misses.
std::optional<double> landsAt(const RayStop &stop, PointD from, PointD e)
{
    const std::optional<Crossing> hit = crossLine(from, e, stop.centre, stop.axis);
    if (hit && hit->t > 0.0 && std::abs(hit->s) <= stop.halfLength)
        return hit->t;
    return std::nullopt;
}

// The break moved back along the beam until every landing lies kClear beyond it, but no nearer
// the prism than kClear after the beam's origin.
RayStop clearedBreak(const RayStop &stop, const SceneFigure &figure)
{
    constexpr double kClear = 8.0;
    double nearest = std::numeric_limits<double>::max();
    for (const FigureRay &ray : figure.rays) {
        if (!ray.exit.emerged)
            continue;
        const PointD e = unitAt(ray.exit.direction);
        if (const std::optional<double> t = landsAt(stop, ray.exit.from, e))
            nearest =
                std::min(nearest, dot(minus(plus(at(ray.exit.from, e, *t), stop.shift), stop.breakTo), stop.beam));
    }
    const double back = std::min(kClear - nearest, dot(minus(stop.breakFrom, stop.origin), stop.beam) - kClear);
    RayStop moved = stop;
    if (back > 0.0) {
        moved.breakFrom = at(stop.breakFrom, stop.beam, -back);
        moved.breakTo = at(stop.breakTo, stop.beam, -back);
    }
    return moved;
}

std::optional<StoppedRay> stopRay(const RayStop &stop, PointD from, PointD e)
{
    const std::optional<Crossing> hit = crossLine(from, e, stop.centre, stop.axis);
    const bool lands = hit && hit->t > 0.0 && std::abs(hit->s) <= stop.halfLength;
    StoppedRay r;
    if (!stop.broken()) {
        if (!lands)
            return std::nullopt;
        r.firstEnd = hit->t;
        r.landing = at(from, e, hit->t);
        return r;
    }
    // The break's lines, square to the beam; beyond the second, the true ray moved back by shift.
    const PointD across{-stop.beam.y, stop.beam.x};
    const std::optional<Crossing> first = crossLine(from, e, stop.breakFrom, across);
    const std::optional<Crossing> second = crossLine(from, e, minus(stop.breakTo, stop.shift), across);
    if (!first || !second || first->t <= 0.0 || second->t <= first->t)
        return std::nullopt;
    r.firstEnd = first->t;
    r.secondFrom = plus(at(from, e, second->t), stop.shift);
    if (lands) {
        r.landing = plus(at(from, e, hit->t), stop.shift);
        r.second = hit->t > second->t;
        r.secondTo = *r.landing;
    } else {
        r.second = true;
        r.secondTo = plus(at(from, e, second->t + RayExit::kLength), stop.shift);
    }
    return r;
}

} // namespace

std::optional<Crossing> crossLine(PointD origin, PointD direction, PointD centre, PointD axis)
{
    const double denominator = cross(direction, axis);
    if (std::abs(denominator) < 1e-12)
        return std::nullopt;
    const PointD w = minus(centre, origin);
    return Crossing{cross(w, axis) / denominator, cross(w, direction) / denominator};
}

void stopRays(SceneFigure &figure, const RayStop &given)
{
    const RayStop stop = given.broken() ? clearedBreak(given, figure) : given;
    constexpr double kNone = std::numeric_limits<double>::max();
    FigureStop drawn{stop, kNone, -kNone, kNone, -kNone};
    const PointD across{-stop.beam.y, stop.beam.x};
    std::vector<Segment> segments;
    segments.reserve(figure.segments.size() + figure.rays.size());
    for (FigureRay &ray : figure.rays) {
        const Segment *own = figure.segments.data() + ray.first;
        const std::size_t count = ray.count;
        ray.first = segments.size();
        ray.landing.reset();
        std::optional<StoppedRay> stopped;
        PointD e;
        if (ray.exit.emerged) {
            e = unitAt(ray.exit.direction);
            stopped = stopRay(stop, ray.exit.from, e);
        }
        if (!stopped) {
            segments.insert(segments.end(), own, own + count);
            continue;
        }
        ray.exit.length = stopped->firstEnd;
        ray.landing = stopped->landing;
        for (std::size_t k = 0; k < count; ++k) {
            Segment s = own[k];
            if (k == ray.exit.segment) {
                const PointD end = at(ray.exit.from, e, stopped->firstEnd);
                s.x2 = end.x;
                s.y2 = end.y;
                segments.push_back(s);
                if (stopped->second) {
                    segments.push_back({stopped->secondFrom.x, stopped->secondFrom.y, stopped->secondTo.x,
                                        stopped->secondTo.y, s.colour, false});
                    const double before = dot(minus(end, stop.breakFrom), across);
                    const double after = dot(minus(stopped->secondFrom, stop.breakTo), across);
                    drawn.beamLow = std::min(drawn.beamLow, before);
                    drawn.beamHigh = std::max(drawn.beamHigh, before);
                    drawn.acrossLow = std::min({drawn.acrossLow, before, after});
                    drawn.acrossHigh = std::max({drawn.acrossHigh, before, after});
                }
                continue;
            }
            // The propagation arrow sits on the emergent line: gone once its tip is past the end.
            const bool arrow = k > ray.exit.segment && !s.dashed;
            if (arrow && (s.x1 - ray.exit.from.x) * e.x + (s.y1 - ray.exit.from.y) * e.y > stopped->firstEnd)
                continue;
            segments.push_back(s);
        }
        ray.count = segments.size() - ray.first;
    }
    figure.segments = std::move(segments);
    if (drawn.acrossLow > drawn.acrossHigh)
        drawn.acrossLow = drawn.acrossHigh = drawn.beamLow = drawn.beamHigh = 0.0;
    figure.stop = drawn;
}

} // namespace vorlac
