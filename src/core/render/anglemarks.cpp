#include "render/anglemarks.h"

#include "analysis/measuretexts.h"
#include "common/segmentclip.h"
#include "model/constants.h"
#include "model/linelamps.h"
#include "render/glyphline.h"
#include "render/platefill.h"
#include "render/scenefigure.h"
#include "render/scenerenderer.h"
#include "render/viewtrail.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <span>

namespace vorlac
{

namespace
{

constexpr double kArcRadius = 30;
constexpr double kDeviationRadius = 42;
constexpr double kGuideLength = 48;
const QRectF kPicture(0, 0, kSceneWidth, kSceneHeight);
const QRectF kInside = kPicture.adjusted(1, 1, -1, -1); // where a label lies whole

QPointF unit(QPointF v)
{
    const double l = std::hypot(v.x(), v.y());
    return l > 0 ? v / l : QPointF(1, 0);
}

// Direction of v in degrees, anticlockwise with y upwards.
double direction(QPointF v)
{
    return std::atan2(-v.y(), v.x()) * 180.0 / std::numbers::pi;
}

QPointF along(double degrees)
{
    const double r = degrees * std::numbers::pi / 180.0;
    return {std::cos(r), -std::sin(r)};
}

// The arc from direction a to direction b the short way round.
void setArc(AngleMark &m, QPointF vertex, double radius, QPointF a, QPointF b)
{
    m.vertex = vertex;
    m.radius = radius;
    m.startAngle = direction(a);
    double span = direction(b) - m.startAngle;
    while (span > 180)
        span -= 360;
    while (span <= -180)
        span += 360;
    m.spanAngle = span;
}

// The arc as short lines, for keeping labels off it.
void arcLines(const AngleMark &m, std::vector<QLineF> &out)
{
    if (!m.hasArc)
        return;
    const int steps = std::max(2, static_cast<int>(std::abs(m.spanAngle) / 10) + 1);
    // Each step turns the radius by the same angle (a sine and cosine cost more than the test).
    const QPointF turn = along(m.spanAngle / steps);
    QPointF u = along(m.startAngle);
    QPointF prev = m.vertex + u * m.radius;
    for (int k = 1; k <= steps; ++k) {
        u = QPointF(u.x() * turn.x() - u.y() * turn.y(), u.y() * turn.x() + u.x() * turn.y());
        const QPointF next = m.vertex + u * m.radius;
        out.emplace_back(prev, next);
        prev = next;
    }
}

// Which side of the prism a label must stay on: r by the entry face, r' by the exit face.
struct FaceSide {
    // A face as an infinite line: the distance of p from it is |n.p + c|, n its unit normal.
    struct Line {
        QPointF n;
        double c;
        explicit Line(const QLineF &f)
            : n(QPointF(-f.dy(), f.dx()) / std::hypot(f.dx(), f.dy())), c(-QPointF::dotProduct(n, f.p1()))
        {
        }
        double distance(QPointF p) const { return std::abs(QPointF::dotProduct(n, p) + c); }
    };
    Line own, other;
    FaceSide(const QLineF &ownFace, const QLineF &otherFace) : own(ownFace), other(otherFace) {}
    bool beside(QPointF p) const { return own.distance(p) <= other.distance(p); }
};

// A label's candidate places, cheapest first: 27 distances out from the arc, 6 pixels apart, and 24
// turns of 15° about its middle. A turn costs 0.8 pixel a degree; among equal costs the nearer and
// then the more clockwise comes first. The order is the same for every mark.
constexpr int kTurns = 24;

// Degrees from the arc's middle of the k-th turn.
constexpr int turnOf(int k)
{
    return -180 + 15 * k;
}

// along(turnOf(k)) for each turn.
const std::array<QPointF, kTurns> &turnDirections()
{
    static const std::array<QPointF, kTurns> directions = [] {
        std::array<QPointF, kTurns> d;
        for (int k = 0; k < kTurns; ++k)
            d[std::size_t(k)] = along(turnOf(k));
        return d;
    }();
    return directions;
}

struct PlaceStep {
    int step;      // distance out: 6 pixels a step
    int turnIndex; // turnOf(turnIndex) degrees from the arc's middle
};

std::span<const PlaceStep> placeOrder()
{
    static const std::vector<PlaceStep> order = [] {
        std::vector<PlaceStep> o;
        for (int k = 0; k < kTurns; ++k)
            for (int step = 0; step < 27; ++step)
                o.push_back({step, k});
        const auto cost = [](const PlaceStep &c) { return 6.0 * c.step + std::abs(turnOf(c.turnIndex)) * 0.8; };
        const auto rank = [](const PlaceStep &c) { return c.step * kTurns + c.turnIndex; };
        std::sort(o.begin(), o.end(), [&](const PlaceStep &a, const PlaceStep &b) {
            return cost(a) != cost(b) ? cost(a) < cost(b) : rank(a) < rank(b);
        });
        return o;
    }();
    return order;
}

struct Placer {
    std::vector<QLineF> lines;   // rays, outline, guides, arcs
    std::vector<QRectF> boxes;   // the lamp and the labels placed so far
    std::vector<QLineF> leaders; // of the labels placed so far

