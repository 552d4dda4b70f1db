// The strong Fraunhofer lines of the Sun's visible spectrum.
//
// Wavelengths (air, nm) and origins: the table "Major Fraunhofer lines" of the Wikipedia article
// "Fraunhofer lines" (https://en.wikipedia.org/wiki/Fraunhofer_lines, text under CC BY-SA 4.0;
// the wavelengths, being facts, are quoted, not its text). The hydrogen (C, F, h) and sodium
// (D1, D2) values agree to 0.002 nm with the NIST Atomic Spectra Database lines of the line
// lamps (model/linelamps.cpp, a work of the US Government, NIST to be cited); the astronomy
// glossary of D. Darling / vaporia.com ("Fraunhofer lines") gives the same letters and origins
// (A 759.4, B 686.7, C 656.3, D1 589.6, D2 589.0, E 527.0, F 486.1, G 430.7 nm).
// A and B are bands of the oxygen of the Earth's atmosphere, drawn as one wide line at the
// table's wavelength; G is the blend of the CH band with iron and calcium lines near 430.8 nm,
// drawn wide at the iron line's wavelength.
//
// Depth and width are not measured data: they are this program's drawing model, chosen so that
// each line shows on the screen about as dark and as wide as in a school spectroscope (the bands
// and the hydrogen lines wide, the metal lines narrow).
#include "spectra/sources.h"

#include <array>

namespace vorlac
{

namespace
{

constexpr std::array<FraunhoferLine, 11> kFraunhofer = {{
    {"h", "H (Hδ)", 410.175, 0.7, 0.30},
    {"G", "CH, Fe, Ca", 430.790, 0.7, 0.30},
    {"F", "H (Hβ)", 486.134, 0.8, 0.35},
    {"b2", "Mg", 517.270, 0.75, 0.15},
    {"b1", "Mg", 518.362, 0.75, 0.15},
    {"E", "Fe", 527.039, 0.6, 0.08},
    {"D2", "Na", 588.995, 0.85, 0.12},
    {"D1", "Na", 589.592, 0.8, 0.10},
    {"C", "H (Hα)", 656.281, 0.85, 0.40},
    {"B", "O₂ (atmosphère terrestre)", 686.719, 0.8, 0.50},
    {"A", "O₂ (atmosphère terrestre)", 759.370, 0.9, 0.80},
}};

} // namespace

std::span<const FraunhoferLine> fraunhoferLines()
{
    return kFraunhofer;
}

} // namespace vorlac
