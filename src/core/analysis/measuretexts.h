#pragma once

#include "analysis/minimumdeviation.h"
#include "model/raytracer.h"
#include "model/scenestate.h"

#include <QLocale>
#include <QString>
#include <vector>

namespace vorlac
{

struct ScenePicture;

// The rays the measurements panel shows, taken from the picture just drawn: the one ray of a
// monochromatic source, the five radiations, or the chosen wavelength of white light.
std::vector<RayMeasures> shownMeasures(const SceneState &state, const ScenePicture &picture);

// An angle with one decimal, regional separator: "36,0".
QString angleText(double degrees, const QLocale &locale);

// The texts of one line of the panel. A quantity the ray does not have is empty, and note says
// why, standing in the place of the first missing quantity.
struct MeasureLineTexts {
    QString wavelength, prismIndex, outsideIndex;
    QString incidence, refraction, exitIncidence, emergence, deviation;
    QString criticalAngle, limitIncidence;
    QString note;
    int noteColumn = -1; // 0 r, 1 r', 2 i' (the note covers it and the columns after); -1 none
};
MeasureLineTexts measureLineTexts(const RayMeasures &ray, const QLocale &locale);

// The minimum of deviation, as two lines of text for the wavelength lambda.
QString minimumDeviationText(const MinimumDeviation &m, int lambda, const QLocale &locale);

} // namespace vorlac
