#pragma once

#include <optional>

namespace vorlac
{

// The extremum of the deviation D(i) of the ray that goes straight through the exit face, for
// one apex angle and one pair of indices. With the prism the denser D is positive and this is
// its minimum; with the outside medium the denser D is negative and this is the smallest |D|.
struct MinimumDeviation {
    bool found = false;       // false: no incidence lets the ray out through the exit face
    bool uniform = false;     // the same index inside and out: D = 0 at every incidence
    double deviation = 0;     // D_min, degrees
    double incidence = 0;     // the incidence that gives it, degrees
    double relativeIndex = 0; // sin((A + D_min) / 2) / sin(A / 2)
};

// Searches the deviation the ray tracer gives: a scan of the incidences from -90 to 90 degrees
// finds where the ray emerges and brackets the extremum, a golden-section search refines it.
MinimumDeviation findMinimumDeviation(int apexAngle, double prismIndex, double outsideIndex);

// The deviation the tracer gives at one incidence; nullopt when the ray does not go straight
// out through the exit face.
std::optional<double> tracedDeviation(int apexAngle, double prismIndex, double outsideIndex, double incidence);

} // namespace vorlac
