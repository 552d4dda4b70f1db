#pragma once

#include "model/colour.h"

#include <QString>
#include <span>

namespace vorlac
{

// One visible line of a lamp: its wavelength in air (nm, to 0.001 nm) and its relative intensity
// (the source's own scale, largest of the lamp = brightest ray).
struct SpectralLine {
    double wavelength;
    double intensity;
};

// A line-spectrum lamp of the "Lampe spectrale" source.
struct LineLamp {
    const char *name;                    // French, as in the lamp list: "mercure"
    const char *symbol;                  // "Hg"
    std::span<const SpectralLine> lines; // increasing wavelengths, 400..800 nm
};

// The lamps of the list, in its order (data in linelamps.cpp, with its source).
std::span<const LineLamp> lineLamps();
int lineLampCount();
// Row of the lamp of that name in the list, -1 when none.
int lineLampRow(const QString &name);
QString lineLampName(int row);

// The colour of a lamp line: the wavelength's colour (at the nearest whole nm) scaled by a
// brightness from its intensity relative to the lamp's strongest line, never below a quarter so
// that a weak line still shows.
Rgb lineColour(double wavelength, double relativeIntensity);

} // namespace vorlac
