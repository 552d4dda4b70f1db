#pragma once

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

// What one radiation does, in words: "réfraction 23,4°, émergence 41,2°, déviation 32,2°".
QString describeRadiation(const SceneState &state, int wavelength, const QLocale &locale);

} // namespace vorlac