    bool clear(const QRectF &r, const QLineF &leader, const std::vector<QLineF> &near, bool ofLines) const
    {
        if (!kInside.contains(r))
            return false;
        const QRectF wide = r.adjusted(-3, -3, 3, 3);
        for (const QRectF &b : boxes)
            if (wide.intersects(b) || (!leader.isNull() && segmentMeetsRect(leader, b)))
                return false;
        for (const QLineF &l : leaders)
            if (segmentMeetsRect(l, wide))
                return false;
        if (ofLines) {
            const QRectF around = r.adjusted(-2, -2, 2, 2);
            for (const QLineF &l : near)
                if (segmentMeetsRect(l, around))
                    return false;
        }
        return true;
    }

    // The leader from the arc to a label away from it; null when the label is beside it.
    static QLineF leaderTo(QPointF anchor, const QRectF &r)
    {
        const QPointF near(std::clamp(anchor.x(), r.left(), r.right()), std::clamp(anchor.y(), r.top(), r.bottom()));
        return QLineF(anchor, near).length() > 14 ? QLineF(anchor, near) : QLineF();
    }

    // Around the arc's middle first, further out and further round when that is taken.
    QRectF place(const AngleMark &m, QSizeF size, QPointF anchor, const FaceSide *side) const
    {
        const double middle = m.startAngle + m.spanAngle / 2;
        const double first = m.hasArc ? m.radius + 4 : 6;
        // Each turn's direction and how far the label's centre sits out along it, made once.
        struct Turn {
            QPointF u;
            double out;
        };
        std::array<Turn, kTurns> turns;
        const QPointF mid = along(middle);
        for (int k = 0; k < kTurns; ++k) {
            // along(middle + turn): the middle's direction turned, without a sine and cosine each.
            const QPointF t = turnDirections()[std::size_t(k)];
            const QPointF u(mid.x() * t.x() - mid.y() * t.y(), mid.y() * t.x() + mid.x() * t.y());
            turns[std::size_t(k)] = {u,
                                     first + std::abs(u.x()) * size.width() / 2 + std::abs(u.y()) * size.height() / 2};
        }
        const auto rectAt = [&](const PlaceStep &c) {
            const Turn &t = turns[std::size_t(c.turnIndex)];
            const QPointF at = m.vertex + t.u * (t.out + 6 * c.step);
            return std::pair{QRectF(at.x() - size.width() / 2, at.y() - size.height() / 2, size.width(), size.height()),
                             !side || side->beside(at)};
        };
        // Only the lines within reach of the candidates can meet them (white light draws thousands).
        const double reach = first + 160 + size.width() + size.height();
        const QRectF region(m.vertex - QPointF(reach, reach), QSizeF(2 * reach, 2 * reach));
        std::vector<QLineF> near;
        for (const QLineF &l : lines)
            if (segmentMeetsRect(l, region))
                near.push_back(l);
        // The first few places are nearly always free: each is made when it is tried.
        const std::span<const PlaceStep> order = placeOrder();
        std::optional<QRectF> cheapest;
        for (const bool ofLines : {true, false})
            for (const PlaceStep &c : order) {
                const auto [r, beside] = rectAt(c);
                if (!beside)
                    continue;
                if (!cheapest)
                    cheapest = r;
                if (clear(r, leaderTo(anchor, r), near, ofLines))
                    return r;
            }
        if (!cheapest)
            return place(m, size, anchor, nullptr);
        // Nowhere free: inside the picture at least.
        QRectF r = *cheapest;
        r.moveLeft(std::clamp(r.left(), 1.0, kSceneWidth - 1 - r.width()));
        r.moveTop(std::clamp(r.top(), 1.0, kSceneHeight - 1 - r.height()));
        return r;
    }
};

} // namespace

QFont angleMarkFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(13);
    f.setBold(true);
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

bool segmentMeetsRect(const QLineF &s, const QRectF &r)
{
    // Most segments lie wholly to one side of the rectangle.
    if (std::max(s.x1(), s.x2()) < r.left() || std::min(s.x1(), s.x2()) > r.right() ||
        std::max(s.y1(), s.y2()) < r.top() || std::min(s.y1(), s.y2()) > r.bottom())
        return false;
    return clipSegment(s.p1(), s.p2(), r).has_value();
}

AngleFigure angleMarks(const SceneFigure &figure, const QLocale &locale, int decimals)
{
    AngleFigure fig;
    if (figure.measuredRay.segments.empty())
        return fig; // no figure traced yet
    const SceneState &state = figure.state;
    const double lambda = figure.measuredWavelength;
    const TraceResult &ray = figure.measuredRay;
    TraceMeasures measured = ray.measures;
    if (figure.glassHidden())
        hideIndexMeasures(measured);
    const MeasureLineTexts texts = measureLineTexts({lambda, measured}, locale, decimals);
    const TraceLayout &lay = ray.layout;

    // The ray's own lines, after the shared primitives.
    std::vector<QLineF> path;
    for (std::size_t k = ray.sharedCount; k < ray.segments.size(); ++k) {
        const Segment &s = ray.segments[k];
        if (s.colour == palette::White && !s.dashed)
            path.emplace_back(s.x1, s.y1, s.x2, s.y2);
    }
    // Arrow heads are drawn as lines too; the ray's segments start at the vertices it passes.
    const QPointF m(lay.line1End.x, lay.line1End.y);
    const QPointF lamp(lay.line1Start.x, lay.line1Start.y);
    const QPointF apex(kApexX, kApexY);
    const double len = lay.faceLength;
    const QPointF entryOut(-200.0 / len, -lay.halfBase / len);
    const QPointF exitOut(200.0 / len, -lay.halfBase / len);
    const auto segmentFrom = [&](QPointF from) -> const QLineF * {
        for (const QLineF &l : path)
            if (std::hypot(l.x1() - from.x(), l.y1() - from.y()) < 1e-6)
                return &l;
        return nullptr;
    };
    const auto add = [&](AngleKind kind, const QString &label) -> AngleMark & {
        AngleMark mk;
        mk.kind = kind;
        mk.label = label;
        fig.marks.push_back(mk);
        return fig.marks.back();
    };
    const auto named = [](const char *symbol, const QString &value) {
        return QString::fromUtf8(symbol) + QStringLiteral(" = ") + value + QStringLiteral("°");
    };

    setArc(add(AngleKind::Apex, QStringLiteral("A = %1°").arg(wholeText(state.apexAngle, locale))), apex, kArcRadius,
           QPointF(lay.baseLeftX, kBaseY) - apex, QPointF(lay.baseRightX, kBaseY) - apex);
    setArc(add(AngleKind::Incidence, named("i", texts.incidence)), m, kArcRadius, entryOut, lamp - m);
    fig.guides.emplace_back(m + entryOut * kGuideLength, m - entryOut * kGuideLength);
    const QLineF *inside = segmentFrom(m);
    if (!texts.refraction.isEmpty() && inside)
        setArc(add(AngleKind::Refraction, named("r", texts.refraction)), m, kArcRadius, -entryOut,
               inside->p2() - inside->p1());
    if (!texts.exitIncidence.isEmpty() && inside) {
        const QPointF p = inside->p2();
        setArc(add(AngleKind::ExitIncidence, named("r'", texts.exitIncidence)), p, kArcRadius, -exitOut,
               inside->p1() - p);
        fig.guides.emplace_back(p + exitOut * kGuideLength, p - exitOut * kGuideLength);
        const QLineF *out = segmentFrom(p);
        if (!texts.emergence.isEmpty() && out) {
            setArc(add(AngleKind::Emergence, named("i'", texts.emergence)), p, kArcRadius, exitOut, out->p2() - p);
            // D between the incident ray produced and the emergent ray, where the two lines meet.
            const QLineF incident(lamp, m), emergent(p, out->p2());
            QPointF meet;
            AngleMark &d = add(AngleKind::Deviation, named("D", texts.deviation));
            if (incident.intersects(emergent, &meet) != QLineF::NoIntersection &&
                kPicture.adjusted(8, 8, -8, -8).contains(meet)) {
                const QPointF u = unit(m - lamp);
                setArc(d, meet, kDeviationRadius, u, out->p2() - p);
                fig.guides.emplace_back(m, meet + u * (kDeviationRadius + 12));
                fig.guides.emplace_back(p, meet);
            } else {
                d.hasArc = false;
                d.vertex = p + unit(out->p2() - p) * 60;
                d.startAngle = direction(out->p2() - p);
            }
        }
    }

    // Everything drawn, which the labels keep off: every ray of the figure and the measured one.
    Placer placer;
    placer.lines.reserve(figure.primitives.size() + figure.segments.size() + ray.segments.size() + 16);
    forEachFigureSegment(figure, [&placer](const Segment &s) { placer.lines.emplace_back(s.x1, s.y1, s.x2, s.y2); });
    for (const Segment &s : ray.segments)
        placer.lines.emplace_back(s.x1, s.y1, s.x2, s.y2);
    placer.lines.emplace_back(lamp, m);
    placer.lines.insert(placer.lines.end(), fig.guides.begin(), fig.guides.end());
    for (const AngleMark &mk : fig.marks)
        arcLines(mk, placer.lines);
    placer.boxes.emplace_back(lay.lampTopLeft.x, lay.lampTopLeft.y, 32, 32);

    const QLineF entryFace(apex, QPointF(lay.baseLeftX, kBaseY)), exitFace(apex, QPointF(lay.baseRightX, kBaseY));
    const FaceSide byEntry{entryFace, exitFace}, byExit{exitFace, entryFace};
    const QFontMetricsF metrics(angleMarkFont());
    for (AngleMark &mk : fig.marks) {
        const QSizeF size(metrics.horizontalAdvance(mk.label) + 4, metrics.height() + 2);
        const QPointF anchor = mk.hasArc ? mk.vertex + along(mk.startAngle + mk.spanAngle / 2) * mk.radius : mk.vertex;
        const FaceSide *side = mk.kind == AngleKind::Refraction      ? &byEntry
                               : mk.kind == AngleKind::ExitIncidence ? &byExit
                                                                     : nullptr;
        mk.labelRect = placer.place(mk, size, anchor, side);
        mk.leader = Placer::leaderTo(anchor, mk.labelRect);
        placer.boxes.push_back(mk.labelRect);
        if (!mk.leader.isNull())
            placer.leaders.push_back(mk.leader);
    }
    return fig;
}

namespace
{

constexpr double kGuidePen = 1.0, kArcPen = 1.5, kLeaderPen = 1.0;

QPainterPath markArc(const AngleMark &m)
{
    QPainterPath arc;
    const QRectF box(m.vertex.x() - m.radius, m.vertex.y() - m.radius, 2 * m.radius, 2 * m.radius);
    arc.arcMoveTo(box, m.startAngle);
    arc.arcTo(box, m.startAngle, m.spanAngle);
    return arc;
}

} // namespace

void paintAngleMarks(QPainter &p, const AngleFigure &figure, bool blackBackground, bool withLabels)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const QColor ink = blackBackground ? QColor(255, 255, 255) : QColor(0, 0, 0);
    QPen guide(blackBackground ? QColor(170, 170, 170) : QColor(110, 110, 110), kGuidePen, Qt::DashLine);
    guide.setCosmetic(false);
    p.setPen(guide);
    p.setBrush(Qt::NoBrush);
    for (const QLineF &g : figure.guides)
        p.drawLine(g);
    p.setPen(QPen(ink, kArcPen));
    for (const AngleMark &m : figure.marks)
        if (m.hasArc)
            p.drawPath(markArc(m));
    // The leaders are the ink at 150/255 over the background, drawn opaque: a translucent pen makes
    // the raster engine share each long line out to worker threads, which costs more than the line.
    const int thread = blackBackground ? 150 : 255 - 150;
    p.setPen(QPen(QColor(thread, thread, thread), kLeaderPen));
    for (const AngleMark &m : figure.marks)
        if (!m.leader.isNull())
            p.drawLine(m.leader);
    p.restore();
    if (!withLabels)
        return;
    std::vector<QRectF> places;
    for (const AngleMark &m : figure.marks)
        places.push_back(m.labelRect);
    paintAngleLabels(p, figure, places, 1.0, blackBackground);
}

