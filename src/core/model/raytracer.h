#pragma once

#include "model/colour.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vorlac
{

// One straight line of the picture, in scene pixels (end points are rounded when drawn).
struct Segment {
    double x1, y1, x2, y2;
    Rgb colour;
    bool dashed; // normals
    bool operator==(const Segment &) const = default;
};

struct PointD {
    double x = 0, y = 0;
};

// What one trace reads.
struct TraceInput {
    int apexAngle = 45;
    double incidenceAngle = 36.0;
    double prismIndex = 1.5;
    double outsideIndex = 1.0;
    bool showNormals = false;
    bool showPropagation = true;
    Rgb colour = palette::White;
};

enum class TraceEnd {
    Emerged,          // left the prism refracted
    ReflectedAtEntry, // never entered: reflected by the entry face
    Vertical,         // a direction of exactly 90 degrees, drawn down to y = 250
    SegmentLimit,     // trapped by internal reflections; the trace was cut
};

// Prism layout, lamp placement and the primitives that are the same for every ray of a
// picture (outline, entry normal, incident-ray arrow), for one apex angle and incidence.
struct TraceLayout {
    int halfBase = 0;
    int baseLeftX = 0;
    int baseRightX = 0;
    int incidencePointX = 0;
    double faceLength = 0;
    double normalCos = 0;      // nc
    double normalSin = 0;      // ns
    double exitSlope = 0;      // a
    double incidenceAngle = 0; // clamped
    PointD line1Start;         // the lamp end of the incident ray
    PointD line1End;           // the incidence point M
    PointD lampTopLeft;        // 32 x 32 lamp image centred on line1Start
};

enum class TraceFace { Exit, Base, Entry };

// Where the incidence lets the ray out through the exit face straight after the entry.
enum class EmergenceLimit {
    Angle,  // from limitIncidence upwards (prism denser) or up to it (outside denser)
    Always, // every ray that enters reaches the exit face's refraction
    Never,  // the exit face reflects whatever the incidence
};

// What the trace measures, in degrees, from the very computation that draws the ray: i is the
// clamped incidence, r the refraction at the entry face, r' the incidence inside on the exit
// face, i' the emergence there and D = i + i' - A the deviation (positive towards the base).
struct TraceMeasures {
    double prismIndex = 0;
    double outsideIndex = 0;
    double incidence = 0;                  // i
    double refraction = 0;                 // r, when entered
    double exitIncidence = 0;              // r', when firstFace is Exit
    double emergence = 0;                  // i', when direct
    double deviation = 0;                  // D, when direct
    bool entered = false;                  // not reflected by the entry face
    bool direct = false;                   // entered, met the exit face (|r'| < 90) and left by it at once
    TraceFace firstFace = TraceFace::Exit; // the face the refracted ray meets first
    std::optional<double> criticalAngle;   // inside the prism, when the prism is the denser
    EmergenceLimit limit = EmergenceLimit::Always;
    double limitIncidence = 0; // when limit is Angle
};

// What one traced radiation measures.
struct RayMeasures {
    double wavelength = 0; // nm; a lamp line's is not whole
    TraceMeasures measures;
};

struct TraceResult {
    TraceLayout layout;
    std::vector<Segment> segments; // in drawing order
    std::size_t sharedCount = 0;   // the first sharedCount segments are the layout's primitives
    TraceEnd end = TraceEnd::Emerged;
    int reflections = 0;                   // total internal reflections inside the prism
    double emergentDirection = 0;          // screen convention (clockwise from +x), when Emerged
    TraceFace lastFace = TraceFace::Entry; // face the ray left by (or ended at)
    TraceMeasures measures;
};

// A trace is cut after this many segments, so that a trapped ray always ends.
inline constexpr int kMaxTraceSegments = 1000;

// Intersection of y = a1 x + b1 and y = a2 x + b2; parallel lines give (0, 0).
PointD IntersectLines(double a1, double b1, double a2, double b2);

// Appends the two strokes of the arrow head on (x1, y1)-(x2, y2) at fraction f.
void DrawPropagationArrow(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2, double f, Rgb colour,
                          std::vector<Segment> &out);

// The layout alone; with primitives != nullptr also appends the shared primitives in colour.
TraceLayout computeLayout(const TraceInput &in, std::vector<Segment> *primitives);

// The complete trace of one ray. withShared = false leaves out the layout's primitives (the
// caller draws them once for a whole picture); out is reused to avoid allocations.
void TraceRay(const TraceInput &in, TraceResult &out, bool withShared = true);
TraceResult TraceRay(const TraceInput &in);

// The input of the ray alone, without normals or propagation arrows: what measuring a trace needs.
TraceInput rayOnlyInput(int apexAngle, double incidence, double prismIndex, double outsideIndex);

} // namespace vorlac
