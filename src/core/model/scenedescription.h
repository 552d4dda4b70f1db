#pragma once

#include "model/raytracer.h"
#include "model/scenestate.h"

#include <QLocale>
#include <QString>

namespace vorlac
{

// What the scene shows, said in words for a screen reader: the incidence, then what becomes of
// the ray (refraction, emergence and deviation, or the reflections that keep it in the prism)
// for the wavelength shown, or the spread of deviations for five radiations and white light.
// Angles in degrees with one decimal and the locale's separator: "Incidence 36,0°, ...".
QString describeScene(const SceneState &state, const QLocale &locale);

// How a trace ended: all the words need of it besides the state.
struct TracePath {
    TraceEnd end = TraceEnd::Emerged;
    int reflections = 0;
    TraceFace lastFace = TraceFace::Exit;
};

// The traces the words tell of: the chosen radiation's alone, or the two ends of the spectrum's.
struct ScenePaths {
    TracePath chosen, red, violet;
};

TracePath pathOf(const TraceResult &trace);
TracePath tracePath(const SceneState &state, double wavelength);
// Whether the words of that source tell of the two ends of the spectrum (rather than one radiation).
bool describesSpread(const SceneState &state);

// The same words from traces already made; state's incidence already clamped.
QString describeScene(const SceneState &state, const ScenePaths &paths, const QLocale &locale);

// What one radiation does, in words: "réfraction 23,4°, émergence 41,2°, déviation 32,2°".
QString describeRadiation(const SceneState &state, int wavelength, const QLocale &locale);

} // namespace vorlac
