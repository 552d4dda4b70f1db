#include "model/raytracer.h"

#include "common/rounding.h"
#include "model/constants.h"

#include <cmath>

namespace vorlac
{

namespace
{

constexpr Rgb kOutlineColour = palette::LightGrey;

using Face = TraceFace;

// The arc sine in degrees, written through atan; s = +-1 is a grazing ray (+-90 degrees).
double arcSineDegrees(double s)
{
    if (s >= 1.0)
        return 90.0;
    if (s <= -1.0)
        return -90.0;
    return kRadToDeg * std::atan(s / std::sqrt(1.0 - s * s));
}

struct Tracer {
    const TraceInput &in;
    const TraceLayout &lay;
    std::vector<Segment> &out;
    double halfA;

    bool full() const { return out.size() >= static_cast<std::size_t>(kMaxTraceSegments); }

    void line(double x1, double y1, double x2, double y2) { out.push_back({x1, y1, x2, y2, in.colour, false}); }

    void arrow(double x1, double y1, double x2, double y2, double f)
    {
        if (in.showPropagation)
            DrawPropagationArrow(toInt16(x1), toInt16(y1), toInt16(x2), toInt16(y2), f, in.colour, out);
    }

    void ray(PointD from, PointD to, double f)
    {
        line(from.x, from.y, to.x, to.y);
        arrow(from.x, from.y, to.x, to.y, f);
    }

    void normal(double x1, double y1, double x2, double y2)
    {
        if (in.showNormals)
            out.push_back({x1, y1, x2, y2, kOutlineColour, true});
    }

    double exitIntercept() const { return kBaseY - lay.exitSlope * lay.baseRightX; }
    double entryIntercept() const { return kBaseY + lay.exitSlope * lay.baseLeftX; }

    bool strictlyOnBase(const PointD &p) const { return p.x > lay.baseLeftX && p.x < lay.baseRightX; }

