#include "model/colour.h"

#include "common/rounding.h"

#include <cstdint>

namespace vorlac
{

namespace
{

// (lambda - c) * 255 is formed as a 16-bit integer before the division; every range below
// keeps it within 16 bits.
int scaledRamp(int difference, int span)
{
    const auto product = static_cast<std::int16_t>(difference * 255);
    return toByte(static_cast<double>(product) / span);
}

} // namespace

void WavelengthColour(int lambda, Rgb &colour)
{
    if (lambda < kMinWavelength || lambda > kMaxWavelength)
        return;
    if (lambda <= 439)
        colour = makeRgb(0, 0, scaledRamp(lambda - 360, 80));
    else if (lambda <= 499)
        colour = makeRgb(0, scaledRamp(lambda - 440, 60), 255);
    else if (lambda <= 549)
        colour = makeRgb(0, 255, scaledRamp(550 - lambda, 50));
    else if (lambda <= 589)
        colour = makeRgb(scaledRamp(lambda - 550, 40), 255, 0);
    else if (lambda <= 749) // divide first, then scale
        colour = makeRgb(255, toByte((750 - lambda) / 160.0 * 255.0), 0);
    else
        colour = makeRgb(toByte((850 - lambda) / 100.0 * 255.0), 0, 0);
}

void FillSpectrumColours(SpectrumColours &spectrumColour)
{
    for (int lambda = kMinWavelength; lambda <= kMaxWavelength; ++lambda) {
        Rgb c = 0;
        WavelengthColour(lambda, c);
        spectrumColour[static_cast<std::size_t>(lambda - kMinWavelength)] = c;
    }
}

} // namespace vorlac
