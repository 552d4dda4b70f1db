#include "spectra/sources.h"

#include "model/colour.h"

#include <algorithm>
#include <cmath>

namespace vorlac
{

namespace
{

constexpr double kSecondRadiation = 1.438776877e7; // c2 = hc/k, nm K
constexpr double kWienX = 4.965114231744276;       // c2 / (lambda_max T)

double planck(double wavelength, double temperature)
{
    return std::pow(wavelength, -5.0) / std::expm1(kSecondRadiation / (wavelength * temperature));
}

bool traced(double wavelength)
{
    return wavelength >= kMinWavelength && wavelength <= kMaxWavelength;
}

} // namespace

double darkLineTransmission(const DarkLine &line, double wavelength)
{
    const double sigma = line.fwhm * kFwhmToSigma;
    const double u = (wavelength - line.wavelength) / sigma;
    return 1.0 - line.depth * std::exp(-0.5 * u * u);
}

double darkLineRemoval(double centre, double sigma, double depth, double from, double to)
{
    const double k = 1.0 / (sigma * std::sqrt(2.0));
    const double area = sigma * std::sqrt(2.0 * M_PI);
    return depth * area * 0.5 * (std::erf((to - centre) * k) - std::erf((from - centre) * k));
}

double planckRelative(double wavelength, double temperature)
{
    const double peak = kSecondRadiation / (kWienX * temperature);
    return planck(wavelength, temperature) / planck(peak, temperature);
}

ScreenSource screenSourceFor(const SceneState &state)
{
    ScreenSource s;
    switch (state.source) {
    case SourceType::WhiteLight:
        s.kind = ScreenSourceKind::WhiteLight;
        break;
    case SourceType::Monochromatic:
        s.kind = ScreenSourceKind::Lines;
        s.lines = {{double(state.wavelength), 1.0}};
        break;
    case SourceType::FiveRadiations:
        s.kind = ScreenSourceKind::Lines;
        for (int l = kMinWavelength; l <= kMaxWavelength; l += 100)
            s.lines.push_back({double(l), 1.0});
        break;
    case SourceType::LineLamp: {
        s.kind = ScreenSourceKind::Lines;
        s.hidden = state.lampHidden;
        if (state.lamp < 0 || state.lamp >= lineLampCount())
            break;
        s.lamp = state.lamp;
        const auto lines = lineLamps()[std::size_t(state.lamp)].lines;
        double strongest = 0;
        for (const SpectralLine &l : lines)
            strongest = std::max(strongest, l.intensity);
        for (const SpectralLine &l : lines)
            s.lines.push_back({l.wavelength, l.intensity / strongest});
        break;
    }
    }
    return s;
}

ScreenSource sunSource()
{
    ScreenSource s;
    s.kind = ScreenSourceKind::Sun;
    return s;
}

double continuumIntensity(const ScreenSource &source, double wavelength)
{
    if (!traced(wavelength))
        return 0.0;
    switch (source.kind) {
    case ScreenSourceKind::WhiteLight:
        return 1.0;
    case ScreenSourceKind::Sun:
        return planckRelative(wavelength, kSunTemperature);
    case ScreenSourceKind::Lines:
        break;
    }
    return 0.0;
}

std::vector<DarkLine> sourceDarkLines(const ScreenSource &source)
{
    std::vector<DarkLine> lines;
    if (source.kind == ScreenSourceKind::Sun)
        for (const FraunhoferLine &f : fraunhoferLines())
            lines.push_back({f.wavelength, f.depth, f.fwhm});
    return lines;
}

double sourceIntensity(const ScreenSource &source, double wavelength)
{
    double v = continuumIntensity(source, wavelength);
    for (const DarkLine &d : sourceDarkLines(source))
        v *= darkLineTransmission(d, wavelength);
    return v;
}

QString screenSourceName(const ScreenSource &source)
{
    switch (source.kind) {
    case ScreenSourceKind::WhiteLight:
        return QStringLiteral("lumière blanche");
    case ScreenSourceKind::Sun:
        return QStringLiteral("Soleil");
    case ScreenSourceKind::Lines:
        break;
    }
    if (source.hidden)
        return QStringLiteral("lampe inconnue");
    if (source.lamp >= 0)
        return QStringLiteral("lampe : %1").arg(lineLampName(source.lamp));
    if (source.lines.size() == 1)
        return QStringLiteral("%1 nm").arg(std::lround(source.lines.front().wavelength));
    return QStringLiteral("cinq radiations");
}

} // namespace vorlac
