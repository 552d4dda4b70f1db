#pragma once

#include "analysis/minimumdeviation.h"
#include "common/displaysettings.h"
#include "model/raytracer.h"
#include "model/scenestate.h"

#include <QLatin1StringView>
#include <QLocale>
#include <QString>
#include <vector>

namespace vorlac
{

// The rays the measurements panel shows, taken from the picture just drawn: the one ray of a
// monochromatic source, the five radiations, the chosen wavelength of white light, or the (at
// most five) lamp lines nearest the cursor, by increasing wavelength.
std::vector<RayMeasures> shownMeasures(const SceneState &state, const std::vector<RayMeasures> &measures);
inline constexpr std::size_t kShownLampLines = 5;

// Every line of the lamp the picture traced, by increasing wavelength (the panel's list).
std::vector<RayMeasures> lampLineMeasures(const std::vector<RayMeasures> &measures);
// The index of the ray nearest the cursor (the shorter on a tie); 0 for an empty list.
std::size_t nearestRay(const std::vector<RayMeasures> &rays, double cursor);

// The wavelength the minimum of deviation is computed for: one the picture draws. The cursor's,
// except with five radiations or a lamp: the radiation or line nearest the cursor (the shorter
// on a tie).
double minimumWavelength(const SceneState &state);

// Every number the panel shows goes through the number patterns: angles to a tenth of a degree,
// indices with the six decimals of the index read-outs (and a zero before the separator, which a
// relative index below 1 needs), whole numbers for wavelengths and the apex.
inline constexpr QLatin1StringView kPatternAngle{"0.0"};
inline constexpr QLatin1StringView kPatternMeasuredIndex{"0.000000"};
inline constexpr QLatin1StringView kPatternWhole{"0"};

// The pupil's choice of angle precision, in decimals: 0,1 (the designed one), 0,01 or 0,001 degree.
inline constexpr int kMinAngleDecimals = kMinSettingsDecimals;
inline constexpr int kMaxAngleDecimals = kMaxSettingsDecimals;
QString anglePattern(int decimals); // "0.0", "0.00", "0.000"

// An angle with one decimal (or `decimals`), regional separator, half away from zero, never
// "-0,0": "36,0".
QString angleText(double degrees, const QLocale &locale, int decimals = kMinAngleDecimals);
// The angle as its text shows it, for what a record writes: 30.25 to two decimals is 30.25,
// to one 30.3.
double roundedAngle(double degrees, int decimals);
// An index with six decimals: "1,516930".
QString indexValueText(double n, const QLocale &locale);
// A whole number: "589".
QString wholeText(int value, const QLocale &locale);
// A wavelength: whole as "589", a lamp line's with its three decimals: "588,995", "603,000".
QString wavelengthValueText(double nm, const QLocale &locale, bool lampLine = false);
// The lamp as every text names it: "Lampe spectrale (mercure)", or "Lampe inconnue" while hidden.
QString lampTitle(const SceneState &state);
// While the lamp is hidden its lines go by rank, shortest first, so that no text gives away the
// wavelengths the pupil is to find: 3 for the third line; 0 when the lamp is shown, the source is
// another or nm is none of the lamp's lines.
int hiddenLineNumber(const SceneState &state, double nm);
// How a line is named: "588,995", or "raie 3" while the lamp is hidden.
QString lineLabel(const SceneState &state, double nm, const QLocale &locale);
// The rays a record writes: a hidden lamp's wavelengths become the lines' ranks, as its sweep writes.
std::vector<RayMeasures> withHiddenLines(const SceneState &state, std::vector<RayMeasures> rays);

// The texts of one line of the panel. A quantity the ray does not have is empty, and note says
// why, standing in the place of the first missing quantity.
struct MeasureLineTexts {
    QString wavelength, prismIndex, outsideIndex;
    QString incidence, refraction, exitIncidence, emergence, deviation;
    QString criticalAngle, limitIncidence;
    QString note;
    int noteColumn = -1; // 0 r, 1 r', 2 i' (the note covers it and the columns after); -1 none
};
MeasureLineTexts measureLineTexts(const RayMeasures &ray, const QLocale &locale, int angleDecimals = kMinAngleDecimals);

// What the panel's columns are: "Rayon du spectre à λ = 589 nm" in white light, and so on.
QString measuredRaysText(const SceneState &state, const QLocale &locale);

// The minimum of deviation, as two lines of text for the wavelength lambda; with five
// radiations the text says which one it is; hiddenLine > 0 names a hidden lamp's line by its rank.
QString minimumDeviationText(const MinimumDeviation &m, double lambda, SourceType source, const QLocale &locale,
                             int angleDecimals = kMinAngleDecimals, int hiddenLine = 0);

} // namespace vorlac
