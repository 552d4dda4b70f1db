#include "render/magnifier.h"

#include "analysis/measuretexts.h"
#include "model/constants.h"
#include "render/platefill.h"
#include "render/rasteriser.h"
#include "render/scenefigure.h"
#include "render/viewtrail.h"

#include <algorithm>
#include <cmath>

namespace vorlac
{

namespace
{

PointD along(PointD from, double degrees, double length)
{
    const double d = degrees * kDegToRad;
    return {from.x + length * std::cos(d), from.y + length * std::sin(d)};
}

// How far from `from` (inside the picture) the beam may be looked at and still lie on it.
double insidePicture(PointD from, double degrees)
{
    const double d = degrees * kDegToRad, ux = std::cos(d), uy = std::sin(d);
    double t = kMagnifierDistance;
    const auto limit = [&t](double p, double u, double high) {
        if (u > 1e-12)
            t = std::min(t, (high - p) / u);
        else if (u < -1e-12)
            t = std::min(t, (1.0 - p) / u);
    };
    limit(from.x, ux, kSceneWidth - 2.0);
    limit(from.y, uy, kSceneHeight - 2.0);
    return std::max(0.0, t);
}

} // namespace

MagnifiedBeam magnifiedBeam(const SceneFigure &figure)
{
    MagnifiedBeam beam;
    beam.wavelength = figure.measuredWavelength;
    const TraceResult &r = figure.measuredRay;
    if (const RayExit &e = figure.measuredExit; e.emerged) {
        beam.emerged = true;
        beam.exitPoint = e.from;
        beam.direction = e.direction;
        beam.distance = insidePicture(e.from, e.direction);
        if (figure.stop) {
            // The rays end on the screen (or at its break): look before it.
            const RayStop &s = figure.stop->stop;
            const PointD d = along({}, e.direction, 1.0);
            const std::optional<Crossing> c = s.broken() ? crossLine(e.from, d, s.breakFrom, {-s.beam.y, s.beam.x})
                                                         : crossLine(e.from, d, s.centre, s.axis);
            if (c && c->t > 0.0)
                beam.distance = std::min(beam.distance, 0.8 * c->t);
        }
        beam.centre = along(e.from, e.direction, beam.distance);
    } else if (r.segments.size() > r.sharedCount) {
        // The light ends inside or goes back: look along the last stretch of its path.
        const Segment &s = r.segments.back();
        beam.exitPoint = {s.x1, s.y1};
        beam.direction = std::atan2(s.y2 - s.y1, s.x2 - s.x1) / kDegToRad;
        beam.distance = insidePicture(beam.exitPoint, beam.direction);
        beam.centre = along(beam.exitPoint, beam.direction, beam.distance);
    }
    return beam;
}

SceneViewport magnifierViewport(const MagnifiedBeam &beam, QSizeF window, double zoom)
{
    SceneViewport v;
    v.zoom = std::clamp(zoom, double(kMagnifierMinZoom), double(kMagnifierMaxZoom));
    const QPointF centre(beam.centre.x, beam.centre.y);
    v.fitOrigin = centre - QPointF(window.width(), window.height()) / 2;
    v.origin = centre - QPointF(window.width(), window.height()) / (2 * v.scale());
    return v;
}

std::optional<double> beamOffset(const SceneFigure &figure, const MagnifiedBeam &beam, double wavelength)
{
    const FigureRay *ray = figure.rayAt(wavelength);
    const RayExit *e = ray ? &ray->exit : wavelength == figure.measuredWavelength ? &figure.measuredExit : nullptr;
    if (!e || !e->emerged || !beam.emerged)
        return std::nullopt;
    const double b = beam.direction * kDegToRad, u = e->direction * kDegToRad;
    const double bx = std::cos(b), by = std::sin(b), ux = std::cos(u), uy = std::sin(u);
    const double across = ux * bx + uy * by;
    if (std::abs(across) < 1e-9)
        return std::nullopt;
    const double t = ((beam.centre.x - e->from.x) * bx + (beam.centre.y - e->from.y) * by) / across;
    const double x = e->from.x + t * ux - beam.centre.x, y = e->from.y + t * uy - beam.centre.y;
    return -x * by + y * bx;
}

std::vector<BeamLabel> magnifierLabels(const SceneFigure &figure, const MagnifiedBeam &beam, const SceneViewport &view,
                                       QSizeF window, const QLocale &locale)
{
    const SceneState &state = figure.state;
    std::vector<BeamLabel> labels;
    if (!beam.emerged || state.source == SourceType::WhiteLight)
        return labels;
    const double b = beam.direction * kDegToRad;
    const QPointF across(-std::sin(b), std::cos(b));
    const QPointF centre = view.toWindow(QPointF(beam.centre.x, beam.centre.y));
    const QRectF shown(QPointF(), window);
    for (const RayMeasures &ray : shownMeasures(state, figure.measures)) {
        const std::optional<double> offset = beamOffset(figure, beam, ray.wavelength);
        if (!offset)
            continue;
        const QPointF at = centre + across * (*offset * view.scale());
        if (!shown.contains(at))
            continue;
        const int rank = hiddenLineNumber(state, ray.wavelength);
        const QString text = rank > 0
                                 ? QStringLiteral("raie %1").arg(rank)
                                 : wavelengthValueText(ray.wavelength, locale, state.source == SourceType::LineLamp) +
                                       QStringLiteral(" nm");
        labels.push_back({text, at, *offset});
    }
    std::sort(labels.begin(), labels.end(), [](const BeamLabel &a, const BeamLabel &c) { return a.offset < c.offset; });
    return labels;
}

void drawMagnifiedScene(const SceneFigure &figure, const SceneViewport &view, double ratio, int rayWidth,
                        QImage &target, ViewTrail *trail)
{
    const quint32 background = figure.state.blackBackground ? 0xff000000u : 0xffffffffu;
    if (trail)
        trail->clear(target, background, 1.0);
    else
        fillImage(target, background);
    const double scale = view.scale() * ratio;
    const int width = std::clamp(int(std::lround(rayWidth * ratio)), 1, 64);
    LineRasteriser raster(target, 1.0);
    raster.setMode(figure.state.blackBackground ? PenMode::Merge : PenMode::Blackness);
    const auto draw = [&](double x1, double y1, double x2, double y2, Rgb colour, bool dashed) {
        std::int64_t ax = roundCoord((x1 - view.origin.x()) * scale), ay = roundCoord((y1 - view.origin.y()) * scale);
        std::int64_t bx = roundCoord((x2 - view.origin.x()) * scale), by = roundCoord((y2 - view.origin.y()) * scale);
        // Centred on the thin line, as the projection's wide rays are.
        const int back = (width - 1) / 2;
        const bool flat = std::abs(bx - ax) >= std::abs(by - ay);
        (flat ? ay : ax) -= back;
        (flat ? by : bx) -= back;
        raster.drawWideLine(ax, ay, bx, by, toQRgb(colour), dashed, width);
        if (trail)
            trail->addRasterLine(ax, ay, bx, by, width);
    };
    for (const Segment &s : figure.primitives)
        draw(s.x1, s.y1, s.x2, s.y2, s.colour, s.dashed);
    for (const FigureRay &r : figure.rays)
        for (std::size_t k = 0; k < r.count; ++k) {
            const Segment &s = figure.segments[r.first + k];
            const PointD end = r.exit.emerged && k == r.exit.segment
                                   ? along(r.exit.from, r.exit.direction, r.exit.length)
                                   : PointD{s.x2, s.y2};
            draw(s.x1, s.y1, end.x, end.y, s.colour, s.dashed);
        }
}

} // namespace vorlac