void traceAngleMarks(ViewTrail &trail, const AngleFigure &figure)
{
    for (const QLineF &g : figure.guides)
        trail.addStroke(g, kGuidePen);
    for (const AngleMark &m : figure.marks) {
        // The arc as chords of about six scene pixels, which lie within a pixel of it.
        const double span = m.spanAngle * std::numbers::pi / 180, start = m.startAngle * std::numbers::pi / 180;
        const int chords = m.hasArc ? std::clamp(int(std::ceil(std::abs(span) * m.radius / 6)), 1, 256) : 0;
        const auto at = [&m](double a) { return m.vertex + m.radius * QPointF(std::cos(a), -std::sin(a)); };
        for (int k = 0; k < chords; ++k)
            trail.addStroke(QLineF(at(start + span * k / chords), at(start + span * (k + 1) / chords)), kArcPen);
        if (!m.leader.isNull())
            trail.addStroke(m.leader, kLeaderPen);
    }
}

std::vector<QRectF> labelsOnView(const AngleFigure &figure, const QTransform &toWindow, double textScale,
                                 const QRectF &window)
{
    std::vector<QRectF> places;
    for (const AngleMark &m : figure.marks) {
        QRectF r(QPointF(), m.labelRect.size() * textScale);
        r.moveCenter(toWindow.map(m.labelRect.center()));
        r.moveLeft(std::max(window.left(), std::min(r.left(), window.right() - r.width())));
        r.moveTop(std::max(window.top(), std::min(r.top(), window.bottom() - r.height())));
        places.push_back(r);
    }
    return places;
}

