#include "model/radiations.h"

#include "model/constants.h"
#include "model/glasscatalogue.h"
#include "model/linelamps.h"

#include <algorithm>
#include <limits>
#include <span>

namespace vorlac
{

TraceInput traceInputFor(const SceneState &state, const Radiation &ray)
{
    TraceInput in;
    in.apexAngle = state.apexAngle;
    in.incidenceAngle = state.incidenceAngle;
    in.outsideIndex = sceneOutsideIndex(state, ray.wavelength);
    in.prismIndex = scenePrismIndex(state, ray.wavelength);
    in.showNormals = state.showNormals;
    in.showPropagation = state.showPropagation;
    in.colour = ray.colour;
    return in;
}

void hideIndexMeasures(TraceMeasures &m)
{
    const double unknown = std::numeric_limits<double>::quiet_NaN();
    m.prismIndex = unknown;
    m.refraction = unknown;
    m.exitIncidence = unknown;
    if (m.criticalAngle)
        m.criticalAngle = unknown;
    m.limitIncidence = unknown;
}

std::vector<Radiation> lampRadiations(const SceneState &state)
{
    std::vector<Radiation> rays;
    if (state.lamp < 0 || state.lamp >= lineLampCount())
        return rays;
    const std::span<const SpectralLine> lines = lineLamps()[std::size_t(state.lamp)].lines;
    double strongest = 0;
    for (const SpectralLine &l : lines)
        strongest = std::max(strongest, l.intensity);
    rays.reserve(lines.size());
    for (const SpectralLine &l : lines)
        rays.push_back(
            {l.wavelength, state.blackBackground ? lineColour(l.wavelength, l.intensity / strongest) : palette::Black});
    return rays;
}

std::vector<Radiation> sceneRadiations(const SceneState &state)
{
    if (state.source == SourceType::LineLamp)
        return lampRadiations(state);
    if (state.source != SourceType::Monochromatic)
        return {{400, palette::Blue},
                {500, palette::Cyan},
                {600, palette::Green},
                {700, palette::Yellow},
                {800, palette::Red}};
    Rgb colour = palette::Black;
    if (state.blackBackground)
        WavelengthColour(state.wavelength, colour);
    return {{double(state.wavelength), colour}};
}

std::vector<Radiation> whiteLightRadiations(const SpectrumColours &spectrumColour)
{
    std::vector<Radiation> rays;
    rays.reserve(spectrumColour.size());
    for (int lambda = kMinWavelength; lambda <= kMaxWavelength; ++lambda)
        rays.push_back({double(lambda), spectrumColour[static_cast<std::size_t>(lambda - kMinWavelength)]});
    return rays;
}

} // namespace vorlac
