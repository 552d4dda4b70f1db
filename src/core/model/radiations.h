#pragma once

#include "model/colour.h"
#include "model/raytracer.h"
#include "model/scenestate.h"

#include <vector>

namespace vorlac
{

// One radiation of a picture: its wavelength and ray colour.
struct Radiation {
    double wavelength; // nm; whole except for a lamp line
    Rgb colour;
};

// The trace input of one radiation of the state (its two indices from the index law).
TraceInput traceInputFor(const SceneState &state, const Radiation &ray);

// The radiations RedrawScene traces for the state (one, or the five of 400..800 nm; white
// light is previewed with the five).
std::vector<Radiation> sceneRadiations(const SceneState &state);
std::vector<Radiation> whiteLightRadiations(const SpectrumColours &spectrumColour);
// Every line of the state's lamp, in its colour with the brightness of its intensity (black on
// the white background, as one wavelength is).
std::vector<Radiation> lampRadiations(const SceneState &state);

// An unknown glass: what a goniometer cannot give (n, r, r', the critical angle, the limit
// incidence, each of which gives n away) becomes not a number; i, i' and D stay.
void hideIndexMeasures(TraceMeasures &m);

} // namespace vorlac
