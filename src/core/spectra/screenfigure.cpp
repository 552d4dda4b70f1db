#include "spectra/screenfigure.h"

#include <cmath>

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

double drawnRayBrightness(const ScreenSource &source, const Absorber &absorber, double wavelength)
{
    double v = continuumIntensity(source, wavelength) * absorberSmoothTransmission(absorber, wavelength);
    for (const DarkLine &d : sourceDarkLines(source))
        v *= deepestWithin(d, wavelength);
    for (const DarkLine &d : absorberDarkLines(absorber))
        v *= deepestWithin(d, wavelength);
    return std::clamp(v, 0.0, 1.0);
}

void lightFigure(SceneFigure &figure, const ScreenSource &source, const Absorber &absorber)
{
    if (figure.state.source != SourceType::WhiteLight)
        return;
    for (FigureRay &ray : figure.rays) {
        const double k = drawnRayBrightness(source, absorber, ray.radiation.wavelength);
        if (k == 1.0)
            continue;
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