void paintAngleLabels(QPainter &p, const AngleFigure &figure, const std::vector<QRectF> &places, double textScale,
                      bool blackBackground)
{
    p.save();
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const QColor ink = blackBackground ? QColor(255, 255, 255) : QColor(0, 0, 0);
    const QColor ground = blackBackground ? QColor(0, 0, 0, 200) : QColor(255, 255, 255, 220);
    QFont font = angleMarkFont();
    font.setPixelSize(std::max(1, int(std::lround(font.pixelSize() * textScale))));
    p.setFont(font);
    const QRawFont glyphs = QRawFont::fromFont(font);
    for (std::size_t k = 0; k < figure.marks.size() && k < places.size(); ++k) {
        fillPlate(p, places[k], ground);
        p.setPen(ink);
        if (!drawGlyphLine(p, glyphs, places[k], Qt::AlignCenter, figure.marks[k].label))
            p.drawText(places[k], Qt::AlignCenter, figure.marks[k].label);
    }
    p.restore();
}

} // namespace vorlac

namespace vorlac
{

QStringList readoutLines(const SceneFigure &figure, const QLocale &locale, int decimals)
{
    const SceneState &state = figure.state;
    const double lambda = figure.measuredWavelength;
    const TraceMeasures *m = nullptr;
    for (const RayMeasures &r : figure.measures)
        if (r.wavelength == lambda)
            m = &r.measures;
    if (!m)
        return {};
    const MeasureLineTexts t = measureLineTexts({lambda, *m}, locale, decimals);
    const int rank = hiddenLineNumber(state, lambda);
    QString source = rank > 0 ? QStringLiteral("raie %1").arg(rank)
                              : QStringLiteral("λ = %1 nm")
                                    .arg(wavelengthValueText(lambda, locale, state.source == SourceType::LineLamp));
    if (state.source == SourceType::LineLamp)
        // The lamp by its element alone: "(sodium)", not "(lampe spectrale (sodium))".
        source += QStringLiteral(" (%1)").arg(state.lampHidden ? QStringLiteral("lampe inconnue")
                                                               : lineLampName(state.lamp).toLower());
    else if (state.source == SourceType::FiveRadiations)
        source += QStringLiteral(" (cinq radiations)");
    else if (state.source == SourceType::WhiteLight)
        source += QStringLiteral(" (lumière blanche)");
    return {QStringLiteral("i = %1°").arg(t.incidence),
            t.deviation.isEmpty() ? QStringLiteral("D : pas d'émergence") : QStringLiteral("D = %1°").arg(t.deviation),
            source};
}

} // namespace vorlac