    void vertical(PointD p) { ray(p, {p.x, 250.0}, 0.3); }
};

// Critical angle and limit incidence, with the tracer's own constants so that a ray traced at the
// limit incidence meets the exit face at the critical angle.
void measureLimits(const TraceInput &in, double apex, TraceMeasures &m)
{
    const double n = in.prismIndex / in.outsideIndex;
    if (n > 1.0) {
        const double critical = arcSineDegrees(1.0 / n);
        m.criticalAngle = critical;
        // r' = A - r reaches the critical angle at r = A - critical.
        const double s = n * std::sin((apex - critical) * kDegToRad);
        // n sin(A - critical) > -n sin(critical) = -1: some incidence always comes too low.
        if (s > 1.0) {
            m.limit = EmergenceLimit::Never;
        } else {
            m.limit = EmergenceLimit::Angle;
            m.limitIncidence = arcSineDegrees(s);
        }
    } else if (n < 1.0) {
        // Nothing is reflected inside, but the entry face reflects beyond its own limit.
        m.limit = EmergenceLimit::Angle;
        m.limitIncidence = arcSineDegrees(n);
    } else {
        m.limit = EmergenceLimit::Always;
    }
}

} // namespace

PointD IntersectLines(double a1, double b1, double a2, double b2)
{
    if (a1 == a2)
        return {0.0, 0.0};
    const double x = (b2 - b1) / (a1 - a2);
    return {x, b1 + a1 * x};
}

void DrawPropagationArrow(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2, double f, Rgb colour,
                          std::vector<Segment> &out)
{
    const double xp = toInt16(x1 + (x2 - x1) * f);
    const double yp = toInt16(y1 + (y2 - y1) * f);
    const double m = (x1 == x2) ? 1e10 : static_cast<double>(y2 - y1) / static_cast<double>(x2 - x1);
    const double q = (m == 0.0) ? 1e11 : 1.0 / m;
    float dx = static_cast<float>(10.0 / std::sqrt(m * m + 1.0));
    if (x1 > x2 || (x1 == x2 && y1 > y2))
        dx = -dx;
    const float dw = static_cast<float>(5.0 / std::sqrt(q * q + 1.0));
    const double tx = xp + dx;
    const double ty = yp + m * dx;
    out.push_back({tx, ty, xp - dw, yp + q * dw, colour, false});
    out.push_back({tx, ty, xp + dw, yp - q * dw, colour, false});
}

TraceLayout computeLayout(const TraceInput &in, std::vector<Segment> *primitives)
{
    TraceLayout lay;
    const int a = in.apexAngle;
    const double halfA = a / 2.0;
    lay.halfBase = toInt16(200.0 * std::tan(kPi * a / 360.0));
    lay.baseRightX = kApexX + lay.halfBase;
    lay.baseLeftX = kApexX - lay.halfBase;
    lay.faceLength = std::sqrt(200.0 * 200.0 + static_cast<double>(lay.halfBase) * lay.halfBase);
    lay.normalCos = 20000.0 / lay.faceLength;
    lay.normalSin = static_cast<std::int16_t>(lay.halfBase * 100) / lay.faceLength;
    lay.exitSlope = std::tan((90.0 - halfA) * kDegToRad);
    lay.incidencePointX = toInt16((kApexX + lay.baseLeftX) / 2.0);
    const double mx = lay.incidencePointX;
    lay.line1End = {mx, static_cast<double>(kIncidenceY)};

    double incidence = in.incidenceAngle;
    if (incidence > 90.0)
        incidence = 90.0;
    if (incidence < -halfA - 90.0)
        incidence = -halfA - 90.0;
    lay.incidenceAngle = incidence;

    // The lamp comes closer until it fits under the top of the picture, but no closer than 100.
    const double theta = (180.0 - halfA + incidence) * kDegToRad;
    const double sinT = std::sin(theta);
    const double cosT = std::cos(theta);
    int r = static_cast<std::int16_t>(lay.incidencePointX - 50);
    for (;;) {
        const int top = toInt16(kIncidenceY - r * sinT - 10.0);
        if (top >= 0 || r <= 100)
            break;
        r -= 5;
    }
    lay.line1Start = {r * cosT + mx, kIncidenceY - r * sinT};
    lay.lampTopLeft = {lay.line1Start.x - 16.0, lay.line1Start.y - 16.0};

    if (primitives) {
        auto &p = *primitives;
        const double ax = kApexX, ay = kApexY, by = kBaseY;
        p.push_back({ax, ay, static_cast<double>(lay.baseRightX), by, kOutlineColour, false});
        p.push_back({ax, ay, static_cast<double>(lay.baseLeftX), by, kOutlineColour, false});
        p.push_back(
            {static_cast<double>(lay.baseRightX), by, static_cast<double>(lay.baseLeftX), by, kOutlineColour, false});
        if (in.showNormals)
            p.push_back({mx - lay.normalCos, kIncidenceY - lay.normalSin, mx + lay.normalCos,
                         kIncidenceY + lay.normalSin, kOutlineColour, true});
        if (in.showPropagation)
            DrawPropagationArrow(toInt16(lay.line1Start.x), toInt16(lay.line1Start.y), toInt16(mx),
                                 static_cast<std::int16_t>(kIncidenceY), 0.4, in.colour, p);
    }
    return lay;
}

void TraceRay(const TraceInput &in, TraceResult &res, bool withShared)
{
    // Every field starts afresh; only the segments' storage is kept for reuse.
    std::vector<Segment> storage = std::move(res.segments);
    storage.clear();
    res = TraceResult{};
    res.segments = std::move(storage);
    res.layout = computeLayout(in, withShared ? &res.segments : nullptr);
    res.sharedCount = res.segments.size();
    const TraceLayout &lay = res.layout;
    Tracer t{in, lay, res.segments, in.apexAngle / 2.0};
    const double A = in.apexAngle;
    const double halfA = t.halfA;
    const PointD m = lay.line1End;
    const double incidence = lay.incidenceAngle;
    TraceMeasures &mes = res.measures;
    mes.prismIndex = in.prismIndex;
    mes.outsideIndex = in.outsideIndex;
    mes.incidence = incidence;
    measureLimits(in, A, mes);

    // Entry face.
    const double s1 = in.outsideIndex * std::sin(incidence * kDegToRad) / in.prismIndex;
    if (!(s1 >= -1.0 && s1 <= 1.0)) {
        const double phi = (180.0 - halfA - incidence) * kDegToRad;
        t.ray(m, {m.x + 350.0 * std::cos(phi), kIncidenceY - 350.0 * std::sin(phi)}, 0.3);
        res.end = TraceEnd::ReflectedAtEntry;
        return;
    }
    const double r1 = arcSineDegrees(s1);
    mes.entered = true;
    mes.refraction = r1;
    const double delta = halfA - r1;
    if (delta == 90.0) {
        mes.firstFace = Face::Base;
        t.vertical(m);
        res.end = TraceEnd::Vertical;
        return;
    }

    Face face;
    PointD p;
    double d = 0;   // direction, at the base
    double eps = 0; // signed incidence, at the slanted faces
    {
        const double slope = std::tan(delta * kDegToRad);
        const double b = m.y - slope * m.x;
        const PointD onBase = IntersectLines(slope, b, 0.0, kBaseY);
        if (t.strictlyOnBase(onBase)) {
            p = onBase;
            face = Face::Base;
            d = delta;
        } else {
            p = IntersectLines(slope, b, lay.exitSlope, t.exitIntercept());
            face = Face::Exit;
            eps = halfA + delta;
            mes.exitIncidence = eps;
        }
        mes.firstFace = face;
        t.ray(m, p, 0.4);
    }

    const double nc = lay.normalCos, ns = lay.normalSin;
    for (;;) {
        // Normal at the point of arrival, then refraction or total reflection.
        switch (face) {
        case Face::Exit:
            t.normal(p.x + nc, p.y - ns, p.x - nc, p.y + ns);
            break;
        case Face::Base:
            t.normal(p.x, 125.0, p.x, 325.0);
            eps = d - 90.0;
            break;
        case Face::Entry:
            t.normal(p.x - nc, p.y - ns, p.x + nc, p.y + ns);
            break;
        }
        const double s = in.prismIndex * std::sin(eps * kDegToRad) / in.outsideIndex;
        if (s >= -1.0 && s <= 1.0) {
            const double e = arcSineDegrees(s);
            const double dir = face == Face::Exit ? -halfA + e : face == Face::Base ? 90.0 + e : 180.0 + halfA + e;
            const double dr = dir * kDegToRad;
            const PointD end{static_cast<double>(toInt16(p.x + 400.0 * std::cos(dr))),
                             static_cast<double>(toInt16(p.y + 400.0 * std::sin(dr)))};
            t.ray(p, end, 0.3);
            res.end = TraceEnd::Emerged;
            res.emergentDirection = dir;
            res.lastFace = face;
            // |r'| >= 90: a grazing entry that never heads for the exit face (the line meets it
            // behind the ray); it is drawn as computed but measures nothing.
            if (face == Face::Exit && res.reflections == 0 && std::abs(mes.exitIncidence) < 90.0) {
                mes.direct = true;
                mes.emergence = e;
                mes.deviation = incidence + e - A;
            }
            return;
        }
        if (t.full()) {
            res.end = TraceEnd::SegmentLimit;
            res.lastFace = face;
            return;
        }
        ++res.reflections;

        PointD next;
        switch (face) {
        case Face::Exit:
        case Face::Entry: {
            const double dPrime = face == Face::Exit ? 180.0 - halfA - eps : halfA - 180.0 - eps;
            if (dPrime == 90.0) {
                res.lastFace = face;
                t.vertical(p);
                res.end = TraceEnd::Vertical;
                return;
            }
            const double slope = std::tan(dPrime * kDegToRad);
            const double b = p.y - slope * p.x;
            const PointD onBase = IntersectLines(slope, b, 0.0, kBaseY);
            if (t.strictlyOnBase(onBase)) {
                next = onBase;
                d = face == Face::Exit ? dPrime : halfA - eps;
                face = Face::Base;
            } else if (face == Face::Exit) {
                next = IntersectLines(slope, b, -lay.exitSlope, t.entryIntercept());
                eps = -eps - A;
                face = Face::Entry;
            } else {
                next = IntersectLines(slope, b, lay.exitSlope, t.exitIntercept());
                eps = A - eps;
                face = Face::Exit;
            }
            t.ray(p, next, 0.4);
            break;
        }
        case Face::Base: {
            const double slope = -std::tan(d * kDegToRad);
            const double b = p.y - slope * p.x;
            const PointD onEntry = IntersectLines(slope, b, -lay.exitSlope, t.entryIntercept());
            if (onEntry.x >= lay.baseLeftX && onEntry.x <= kApexX && onEntry.y >= kApexY && onEntry.y <= kBaseY) {
                next = onEntry;
                eps = 90.0 - halfA - eps;
                face = Face::Entry;
            } else {
                next = IntersectLines(slope, b, lay.exitSlope, t.exitIntercept());
                eps = halfA - 90.0 - eps;
                face = Face::Exit;
            }
            t.ray(p, next, 0.3);
            break;
        }
        }
        p = next;
    }
}

TraceResult TraceRay(const TraceInput &in)
{
    TraceResult r;
    TraceRay(in, r, true);
    return r;
}

TraceInput rayOnlyInput(int apexAngle, double incidence, double prismIndex, double outsideIndex)
{
    TraceInput in;
    in.apexAngle = apexAngle;
    in.incidenceAngle = incidence;
    in.prismIndex = prismIndex;
    in.outsideIndex = outsideIndex;
    in.showNormals = false;
    in.showPropagation = false;
    return in;
}

} // namespace vorlac
