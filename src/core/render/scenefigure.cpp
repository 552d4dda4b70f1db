#include "render/scenefigure.h"

#include "analysis/measuretexts.h"
#include "model/constants.h"
#include "render/scenerenderer.h"

#include <cmath>

namespace vorlac
{

namespace
{

// Where the ray's own lines (no shared primitives) leave the prism.
RayExit exitOf(const TraceResult &r, const Segment *first, std::size_t count, bool propagation)
{
    RayExit e;
    const std::size_t arrow = propagation ? 2 : 0;
    if (r.end != TraceEnd::Emerged || count <= arrow)
        return e;
    e.emerged = true;
    e.segment = count - 1 - arrow;
    e.from = {first[e.segment].x1, first[e.segment].y1};
    e.direction = r.emergentDirection;
    return e;
}

RayMeasures shownRay(const SceneState &state, double wavelength, TraceMeasures m)
{
    if (prismIndexHidden(state))
        hideIndexMeasures(m);
    return {wavelength, m};
}

// The paths the words need, from the drawn rays when they hold them (white light's 401 hold both
// ends of the spectrum), traced beside them otherwise.
void describePaths(SceneFigure &f)
{
    const auto pathAt = [&f](double wavelength) {
        if (const FigureRay *ray = f.rayAt(wavelength))
            return ray->path;
        ++f.traces;
        return tracePath(f.state, wavelength);
    };
    if (describesSpread(f.state)) {
        f.paths.red = pathAt(kMaxWavelength);
        f.paths.violet = pathAt(kMinWavelength);
    } else {
        f.paths.chosen = pathAt(f.state.wavelength);
    }
}

} // namespace

const FigureRay *SceneFigure::rayAt(double wavelength) const
{
    for (const FigureRay &r : rays)
        if (r.radiation.wavelength == wavelength)
            return &r;
    return nullptr;
}

double clampedIncidence(const SceneState &state)
{
    TraceInput in;
    in.apexAngle = state.apexAngle;
    in.incidenceAngle = state.incidenceAngle;
    return computeLayout(in, nullptr).incidenceAngle;
}

SceneFigure traceFigure(const SceneState &state, const SpectrumColours *spectrum)
{
    SceneFigure f;
    f.state = state;
    f.state.incidenceAngle = clampedIncidence(state);
    f.whiteLight = spectrum && state.source == SourceType::WhiteLight;
    const std::vector<Radiation> rays = f.whiteLight ? whiteLightRadiations(*spectrum) : sceneRadiations(state);
    if (!state.blackBackground || f.whiteLight)
        f.line1Colour = state.blackBackground ? palette::White : palette::Black;
    else if (state.source == SourceType::Monochromatic)
        f.line1Colour = rays.front().colour;
    if (rays.empty()) {
        TraceInput in = traceInputFor(f.state, {double(state.wavelength), palette::White});
        f.layout = computeLayout(in, nullptr);
    } else {
        f.layout = sharedPrimitives(f.state, rays, f.primitives);
    }
    f.rays.reserve(rays.size());
    f.measures.reserve(rays.size() + 1);
    f.segments.reserve(rays.size() * 6);
    TraceResult result;
    result.segments.reserve(64);
    for (const Radiation &r : rays) {
        const TraceInput in = traceInputFor(f.state, r);
        TraceRay(in, result, false);
        ++f.traces;
        FigureRay ray{r, f.segments.size(), result.segments.size(), {}, pathOf(result), {}, 1.0};
        f.segments.insert(f.segments.end(), result.segments.begin(), result.segments.end());
        ray.exit = exitOf(result, result.segments.data(), result.segments.size(), in.showPropagation);
        f.rays.push_back(ray);
        f.measures.push_back(shownRay(f.state, r.wavelength, result.measures));
    }
    describePaths(f);
    measureFigure(f, state.wavelength);
    return f;
}

void measureFigure(SceneFigure &f, int wavelength)
{
    f.state.wavelength = wavelength;
    f.measures.resize(f.rays.size());
    f.measuredWavelength = minimumWavelength(f.state);
    TraceInput in = traceInputFor(f.state, {f.measuredWavelength, palette::White});
    in.showNormals = false;
    in.showPropagation = false;
    TraceRay(in, f.measuredRay, true);
    ++f.traces;
    const std::size_t shared = f.measuredRay.sharedCount;
    f.measuredExit =
        exitOf(f.measuredRay, f.measuredRay.segments.data() + shared, f.measuredRay.segments.size() - shared, false);
    if (f.measuredExit.emerged)
        f.measuredExit.segment += shared;
    // The white-light preview draws five rays: the chosen one is measured beside them.
    if (f.state.source == SourceType::WhiteLight && !f.rayAt(f.measuredWavelength))
        f.measures.push_back(shownRay(f.state, f.measuredWavelength, f.measuredRay.measures));
}

} // namespace vorlac
