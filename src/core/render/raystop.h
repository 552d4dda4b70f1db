#pragma once

#include "model/raytracer.h"

#include <optional>

namespace vorlac
{

struct SceneFigure;

// Where a ray from origin along the unit vector direction meets the line through centre along the
// unit vector axis: t along the ray, s along the line (same unit); nothing when parallel.
struct Crossing {
    double t;
    double s;
};
std::optional<Crossing> crossLine(PointD origin, PointD direction, PointD centre, PointD axis);

// A line across the emergent beam where the drawn rays end (the screen), in scene pixels. A stop
// too far for the picture is drawn as a broken view: what lies beyond a break across the beam is
// moved back by shift, so the rays end on the break's first line and go on from its second.
struct RayStop {
    PointD centre; // the stop's middle where it truly stands
    PointD axis;   // unit, along the stop
    double halfLength = 0;
    PointD beam;      // unit, the beam's direction: the break's lines are square to it
    PointD origin;    // where the beam leaves the prism: the break stays after it
    PointD shift;     // zero when the stop is drawn where it stands
    PointD breakFrom; // a point of each of the break's two lines
    PointD breakTo;
    bool broken() const { return shift.x != 0.0 || shift.y != 0.0; }
};

// The stop as the figure drew it, and the offsets across the beam (along it turned a quarter
// anticlockwise as drawn) of the rays the break cuts: on both its lines, and before it alone.
struct FigureStop {
    RayStop stop;
    double acrossLow = 0;
    double acrossHigh = 0;
    double beamLow = 0;
    double beamHigh = 0;
};

// Ends every emergent ray of the figure where it meets the stop, beyond the break when there is
// one (its drawn landing in FigureRay::landing). The break moves back towards the prism, when it
// must, so that the landings lie beyond it (a turned stop reaches far along the beam); a ray
// landing before it all the same ends at the break. A ray that misses the stop keeps its length
// (beyond a break, moved back with the rest); one that does not emerge is untouched; an arrow past
// a ray's new end is left out. The figure keeps the stop as drawn (FigureStop).
void stopRays(SceneFigure &figure, const RayStop &stop);

} // namespace vorlac
