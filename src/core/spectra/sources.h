#pragma once

#include "model/linelamps.h"
#include "model/scenestate.h"

#include <QString>
#include <span>
#include <vector>

namespace vorlac
{

// A dark line: a Gaussian dip of the transmission, 1 - depth at its centre, full width at half
// depth fwhm (nm).
struct DarkLine {
    double wavelength;
    double depth;
    double fwhm;
};

// The transmission 1 - depth exp(-(lambda - centre)^2 / (2 sigma^2)), sigma = fwhm / 2.3548.
double darkLineTransmission(const DarkLine &line, double wavelength);
// The integral over [from, to] (nm, or any length proportional to them with sigma) of the dip
// depth exp(...) alone: what the line removes from a flat spectrum over that interval.
double darkLineRemoval(double centre, double sigma, double depth, double from, double to);
inline constexpr double kFwhmToSigma = 1.0 / 2.3548200450309493;

// One strong Fraunhofer line of the Sun's spectrum (data in fraunhofer.cpp, with its sources).
struct FraunhoferLine {
    const char *designation; // "D2"
    const char *origin;      // "Na", "O2 (atmosphère)"
    double wavelength;       // nm, in air
    double depth;            // drawing model, see fraunhofer.cpp
    double fwhm;             // nm, drawing model
};
std::span<const FraunhoferLine> fraunhoferLines();

// The Sun's photosphere seen as a black body.
inline constexpr double kSunTemperature = 5800.0; // K

// Planck's spectral radiance at lambda (nm) and temperature (K), relative: divided by its
// maximum over all wavelengths at that temperature (Wien's law), so 1 at the peak.
double planckRelative(double wavelength, double temperature);

enum class ScreenSourceKind {
    WhiteLight, // the program's white light: every wavelength of 400..800 nm equally bright
    Sun,        // a black body at kSunTemperature with the Fraunhofer lines
    Lines,      // a lamp, one wavelength or the five radiations: lines only
};

// The light that reaches the prism, as the screen needs it.
struct ScreenSource {
    ScreenSourceKind kind = ScreenSourceKind::WhiteLight;
    std::vector<SpectralLine> lines; // Lines: the lines and their relative intensities (max 1)
    int lamp = -1;                   // Lines from a lamp: its row
    bool hidden = false;             // "lampe inconnue": its name and wavelengths are shown nowhere
};

// The source of a scene as the screen shows it (white light, lamp, wavelength or five radiations).
ScreenSource screenSourceFor(const SceneState &state);
ScreenSource sunSource();

// The continuous spectrum's relative intensity at lambda (0 for line sources; 0 outside
// 400..800 nm, where nothing is traced), its own dark lines left out.
double continuumIntensity(const ScreenSource &source, double wavelength);
// The source's own dark lines (the Sun's Fraunhofer lines), in increasing wavelength.
std::vector<DarkLine> sourceDarkLines(const ScreenSource &source);
// The spectrum itself: continuum times the source's own dark lines.
double sourceIntensity(const ScreenSource &source, double wavelength);

// The source's name as the lists show it: "lumière blanche", "Soleil", "lampe : mercure",
// "lampe inconnue" when hidden, "589 nm", "cinq radiations".
QString screenSourceName(const ScreenSource &source);

} // namespace vorlac
