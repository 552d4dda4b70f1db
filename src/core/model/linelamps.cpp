// Visible lines (400 to 800 nm) of the "Lampe spectrale" source.
//
// Source: NIST Atomic Spectra Database (A. Kramida, Yu. Ralchenko, J. Reader and NIST ASD Team,
// https://physics.nist.gov/asd) and its companion "Handbook of Basic Atomic Spectroscopic Data"
// (J. E. Sansonetti and W. C. Martin, https://physics.nist.gov/Handbook), strong lines of the
// neutral atoms (I spectra). Wavelengths in standard air, nm, rounded to 0.001 nm; intensities
// are the database's relative intensities, meaningful only within one element.
// Licence: data of the US National Institute of Standards and Technology, a work of the US
// Government, not subject to copyright in the United States; NIST asks to be cited as above.
//
// Hydrogen: the Balmer lines as the usual mean of their fine-structure components.
#include "model/linelamps.h"

#include "common/rounding.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vorlac
{

namespace
{

constexpr std::array<SpectralLine, 9> kMercury = {{
    {404.656, 1800},
    {407.784, 150},
    {433.922, 250},
    {434.749, 400},
    {435.833, 4000},
    {491.607, 80},
    {546.074, 1100},
    {576.960, 240},
    {579.066, 280},
}};

constexpr std::array<SpectralLine, 9> kSodium = {{
    {498.281, 40},
    {514.884, 30},
    {515.340, 60},
    {568.263, 280},
    {568.821, 560},
    {588.995, 80000},
    {589.592, 40000},
    {615.423, 120},
    {616.075, 240},
}};

constexpr std::array<SpectralLine, 4> kHydrogen = {{
    {410.174, 70},
    {434.047, 90},
    {486.133, 180},
    {656.279, 500},
}};

constexpr std::array<SpectralLine, 12> kHelium = {{
    {402.619, 50},
    {412.082, 12},
    {438.793, 10},
    {447.148, 200},
    {471.314, 30},
    {492.193, 20},
    {501.568, 100},
    {504.774, 10},
    {587.562, 500},
    {667.815, 100},
    {706.519, 200},
    {728.135, 50},
}};

constexpr std::array<SpectralLine, 4> kCadmium = {{
    {467.815, 200},
    {479.992, 300},
    {508.582, 1000},
    {643.847, 2000},
}};

constexpr std::array<SpectralLine, 41> kNeon = {{
    {540.056, 2000},  {576.442, 7000},  {582.016, 5000},  {585.249, 20000}, {588.190, 10000},  {594.483, 5000},
    {596.547, 5000},  {597.553, 6000},  {598.791, 1500},  {603.000, 10000}, {607.434, 10000},  {609.616, 3000},
    {612.845, 1000},  {614.306, 10000}, {616.359, 10000}, {618.215, 2500},  {621.728, 10000},  {626.650, 10000},
    {630.479, 10000}, {633.443, 10000}, {638.299, 10000}, {640.225, 20000}, {650.653, 15000},  {653.288, 10000},
    {659.895, 10000}, {665.209, 1500},  {667.828, 5000},  {671.704, 7000},  {692.947, 100000}, {702.405, 34000},
    {703.241, 85000}, {705.129, 2200},  {705.911, 10000}, {717.394, 28000}, {724.517, 77000},  {743.890, 20000},
    {747.244, 4000},  {748.887, 32000}, {753.577, 21000}, {754.404, 17000}, {794.318, 4500},
}};

constexpr std::array<SpectralLine, 4> kZinc = {{
    {468.014, 300},
    {472.216, 400},
    {481.053, 400},
    {636.235, 1000},
}};

constexpr std::array<SpectralLine, 5> kLithium = {{
    {413.256, 8},
    {460.286, 20},
    {610.354, 320},
    {670.776, 3600},
    {670.791, 1800},
}};

constexpr std::array<LineLamp, 8> kLamps = {{
    {"mercure", "Hg", kMercury},
    {"sodium", "Na", kSodium},
    {"hydrogène", "H", kHydrogen},
    {"hélium", "He", kHelium},
    {"cadmium", "Cd", kCadmium},
    {"néon", "Ne", kNeon},
    {"zinc", "Zn", kZinc},
    {"lithium", "Li", kLithium},
}};

} // namespace

std::span<const LineLamp> lineLamps()
{
    return kLamps;
}

int lineLampCount()
{
    return int(kLamps.size());
}

int lineLampRow(const QString &name)
{
    for (std::size_t i = 0; i < kLamps.size(); ++i)
        if (name == QString::fromUtf8(kLamps[i].name))
            return int(i);
    return -1;
}

QString lineLampName(int row)
{
    if (row < 0 || row >= lineLampCount())
        return QString();
    return QString::fromUtf8(kLamps[std::size_t(row)].name);
}

Rgb lineColour(double wavelength, double relativeIntensity)
{
    Rgb base = palette::Black;
    WavelengthColour(int(std::lround(wavelength)), base);
    // The eye reads brightness roughly as the square root of the power.
    const double k = 0.25 + 0.75 * std::sqrt(std::clamp(relativeIntensity, 0.0, 1.0));
    auto scale = [k](int c) { return toByte(c * k); };
    return makeRgb(scale(redOf(base)), scale(greenOf(base)), scale(blueOf(base)));
}

} // namespace vorlac
