#include "spectra/screen.h"

#include "common/regional.h"
#include "model/colour.h"
#include "model/constants.h"
#include "render/anglemarks.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <limits>

namespace vorlac
{

namespace
{

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
    f.beamOrigin = ray->origin;
    f.beam = d;
    f.distancePx = distance;
    return f;
}

namespace
{

// Where a ray leaving origin in direction (degrees, clockwise from +x) lands on the screen.
ScreenHit landRay(const ScreenFrame &frame, PointD origin, double direction)
{
    ScreenHit hit;
    hit.status = ScreenLanding::Misses;
    const std::optional<Crossing> c = crossLine(origin, unit(direction), frame.centre, frame.axis);
    if (!c)
        return hit;
    const double s = c->s; // along the screen, pixels
    const double mm = s * kMmPerScenePixel;
    if (c->t <= 0.0 || std::abs(mm) > frame.halfWidthMm)
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
            marks.push_back({r.wavelength, hit.point, hit.positionMm, r.colour, 1.0});
    }
    return marks;
}

std::vector<ScreenMark> screenMarks(const SceneFigure &figure, const ScreenFrame &frame)
{
    std::vector<ScreenMark> marks;
    const PointD shift = figure.stop ? figure.stop->stop.shift : PointD{};
    for (const FigureRay &r : figure.rays) {
        if (!r.exit.emerged)
            continue;
        const ScreenHit hit = landRay(frame, r.exit.from, r.exit.direction);
        if (hit.status == ScreenLanding::Lands)
            marks.push_back({r.radiation.wavelength,
                             {hit.point.x + shift.x, hit.point.y + shift.y},
                             hit.positionMm,
                             r.radiation.colour,
                             r.brightness});
    }
    return marks;
}

namespace
{

// How far from `from` along the unit vector `beam` stays margin pixels inside the picture.
double roomInPicture(PointD from, PointD beam, double margin)
{
    double t = std::numeric_limits<double>::max();
    const auto limit = [&t](double p, double u, double low, double high) {
        if (u > 1e-12)
            t = std::min(t, (high - p) / u);
        else if (u < -1e-12)
            t = std::min(t, (low - p) / u);
    };
    limit(from.x, beam.x, margin, kSceneWidth - margin);
    limit(from.y, beam.y, margin, kSceneHeight - margin);
    return std::max(0.0, t);
}

PointD along(PointD from, PointD direction, double t)
{
    return {from.x + t * direction.x, from.y + t * direction.y};
}

QPointF qt(PointD p)
{
    return {p.x, p.y};
}

} // namespace

double screenRoomPx(const ScreenFrame &frame)
{
    return roomInPicture(frame.beamOrigin, frame.beam, kScreenMarginPx);
}

RayStop screenStop(const ScreenFrame &frame)
{
    RayStop stop;
    stop.centre = frame.centre;
    stop.axis = frame.axis;
    stop.halfLength = frame.halfWidthMm / kMmPerScenePixel;
    stop.beam = frame.beam;
    stop.origin = frame.beamOrigin;
    const double room = screenRoomPx(frame);
    if (frame.distancePx <= room)
        return stop;
    const double shown = std::max(room, kScreenShortestShownPx);
    const double middle = kScreenBreakAt * shown;
    stop.shift = {(shown - frame.distancePx) * frame.beam.x, (shown - frame.distancePx) * frame.beam.y};
    stop.breakFrom = along(frame.beamOrigin, frame.beam, middle - kScreenBreakGapPx / 2.0);
    stop.breakTo = along(frame.beamOrigin, frame.beam, middle + kScreenBreakGapPx / 2.0);
    return stop;
}

QString screenDistanceText(double distanceMm)
{
    return QStringLiteral("d = %1 mm").arg(regionalLocale().toString(std::lround(distanceMm)));
}

void paintScreenLayer(QPainter &p, const ScreenLayer &layer, bool blackBackground)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QColor line = blackBackground ? QColor(230, 230, 230) : QColor(60, 60, 60);
    const PointD shift = layer.stop ? layer.stop->stop.shift : PointD{};
    const PointD a = layer.frame.end1(), b = layer.frame.end2();
    p.setPen(QPen(line, 3.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(a.x + shift.x, a.y + shift.y), QPointF(b.x + shift.x, b.y + shift.y));
    if (layer.stop && layer.stop->stop.broken()) {
        // The break: a short zigzag line on each side of the gap, across the whole beam.
        const RayStop &stop = layer.stop->stop;
        const PointD across{-stop.beam.y, stop.beam.x};
        const double low = layer.stop->acrossLow - 8.0, high = layer.stop->acrossHigh + 8.0;
        p.setPen(QPen(line, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (const PointD base : {stop.breakFrom, stop.breakTo}) {
            QPolygonF zigzag;
            const int teeth = std::max(2, int(std::ceil((high - low) / 6.0)));
            for (int k = 0; k <= teeth; ++k) {
                const double s = low + (high - low) * k / teeth, wobble = (k % 2 ? 2.0 : -2.0);
                zigzag << qt(along(along(base, across, s), stop.beam, wobble));
            }
            p.drawPolyline(zigzag);
        }
        // The true distance beside the break, before it, clear of the narrow beam there: on the
        // side where it fits, away from the prism.
        const QString text = screenDistanceText(layer.distanceMm);
        QFont font = angleMarkFont();
        font.setBold(false);
        p.setFont(font);
        const QFontMetricsF metrics(font);
        const QSizeF size(metrics.horizontalAdvance(text) + 2.0, metrics.height());
        const double alongHalf = std::abs(stop.beam.x) * size.width() / 2 + std::abs(stop.beam.y) * size.height() / 2;
        const double acrossHalf = std::abs(across.x) * size.width() / 2 + std::abs(across.y) * size.height() / 2;
        const PointD before = along(stop.breakFrom, stop.beam, -alongHalf - 6.0);
        const QRectF picture(0, 0, kSceneWidth, kSceneHeight);
        QRectF best;
        double bestScore = -1e9;
        for (const double side : {layer.stop->beamHigh + 6.0 + acrossHalf, layer.stop->beamLow - 6.0 - acrossHalf}) {
            const PointD c = along(before, across, side);
            const QRectF box(c.x - size.width() / 2.0, c.y - size.height() / 2.0, size.width(), size.height());
            const double score = (picture.contains(box) ? 1e6 : 0.0) + std::hypot(c.x - 304.0, c.y - 125.0);
            if (score > bestScore) {
                bestScore = score;
                best = box;
            }
        }
        p.setPen(line);
        p.drawText(best, Qt::AlignCenter, text);
    }
    // Each landing: a short stroke across the screen in the ray's colour; the dimmed rays last, so
    // that a dark line shows on the screen between its bright neighbours.
    const QPointF across(-layer.frame.axis.y * 5.0, layer.frame.axis.x * 5.0);
    for (const bool dimmed : {false, true}) {
        // White light's rays land a fraction of a pixel apart: one stroke per half pixel is enough.
        QPointF last(-1e9, -1e9);
        for (const ScreenMark &m : layer.marks) {
            if ((m.brightness < kDimmedRay) != dimmed)
                continue;
            if (!dimmed && std::abs(m.point.x - last.x()) + std::abs(m.point.y - last.y()) < 0.5)
                continue;
            last = QPointF(m.point.x, m.point.y);
            p.setPen(
                QPen(QColor(redOf(m.colour), greenOf(m.colour), blueOf(m.colour)), 2.0, Qt::SolidLine, Qt::FlatCap));
            const QPointF at(m.point.x, m.point.y);
            p.drawLine(at - across, at + across);
        }
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
