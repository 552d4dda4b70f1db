#include "spectra/screenfigure.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vorlac
{

namespace
{

// The deepest transmission of a dark line over [wavelength - 0.5, wavelength + 0.5].
double deepestWithin(const DarkLine &line, double wavelength)
{
    const double outside = std::max(0.0, std::abs(wavelength - line.wavelength) - 0.5);
    const double u = outside / (line.fwhm * kFwhmToSigma);
    return 1.0 - line.depth * std::exp(-0.5 * u * u);
}

Rgb scaled(Rgb colour, double k)
{
    const auto part = [k](int c) { return int(std::lround(c * k)); };
    return makeRgb(part(redOf(colour)), part(greenOf(colour)), part(blueOf(colour)));
}

} // namespace

namespace
{

// The brightness with the dark lines gathered once for every ray.
double brightness(const ScreenSource &source, const Absorber &absorber, const std::vector<DarkLine> &lines,
                  double wavelength)
{
    double v = continuumIntensity(source, wavelength) * absorberSmoothTransmission(absorber, wavelength);
    for (const DarkLine &d : lines)
        v *= deepestWithin(d, wavelength);
    return std::clamp(v, 0.0, 1.0);
}

std::vector<DarkLine> darkLines(const ScreenSource &source, const Absorber &absorber)
{
    std::vector<DarkLine> lines = sourceDarkLines(source);
    const std::vector<DarkLine> absorbed = absorberDarkLines(absorber);
    lines.insert(lines.end(), absorbed.begin(), absorbed.end());
    return lines;
}

} // namespace

double drawnRayBrightness(const ScreenSource &source, const Absorber &absorber, double wavelength)
{
    return brightness(source, absorber, darkLines(source, absorber), wavelength);
}

void lightFigure(SceneFigure &figure, const ScreenSource &source, const Absorber &absorber)
{
    if (figure.state.source != SourceType::WhiteLight)
        return;
    const std::vector<DarkLine> lines = darkLines(source, absorber);
    for (FigureRay &ray : figure.rays) {
        const double k = brightness(source, absorber, lines, ray.radiation.wavelength);
        if (k == 1.0)
            continue;
        ray.brightness = k;
        ray.radiation.colour = scaled(ray.radiation.colour, k);
        for (std::size_t i = ray.first; i < ray.first + ray.count; ++i)
            if (!figure.segments[i].dashed)
                figure.segments[i].colour = ray.radiation.colour;
    }
}

void screenFigure(SceneFigure &figure, const ScreenSettings &settings)
{
    if (!settings.shown)
        return;
    lightFigure(figure, screenSourceOf(figure.state, settings), settings.absorber);
    if (const std::optional<ScreenFrame> frame = screenFrame(figure.state, settings.placement))
        stopRays(figure, screenStop(*frame));
}

} // namespace vorlac
