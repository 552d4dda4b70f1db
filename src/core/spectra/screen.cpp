#include "spectra/screen.h"

#include "model/colour.h"
#include "model/constants.h"

#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace vorlac
{

namespace
{

double cross(PointD a, PointD b)
{
    return a.x * b.y - a.y * b.x;
}

PointD unit(double degrees)
{
    // The tracer's own constant, so that the ray is the one it draws.
    const double r = degrees * kDegToRad;
    return {std::cos(r), std::sin(r)};
}

// The ray alone: no arrows or normals after it, so its line is the trace's last.
void traceAlone(const SceneState &state, double wavelength, TraceResult &out)
{
    TraceInput in = traceInputFor(state, {wavelength, palette::White});
    in.showNormals = false;
    in.showPropagation = false;
    TraceRay(in, out, false);
}

} // namespace

PointD ScreenFrame::end1() const
{
    const double h = halfWidthMm / kMmPerScenePixel;
    return {centre.x - h * axis.x, centre.y - h * axis.y};
}

PointD ScreenFrame::end2() const
{
    const double h = halfWidthMm / kMmPerScenePixel;
    return {centre.x + h * axis.x, centre.y + h * axis.y};
}

std::optional<EmergentRay> emergentRay(const TraceResult &trace)
{
    if (trace.end != TraceEnd::Emerged)
        return std::nullopt;
    // The emergent line is 400 pixels long; arrow strokes and normals that may follow it are
    // short or dashed.
    for (auto it = trace.segments.rbegin(); it != trace.segments.rend(); ++it) {
        if (it->dashed || std::hypot(it->x2 - it->x1, it->y2 - it->y1) < 200.0)
            continue;
        return EmergentRay{{it->x1, it->y1}, trace.emergentDirection};
    }
    return std::nullopt;
}

std::optional<ScreenFrame> screenFrame(const SceneState &state, const ScreenPlacement &placement)
{
    TraceResult trace;
    std::optional<EmergentRay> ray;
    for (int k = 0; !ray && k <= kMaxWavelength - kMinWavelength; ++k) {
        for (const double lambda : {kScreenReferenceWavelength - k, kScreenReferenceWavelength + k}) {
            if (ray || lambda < kMinWavelength || lambda > kMaxWavelength)
                continue;
            traceAlone(state, lambda, trace);
            ray = emergentRay(trace);
        }
    }
    if (!ray)
        return std::nullopt;
    const double distance =
        std::clamp(placement.distanceMm, kScreenMinDistanceMm, kScreenMaxDistanceMm) / kMmPerScenePixel;
    const double turn = std::clamp(placement.turnDegrees, -kScreenMaxTurnDegrees, kScreenMaxTurnDegrees);
    const PointD d = unit(ray->direction);
    ScreenFrame f;
    f.centre = {ray->origin.x + distance * d.x, ray->origin.y + distance * d.y};
    // A quarter turn anticlockwise from the ray as drawn (y downwards), then the user's turn.
    f.axis = unit(ray->direction - 90.0 - turn);
    f.halfWidthMm = std::max(placement.widthMm, 1.0) / 2.0;
    return f;
}

namespace
{

// Where a ray leaving origin in direction (degrees, clockwise from +x) lands on the screen.
ScreenHit landRay(const ScreenFrame &frame, PointD origin, double direction)
{
    ScreenHit hit;
    hit.status = ScreenLanding::Misses;
    const PointD e = unit(direction);
    const double denominator = cross(e, frame.axis);
    if (std::abs(denominator) < 1e-12)
        return hit;
    const PointD w{frame.centre.x - origin.x, frame.centre.y - origin.y};
    const double t = cross(w, frame.axis) / denominator; // along the ray
    const double s = cross(w, e) / denominator;          // along the screen, pixels
    const double mm = s * kMmPerScenePixel;
    if (t <= 0.0 || std::abs(mm) > frame.halfWidthMm)
        return hit;
    hit.status = ScreenLanding::Lands;
    hit.positionMm = mm;
    hit.point = {frame.centre.x + s * frame.axis.x, frame.centre.y + s * frame.axis.y};
    return hit;
}

} // namespace

ScreenHit screenHit(const ScreenFrame &frame, const TraceResult &trace)
{
    const std::optional<EmergentRay> ray = emergentRay(trace);
    if (!ray)
        return {};
    return landRay(frame, ray->origin, ray->direction);
}

ScreenHit screenHitAt(const SceneState &state, const ScreenFrame &frame, double wavelength)
{
    TraceResult trace;
    traceAlone(state, wavelength, trace);
    return screenHit(frame, trace);
}

std::vector<ScreenMark> screenMarks(const SceneState &state, const ScreenFrame &frame,
                                    const std::vector<Radiation> &rays)
{
    std::vector<ScreenMark> marks;
    TraceResult trace;
    for (const Radiation &r : rays) {
        traceAlone(state, r.wavelength, trace);
        const ScreenHit hit = screenHit(frame, trace);
        if (hit.status == ScreenLanding::Lands)
            marks.push_back({r.wavelength, hit.point, hit.positionMm, r.colour});
    }
    return marks;
}

std::vector<ScreenMark> screenMarks(const SceneFigure &figure, const ScreenFrame &frame)
{
    std::vector<ScreenMark> marks;
    for (const FigureRay &r : figure.rays) {
        if (!r.exit.emerged)
            continue;
        const ScreenHit hit = landRay(frame, r.exit.from, r.exit.direction);
        if (hit.status == ScreenLanding::Lands)
            marks.push_back({r.radiation.wavelength, hit.point, hit.positionMm, r.radiation.colour});
    }
    return marks;
}

void paintScreenLayer(QPainter &p, const ScreenLayer &layer, bool blackBackground)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QColor line = blackBackground ? QColor(230, 230, 230) : QColor(60, 60, 60);
    const PointD a = layer.frame.end1(), b = layer.frame.end2();
    p.setPen(QPen(line, 3.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(a.x, a.y), QPointF(b.x, b.y));
    // Each landing: a short stroke across the screen in the ray's colour.
    const QPointF across(-layer.frame.axis.y * 5.0, layer.frame.axis.x * 5.0);
    for (const ScreenMark &m : layer.marks) {
        p.setPen(QPen(QColor(redOf(m.colour), greenOf(m.colour), blueOf(m.colour)), 2.0, Qt::SolidLine, Qt::FlatCap));
        const QPointF at(m.point.x, m.point.y);
        p.drawLine(at - across, at + across);
    }
    p.restore();
}

ScreenDispersion::ScreenDispersion(const SceneState &state, const ScreenFrame &frame)
{
    const int count = int(std::lround((kMaxWavelength - kMinWavelength) / kStep)) + 1;
    std::vector<Sample> run, best;
    int direction = 0; // of the current run: +1 increasing, -1 decreasing
    TraceResult trace;
    trace.segments.reserve(16);
    auto close = [&] {
        if (run.size() > best.size())
            best = run;
        run.clear();
        direction = 0;
    };
    for (int k = 0; k < count; ++k) {
        const double lambda = kMinWavelength + k * kStep;
        traceAlone(state, lambda, trace);
        const ScreenHit hit = screenHit(frame, trace);
        if (hit.status != ScreenLanding::Lands) {
            close();
            continue;
        }
        if (!run.empty()) {
            const double change = hit.positionMm - run.back().positionMm;
            const int d = change > 0 ? 1 : change < 0 ? -1 : 0;
            if (d == 0 || (direction != 0 && d != direction)) {
                const Sample last = run.back();
                close();
                run.push_back(last);
            }
            direction = d;
        }
        run.push_back({lambda, hit.positionMm});
    }
    close();
    m_samples = std::move(best);
    m_increasing = m_samples.size() < 2 || m_samples.back().positionMm > m_samples.front().positionMm;
}

double ScreenDispersion::shortestWavelength() const
{
    return m_samples.empty() ? 0.0 : m_samples.front().wavelength;
}

double ScreenDispersion::longestWavelength() const
{
    return m_samples.empty() ? 0.0 : m_samples.back().wavelength;
}

double ScreenDispersion::lowestPosition() const
{
    if (m_samples.empty())
        return 0.0;
    return m_increasing ? m_samples.front().positionMm : m_samples.back().positionMm;
}

double ScreenDispersion::highestPosition() const
{
    if (m_samples.empty())
        return 0.0;
    return m_increasing ? m_samples.back().positionMm : m_samples.front().positionMm;
}

std::optional<double> ScreenDispersion::position(double wavelength) const
{
    if (empty() || wavelength < shortestWavelength() || wavelength > longestWavelength())
        return std::nullopt;
    auto it = std::lower_bound(m_samples.begin(), m_samples.end(), wavelength,
                               [](const Sample &s, double l) { return s.wavelength < l; });
    if (it == m_samples.begin())
        return it->positionMm;
    const Sample &b = *it, &a = *(it - 1);
    const double f = (wavelength - a.wavelength) / (b.wavelength - a.wavelength);
    return a.positionMm + f * (b.positionMm - a.positionMm);
}

std::optional<double> ScreenDispersion::wavelengthAt(double positionMm) const
{
    if (empty() || positionMm < lowestPosition() || positionMm > highestPosition())
        return std::nullopt;
    // Bisection over the samples for the interval holding the position, then interpolation.
    std::size_t lo = 0, hi = m_samples.size() - 1;
    while (hi - lo > 1) {
        const std::size_t mid = (lo + hi) / 2;
        const bool below = (m_samples[mid].positionMm < positionMm) == m_increasing;
        (below ? lo : hi) = mid;
    }
    const Sample &a = m_samples[lo], &b = m_samples[hi];
    const double f = (positionMm - a.positionMm) / (b.positionMm - a.positionMm);
    return a.wavelength + f * (b.wavelength - a.wavelength);
}

double ScreenDispersion::slope(double wavelength) const
{
    if (empty())
        return 0.0;
    auto it = std::lower_bound(m_samples.begin(), m_samples.end(), wavelength,
                               [](const Sample &s, double l) { return s.wavelength < l; });
    if (it == m_samples.begin())
        ++it;
    if (it == m_samples.end())
        --it;
    const Sample &b = *it, &a = *(it - 1);
    return (b.positionMm - a.positionMm) / (b.wavelength - a.wavelength);
}

} // namespace vorlac
