#include "spectra/observedspectrum.h"

#include "model/linelamps.h"

#include <algorithm>
#include <cmath>

namespace vorlac
{

namespace
{

// Dark lines whose depth is below this are too faint to be listed as seen.
constexpr double kVisibleDepth = 0.1;
// Line power (relative to the lamp's strongest) below which nothing shows.
constexpr double kVisiblePower = 1e-3;
// The narrowest a dark line is drawn, in strip pixels (sigma): most of its depth in one pixel.
constexpr double kLeastDarkSigmaPx = 0.35;

Rgb scaled(Rgb c, double k)
{
    auto s = [k](int v) { return int(std::lround(std::clamp(v * k, 0.0, 255.0))); };
    return makeRgb(s(redOf(c)), s(greenOf(c)), s(blueOf(c)));
}

QString decimalText(double v, int decimals)
{
    return QString::number(v, 'f', decimals).replace(QLatin1Char('.'), QLatin1Char(','));
}

} // namespace

int StripRange::pixelOf(double positionMm) const
{
    return int(std::floor((positionMm - fromMm) / pixelMm()));
}

std::vector<RulerTick> rulerTicks(const StripRange &range, double minorSpacingPx)
{
    std::vector<RulerTick> ticks;
    const double pixelMm = range.pixelMm();
    if (!(pixelMm > 0.0) || range.widthPx <= 0)
        return ticks;
    const double least = std::max(minorSpacingPx, 1.0) * pixelMm;
    double decade = std::pow(10.0, std::floor(std::log10(least)));
    double step = decade;
    for (const double m : {1.0, 2.0, 5.0, 10.0})
        if (decade * m >= least) {
            step = decade * m;
            break;
        }
    if (step >= decade * 10.0) {
        decade *= 10.0;
        step = decade;
    }
    const int majorEvery = step / decade > 4.0 ? 2 : 5;
    const double major = step * majorEvery;
    const int decimals = std::max(0, -int(std::floor(std::log10(major) + 1e-9)));
    const long long first = (long long)std::ceil(range.fromMm / step - 1e-9);
    const long long last = (long long)std::floor(range.toMm / step + 1e-9);
    for (long long k = first; k <= last; ++k) {
        RulerTick t;
        t.mm = double(k) * step;
        t.x = (t.mm - range.fromMm) / pixelMm;
        t.major = k % majorEvery == 0;
        if (t.major)
            t.label = k == 0 ? QStringLiteral("0") : decimalText(t.mm, decimals);
        ticks.push_back(t);
    }
    return ticks;
}

ScreenSpectrum::ScreenSpectrum(const SceneState &state, const ScreenPlacement &placement, const ScreenSource &source,
                               const Absorber &absorber)
    : m_state(state), m_source(source), m_absorber(absorber), m_frame(screenFrame(state, placement))
{
    if (!m_frame)
        return;
    m_dispersion = ScreenDispersion(state, *m_frame);
    if (m_dispersion.empty())
        return;
    auto placeDark = [this](const DarkLine &d, const char *label) {
        const std::optional<double> at = positionOf(d.wavelength);
        if (!at || d.wavelength < m_dispersion.shortestWavelength() || d.wavelength > m_dispersion.longestWavelength())
            return;
        const double sigma = d.fwhm * kFwhmToSigma * std::abs(m_dispersion.slope(d.wavelength));
        m_dark.push_back({*at, std::max(sigma, 1e-9), d.depth, d.wavelength, label});
    };
    const std::vector<DarkLine> own = sourceDarkLines(source);
    for (std::size_t i = 0; i < own.size(); ++i)
        placeDark(own[i], source.kind == ScreenSourceKind::Sun ? fraunhoferLines()[i].designation : nullptr);
    for (const DarkLine &d : absorberDarkLines(absorber))
        placeDark(d, nullptr);
    if (source.kind == ScreenSourceKind::Lines)
        for (const SpectralLine &l : source.lines)
            if (const std::optional<double> at = positionOf(l.wavelength))
                m_landedLines.push_back({*at, l});
}

StripRange ScreenSpectrum::defaultRange(int widthPx) const
{
    StripRange r;
    r.widthPx = std::max(widthPx, 1);
    if (m_dispersion.empty())
        return r;
    const double low = m_dispersion.lowestPosition(), high = m_dispersion.highestPosition();
    const double margin = std::max((high - low) / 10.0, 1.0);
    r.fromMm = low - margin;
    r.toMm = high + margin;
    return r;
}

std::optional<double> ScreenSpectrum::positionOf(double wavelength) const
{
    if (!m_frame)
        return std::nullopt;
    const ScreenHit hit = screenHitAt(m_state, *m_frame, wavelength);
    if (hit.status != ScreenLanding::Lands)
        return std::nullopt;
    return hit.positionMm;
}

std::vector<Rgb> ScreenSpectrum::strip(const StripRange &range) const
{
    const int w = std::max(range.widthPx, 0);
    std::vector<Rgb> pixels(std::size_t(w), palette::Black);
    const double pixelMm = range.pixelMm();
    if (m_dispersion.empty() || !(pixelMm > 0.0))
        return pixels;

    if (m_source.kind == ScreenSourceKind::Lines) {
        // Each line's energy goes to the one pixel it lands in, however narrow the pixel.
        std::vector<double> power(std::size_t(w), 0.0), strongest(std::size_t(w), 0.0), colourOf(std::size_t(w), 0.0);
        for (const auto &[at, line] : m_landedLines) {
            const int x = range.pixelOf(at);
            if (x < 0 || x >= w)
                continue;
            const double p = line.intensity * absorberTransmission(m_absorber, line.wavelength);
            const std::size_t i = std::size_t(x);
            power[i] += p;
            if (p > strongest[i]) {
                strongest[i] = p;
                colourOf[i] = line.wavelength;
            }
        }
        for (std::size_t i = 0; i < pixels.size(); ++i)
            if (power[i] >= kVisiblePower)
                pixels[i] = lineColour(colourOf[i], std::min(power[i], 1.0));
        return pixels;
    }

    // Continuous spectrum: the smooth part at the pixel's centre, times what the dark lines leave
    // of the pixel, integrated over it exactly (in pixels along the screen).
    std::vector<double> removed(std::size_t(w), 0.0);
    for (const PlacedDark &d : m_dark) {
        const double centre = (d.positionMm - range.fromMm) / pixelMm;
        // A dark line narrower than a pixel darkens its pixel as a slit's image would, rather than
        // by its sliver of the pixel: a bright line puts all its light in its pixel likewise.
        const double sigma = std::max(d.sigmaMm / pixelMm, kLeastDarkSigmaPx);
        const int x0 = std::max(0, int(std::floor(centre - 6.0 * sigma)));
        const int x1 = std::min(w - 1, int(std::floor(centre + 6.0 * sigma)));
        for (int x = x0; x <= x1; ++x)
            removed[std::size_t(x)] += darkLineRemoval(centre, sigma, d.depth, x, x + 1.0);
    }
    for (int x = 0; x < w; ++x) {
        const std::optional<double> lambda = m_dispersion.wavelengthAt(range.pixelCentre(x));
        if (!lambda)
            continue;
        const double v = continuumIntensity(m_source, *lambda) * absorberSmoothTransmission(m_absorber, *lambda) *
                         std::max(0.0, 1.0 - removed[std::size_t(x)]);
        Rgb base = palette::Black;
        WavelengthColour(int(std::lround(*lambda)), base);
        pixels[std::size_t(x)] = scaled(base, v);
    }
    return pixels;
}

CursorReading ScreenSpectrum::read(double positionMm) const
{
    CursorReading r;
    r.positionMm = positionMm;
    // A hidden absorber's dark lines would give its gas away under the cursor as surely as a
    // hidden lamp's bright ones.
    const bool lampHidden = m_source.kind == ScreenSourceKind::Lines && m_source.hidden;
    const bool absorberHidden = m_absorber.kind != AbsorberKind::None && m_absorber.hidden;
    if (!lampHidden && !absorberHidden)
        r.wavelength = m_dispersion.wavelengthAt(positionMm);
    return r;
}

std::vector<ObservedLine> ScreenSpectrum::lines() const
{
    std::vector<ObservedLine> bright, dark;
    for (const auto &[at, line] : m_landedLines) {
        if (line.intensity * absorberTransmission(m_absorber, line.wavelength) < kVisiblePower)
            continue;
        ObservedLine o;
        o.positionMm = at;
        if (!m_source.hidden)
            o.wavelength = line.wavelength;
        bright.push_back(o);
    }
    if (m_source.kind != ScreenSourceKind::Lines) {
        for (const PlacedDark &d : m_dark) {
            if (d.depth < kVisibleDepth)
                continue;
            ObservedLine o;
            o.positionMm = d.positionMm;
            o.dark = true;
            if (d.label || !m_absorber.hidden)
                o.wavelength = d.wavelength;
            if (d.label)
                o.label = QString::fromUtf8(d.label);
            dark.push_back(o);
        }
    }
    std::vector<ObservedLine> all;
    for (std::vector<ObservedLine> *kind : {&bright, &dark}) {
        std::sort(kind->begin(), kind->end(),
                  [](const ObservedLine &a, const ObservedLine &b) { return a.positionMm < b.positionMm; });
        for (std::size_t i = 0; i < kind->size(); ++i)
            (*kind)[i].rank = int(i) + 1;
        all.insert(all.end(), kind->begin(), kind->end());
    }
    std::stable_sort(all.begin(), all.end(),
                     [](const ObservedLine &a, const ObservedLine &b) { return a.positionMm < b.positionMm; });
    return all;
}

} // namespace vorlac
