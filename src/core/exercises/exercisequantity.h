#pragma once

#include "model/materials.h"
#include "situations/situation.h"
#include "spectra/screen.h"

#include <QString>
#include <QStringView>
#include <optional>

namespace vorlac
{

// The angles and indices the shipped exercises quote, as the simulator shows them: angles in the
// tracer's own degrees (its 0.0174532 and 57.29578 included), so that a correction agrees with
// what the pupil measures on the figure.
enum class Quantity {
    Apex,             // "A", the apex angle as set
    Wavelength,       // "lambda", in nm, as set (a lamp line's to 0.001 nm)
    InverseSquare,    // "x" = 1 / lambda^2 with lambda in micrometres (Cauchy's law plotted)
    Incidence,        // "i", the incidence as set
    Refraction,       // "r", at the entry face, from the drawn ray inside the vorlac
    ExitIncidence,    // "r'", inside the exit face (A - r), when the ray meets that face first
    Emergence,        // "i'", at the exit face
    Deviation,        // "D" = i + i' - A
    MinimumDeviation, // "Dm", over every incidence that leaves by the exit face
    MinimumIncidence, // "im", the incidence of that minimum
    PrismIndex,       // "n", index law of the vorlac at the wavelength
    OutsideIndex,     // "ne", index law of the outside medium
    RelativeIndex,    // "n/ne", what sin i / sin r gives
    CriticalAngle,    // "l", sin l = ne / n
    LimitIncidence,   // "i0", least incidence whose ray leaves by the exit face
    LargestApex,      // "Amax", largest whole apex angle for which the ray at i = 90 leaves by the exit face
    CauchyA,          // "cA", "cB": the vorlac's index-law coefficients
    CauchyB,
    // Calibration with the mercury lamp: the least-squares line Dm = a·x + b through the lamp's
    // lines (x as above), as the grapher's affine fit gives it, and the wavelength that line
    // gives back for the Dm of the scene's wavelength (a line of another lamp).
    CalibrationSlope,     // "cal.a"
    CalibrationIntercept, // "cal.b"
    CalibratedWavelength, // "cal.lambda"
    // The screen after the prism, at the situation's placement (the scene's incidence, not the
    // minimum): where the ray of the scene's wavelength lands, in mm as the strip's ruler reads
    // it, and the calibration of the screen with the mercury lamp: the grapher's Cauchy fit
    // x = A + B/lambda² through its lines, and the wavelength that fit gives back for the
    // position of the scene's wavelength.
    ScreenPosition,             // "xe"
    ScreenCalibrationA,         // "cale.A"
    ScreenCalibrationB,         // "cale.B"
    ScreenCalibratedWavelength, // "cale.lambda"
};

std::optional<Quantity> quantityNamed(QStringView name);

// What a quantity depends on.
struct QuantityScene {
    int apexAngle = 45;
    double incidenceAngle = 36.0;
    double wavelength = 589;
    IndexLaw prism{kMaterials[2].cauchyA, kMaterials[2].cauchyB};
    IndexLaw outside{kMaterials[0].cauchyA, kMaterials[0].cauchyB};
    int glass = -1;         // a glass of the list: the prism follows its formula, prism is only its fit
    SceneState state;       // the situation's scene, for the screen (the fields above replace its own)
    ScreenPlacement screen; // the situation's screen
};

QuantityScene quantitySceneOf(const Situation &situation);

// Settings "key=value" separated by ";": i (degrees, "." decimals), lambda (nm, "." decimals for
// a lamp line), A (degrees, whole), prism and outside (a material of the list; "Autre" keeps the scene's coefficients).
// False on an unknown key or a value out of the simulator's ranges.
bool applyQuantitySettings(QuantityScene &scene, QStringView settings);

// nullopt when the quantity does not exist for the scene (no ray leaves by the exit face, for
// instance).
std::optional<double> computeQuantity(Quantity quantity, const QuantityScene &scene);

} // namespace vorlac
