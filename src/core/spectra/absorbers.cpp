#include "spectra/absorbers.h"

#include <array>
#include <cmath>

namespace vorlac
{

namespace
{

// Broad coloured gels, described by the two simplest models: the warm colours pass everything
// above an edge (a yellow stops the blue, a red also the green), the green and blue pass a band.
constexpr std::array<ColourFilter, 4> kFilters = {{
    {"rouge", FilterModel::LongPass, 600.0, 8.0, 0.90},
    {"jaune", FilterModel::LongPass, 500.0, 8.0, 0.90},
    {"vert", FilterModel::BandPass, 530.0, 30.0, 0.80},
    {"bleu", FilterModel::BandPass, 450.0, 30.0, 0.80},
}};

} // namespace

std::span<const ColourFilter> colourFilters()
{
    return kFilters;
}

double filterTransmission(const ColourFilter &filter, double wavelength)
{
    const double u = (wavelength - filter.edge) / filter.width;
    if (filter.model == FilterModel::LongPass)
        return filter.peak / (1.0 + std::exp(-u));
    return filter.peak * std::exp(-0.5 * u * u);
}

std::vector<DarkLine> gasDarkLines(int lamp)
{
    std::vector<DarkLine> dark;
    if (lamp < 0 || lamp >= lineLampCount())
        return dark;
    const auto lines = lineLamps()[std::size_t(lamp)].lines;
    double strongest = 0;
    for (const SpectralLine &l : lines)
        strongest = std::max(strongest, l.intensity);
    for (const SpectralLine &l : lines)
        dark.push_back({l.wavelength, kGasDeepest * std::sqrt(l.intensity / strongest), kGasLineWidth});
    return dark;
}

std::vector<Absorber> absorberChoices()
{
    std::vector<Absorber> list{Absorber{}};
    for (int i = 0; i < lineLampCount(); ++i)
        list.push_back({AbsorberKind::Gas, i, false});
    for (int i = 0; i < int(kFilters.size()); ++i)
        list.push_back({AbsorberKind::Filter, i, false});
    return list;
}

QString absorberName(const Absorber &absorber)
{
    if (absorber.kind == AbsorberKind::None)
        return QStringLiteral("aucun");
    if (absorber.hidden)
        return QStringLiteral("absorbant inconnu");
    if (absorber.kind == AbsorberKind::Gas)
        return QStringLiteral("gaz : %1").arg(lineLampName(absorber.row));
    if (absorber.row < 0 || absorber.row >= int(kFilters.size()))
        return QString();
    return QStringLiteral("filtre %1").arg(QString::fromUtf8(kFilters[std::size_t(absorber.row)].name));
}

double absorberSmoothTransmission(const Absorber &absorber, double wavelength)
{
    if (absorber.kind != AbsorberKind::Filter || absorber.row < 0 || absorber.row >= int(kFilters.size()))
        return 1.0;
    return filterTransmission(kFilters[std::size_t(absorber.row)], wavelength);
}

std::vector<DarkLine> absorberDarkLines(const Absorber &absorber)
{
    if (absorber.kind != AbsorberKind::Gas)
        return {};
    return gasDarkLines(absorber.row);
}

double absorberTransmission(const Absorber &absorber, double wavelength)
{
    double t = absorberSmoothTransmission(absorber, wavelength);
    for (const DarkLine &d : absorberDarkLines(absorber))
        t *= darkLineTransmission(d, wavelength);
    return t;
}

} // namespace vorlac
