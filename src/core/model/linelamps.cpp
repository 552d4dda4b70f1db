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
// Neon: the Handbook's strong Ne I lines between 400 and 800 nm (772.46 nm left out: the database
// gives it no intensity) and 743.890 nm, with the database's intensities. The database lists
// these lines in vacuum; the air values come from its own conversion (Peck and Reeder, J. Opt.
// Soc. Am. 62, 958 (1972)) and agree with its published air wavelengths where it gives them.
// Helium 667.815 / 706.519 nm take the Handbook's intensities (200 / 100).
// Cadmium 609.914 and 734.567 nm, strong in both lists, and lithium 610.365 nm (the stronger
// component of the 610.36 nm doublet), with the Handbook's wavelengths; lithium 413.262 and
// 460.289 nm as the Handbook gives them.
// Intensities: hydrogen, helium, cadmium (its first four lines), neon and zinc as above. The
// mercury, sodium and lithium intensities, and those of the three added lines, are not from
// either list: their origin was not recorded and they are kept, or set between their lamp's
// others, only as each ray's brightness (lineColour); they are not data to quote.
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
    {471.315, 30},
    {492.193, 20},
    {501.568, 100},
    {504.774, 10},
    {587.562, 500},
    {667.815, 200},
    {706.519, 100},
    {728.135, 50},
}};

constexpr std::array<SpectralLine, 6> kCadmium = {{
    {467.815, 200},
    {479.992, 300},
    {508.582, 1000},
    {609.914, 300},
    {643.847, 2000},
    {734.567, 1000},
}};

constexpr std::array<SpectralLine, 71> kNeon = {{
    {453.775, 10000}, {470.439, 15000},  {470.886, 12000}, {471.007, 10000}, {471.206, 15000}, {471.534, 15000},
    {475.273, 5000},  {478.893, 10000},  {479.022, 5000},  {482.734, 10000}, {488.492, 10000}, {500.516, 5000},
    {503.775, 5000},  {514.494, 5000},   {533.078, 6000},  {534.109, 10000}, {534.328, 6000},  {540.056, 20000},
    {556.277, 5000},  {565.666, 5000},   {571.922, 5000},  {574.830, 5000},  {576.442, 7000},  {580.445, 5000},
    {582.016, 5000},  {585.249, 20000},  {587.283, 5000},  {588.190, 10000}, {590.246, 500},   {590.643, 500},
    {594.483, 5000},  {596.547, 5000},   {597.463, 5000},  {597.553, 6000},  {598.791, 1500},  {603.000, 10000},
    {607.434, 10000}, {609.616, 3000},   {612.845, 1000},  {614.306, 10000}, {616.359, 10000}, {618.215, 1500},
    {621.728, 10000}, {626.650, 10000},  {630.479, 1000},  {632.816, 3000},  {633.443, 10000}, {638.299, 10000},
    {640.225, 20000}, {650.653, 15000},  {653.288, 1000},  {659.895, 10000}, {665.209, 1500},  {667.828, 5000},
    {671.704, 700},   {692.947, 100000}, {702.405, 34000}, {703.241, 85000}, {705.129, 2200},  {705.911, 10000},
    {717.394, 77000}, {724.517, 77000},  {743.890, 60000}, {747.244, 3100},  {748.887, 32000}, {753.577, 28000},
    {754.404, 13000}, {783.905, 230},    {792.712, 300},   {793.700, 1300},  {794.318, 7900},
}};

constexpr std::array<SpectralLine, 4> kZinc = {{
    {468.014, 540000},
    {472.216, 1000000},
    {481.053, 1100000},
    {636.235, 240000},
}};

constexpr std::array<SpectralLine, 6> kLithium = {{
    {413.262, 8},
    {460.289, 20},
    {610.354, 320},
    {610.365, 640},
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
