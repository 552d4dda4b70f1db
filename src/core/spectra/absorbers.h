#pragma once

#include "spectra/sources.h"

#include <QString>
#include <span>
#include <vector>

namespace vorlac
{

// How a coloured filter's transmission follows the wavelength.
enum class FilterModel {
    LongPass, // peak / (1 + exp(-(lambda - edge) / width)): passes above the edge (logistic)
    BandPass, // peak exp(-(lambda - edge)^2 / (2 width^2)): centred on edge (Gaussian)
};

// A coloured filter (data and models in absorbers.cpp).
struct ColourFilter {
    const char *name; // French: "rouge"
    FilterModel model;
    double edge;  // nm: the half-transmission edge, or the band's centre
    double width; // nm: the edge's steepness, or the band's standard deviation
    double peak;  // largest transmission
};
std::span<const ColourFilter> colourFilters();
double filterTransmission(const ColourFilter &filter, double wavelength);

// A gas's dark lines: one per emission line of its lamp, at exactly its wavelength, with the
// depth kGasDeepest * sqrt(relative intensity) (the strongest lines of the lamp nearly black,
// its weak ones faint) and the width kGasLineWidth.
inline constexpr double kGasDeepest = 0.95;
inline constexpr double kGasLineWidth = 0.1; // nm, full width at half depth
std::vector<DarkLine> gasDarkLines(int lamp);

enum class AbsorberKind { None, Gas, Filter };

// What stands between the lamp and the prism: nothing, a gas of one of the line lamps (row of
// lineLamps()) or a coloured filter (row of colourFilters()).
struct Absorber {
    AbsorberKind kind = AbsorberKind::None;
    int row = -1;
    bool hidden = false; // "absorbant inconnu": its name and lines are shown nowhere
    bool operator==(const Absorber &) const = default;
};

// The absorbers a list offers, in order: none, the gases, then the filters.
std::vector<Absorber> absorberChoices();
// Its name as the lists show it: "aucun", "gaz : sodium", "filtre rouge"; "absorbant inconnu"
// when hidden, whatever it is.
QString absorberName(const Absorber &absorber);

// The transmission at lambda (0..1): the filter's, or the product of the gas's dark lines.
double absorberTransmission(const Absorber &absorber, double wavelength);
// The slowly varying part alone (the filter's transmission, 1 for a gas or none).
double absorberSmoothTransmission(const Absorber &absorber, double wavelength);
// The sharp part alone: the gas's dark lines (none for a filter).
std::vector<DarkLine> absorberDarkLines(const Absorber &absorber);

} // namespace vorlac
