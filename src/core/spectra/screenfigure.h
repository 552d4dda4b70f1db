#pragma once

#include "render/scenefigure.h"
#include "spectra/screensettings.h"

namespace vorlac
{

// The brightness (0..1) of a drawn ray of white light lit by source through absorber: the
// continuum at its wavelength times the smooth transmission, times, for each dark line (the
// source's and the absorber's), its deepest transmission within the ray's nanometre. A drawn ray
// stands for its nanometre, so a dark line anywhere in it dims it; the strip shows the line at
// its exact place.
double drawnRayBrightness(const ScreenSource &source, const Absorber &absorber, double wavelength);

// Scales the colour of every ray of a white-light figure by drawnRayBrightness.
void lightFigure(SceneFigure &figure, const ScreenSource &source, const Absorber &absorber);

// What the screen does to the drawn scene, nothing while it is off: white light's rays take the
// light the screen shows (the Sun, what the absorber lets through), and every emergent ray ends
// on the screen (screenStop).
void screenFigure(SceneFigure &figure, const ScreenSettings &settings);

} // namespace vorlac
