#include "analysis/measuretexts.h"

#include "common/numberpattern.h"
#include "model/linelamps.h"
#include "model/radiations.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vorlac
{

std::vector<RayMeasures> shownMeasures(const SceneState &state, const std::vector<RayMeasures> &measures)
{
    std::vector<RayMeasures> rays;
    if (state.source == SourceType::FiveRadiations) {
        rays = measures;
    } else if (state.source == SourceType::LineLamp) {
        rays = measures;
        const double cursor = state.wavelength;
        auto nearer = [cursor](const RayMeasures &a, const RayMeasures &b) {
            const double da = std::abs(a.wavelength - cursor), db = std::abs(b.wavelength - cursor);
            return da != db ? da < db : a.wavelength < b.wavelength;
        };
        std::stable_sort(rays.begin(), rays.end(), nearer);
        if (rays.size() > kShownLampLines)
            rays.resize(kShownLampLines);
        std::sort(rays.begin(), rays.end(),
                  [](const RayMeasures &a, const RayMeasures &b) { return a.wavelength < b.wavelength; });
    } else {
        for (const RayMeasures &m : measures)
            if (m.wavelength == state.wavelength) {
                rays.push_back(m);
                break;
            }
    }
    return rays;
}

std::vector<RayMeasures> lampLineMeasures(const std::vector<RayMeasures> &measures)
{
    std::vector<RayMeasures> rays = measures;
    std::stable_sort(rays.begin(), rays.end(),
                     [](const RayMeasures &a, const RayMeasures &b) { return a.wavelength < b.wavelength; });
    return rays;
}

std::size_t nearestRay(const std::vector<RayMeasures> &rays, double cursor)
{
    std::size_t best = 0;
    for (std::size_t k = 1; k < rays.size(); ++k)
        if (std::abs(rays[k].wavelength - cursor) < std::abs(rays[best].wavelength - cursor) ||
            (std::abs(rays[k].wavelength - cursor) == std::abs(rays[best].wavelength - cursor) &&
             rays[k].wavelength < rays[best].wavelength))
            best = k;
    return best;
}

double minimumWavelength(const SceneState &state)
{
    if (state.source != SourceType::FiveRadiations && state.source != SourceType::LineLamp)
        return state.wavelength;
    double best = 0;
    for (const Radiation &r : sceneRadiations(state))
        if (best == 0 || std::abs(r.wavelength - state.wavelength) < std::abs(best - state.wavelength) ||
            (std::abs(r.wavelength - state.wavelength) == std::abs(best - state.wavelength) && r.wavelength < best))
            best = r.wavelength;
    return best;
}

QString anglePattern(int decimals)
{
    return QStringLiteral("0.") + QString(std::clamp(decimals, kMinAngleDecimals, kMaxAngleDecimals), u'0');
}

QString angleText(double degrees, const QLocale &locale, int decimals)
{
    return formatNumberPattern(degrees, anglePattern(decimals), locale);
}

double roundedAngle(double degrees, int decimals)
{
    // Through the text itself, so that the table holds what the panel shows.
    bool ok = false;
    const double v = formatNumberPattern(degrees, anglePattern(decimals), QLocale::c()).toDouble(&ok);
    return ok ? v : degrees;
}

QString indexValueText(double n, const QLocale &locale)
{
    if (std::isnan(n))
        return QStringLiteral("?"); // an unknown glass
    return formatNumberPattern(n, QString(kPatternMeasuredIndex), locale);
}

QString wholeText(int value, const QLocale &locale)
{
    return formatNumberPattern(value, QString(kPatternWhole), locale);
}

QString wavelengthValueText(double nm, const QLocale &locale, bool lampLine)
{
    if (!lampLine && nm == std::floor(nm))
        return wholeText(int(nm), locale);
    return formatNumberPattern(nm, QStringLiteral("0.000"), locale);
}

QString lampTitle(const SceneState &state)
{
    if (state.lampHidden)
        return QStringLiteral("Lampe inconnue");
    return QStringLiteral("Lampe spectrale (%1)").arg(lineLampName(state.lamp));
}

int hiddenLineNumber(const SceneState &state, double nm)
{
    if (state.source != SourceType::LineLamp || !state.lampHidden || state.lamp < 0 || state.lamp >= lineLampCount())
        return 0;
    const auto lines = lineLamps()[std::size_t(state.lamp)].lines;
    for (std::size_t k = 0; k < lines.size(); ++k)
        if (lines[k].wavelength == nm)
            return int(k) + 1;
    return 0;
}

QString lineLabel(const SceneState &state, double nm, const QLocale &locale)
{
    const int rank = hiddenLineNumber(state, nm);
    return rank > 0 ? QStringLiteral("raie %1").arg(rank)
                    : wavelengthValueText(nm, locale, state.source == SourceType::LineLamp);
}

std::vector<RayMeasures> withHiddenLines(const SceneState &state, std::vector<RayMeasures> rays)
{
    for (RayMeasures &r : rays)
        if (const int rank = hiddenLineNumber(state, r.wavelength))
            r.wavelength = rank;
    return rays;
}

MeasureLineTexts measureLineTexts(const RayMeasures &ray, const QLocale &locale, int angleDecimals)
{
    // Not a number: an angle that gives an unknown glass's index away.
    const auto angle = [&](double v) {
        return std::isnan(v) ? QStringLiteral("?") : angleText(v, locale, angleDecimals);
    };
    const TraceMeasures &m = ray.measures;
    MeasureLineTexts t;
    t.wavelength = wavelengthValueText(ray.wavelength, locale);
    t.prismIndex = indexValueText(m.prismIndex, locale);
    t.outsideIndex = indexValueText(m.outsideIndex, locale);
    t.incidence = angle(m.incidence);
    t.criticalAngle = m.criticalAngle ? angle(*m.criticalAngle) : QStringLiteral("—");
    switch (m.limit) {
    case EmergenceLimit::Angle:
        // Emergence from the limit upwards; with the outside denser, entry up to it.
        t.limitIncidence =
            std::isnan(m.limitIncidence)
                ? angle(m.limitIncidence)
                : (m.criticalAngle ? QStringLiteral("≥ ") : QStringLiteral("≤ ")) + angle(m.limitIncidence);
        break;
    case EmergenceLimit::Always:
        t.limitIncidence = QStringLiteral("toute");
        break;
    case EmergenceLimit::Never:
        t.limitIncidence = QStringLiteral("aucune");
        break;
    }
    if (!m.entered) {
        t.note = QStringLiteral("réflexion sur la face d'entrée");
        t.noteColumn = 0;
        return t;
    }
    t.refraction = angle(m.refraction);
    if (m.firstFace != TraceFace::Exit) {
        t.note = QStringLiteral("atteint d'abord la base");
        t.noteColumn = 1;
        return t;
    }
    t.exitIncidence = angle(m.exitIncidence);
    if (!m.direct) {
        t.note =
            std::abs(m.exitIncidence) >= 90.0 ? QStringLiteral("rayon rasant") : QStringLiteral("réflexion totale");
        t.noteColumn = 2;
        return t;
    }
    t.emergence = angle(m.emergence);
    t.deviation = angle(m.deviation);
    return t;
}

QString measuredRaysText(const SceneState &state, const QLocale &locale)
{
    switch (state.source) {
    case SourceType::Monochromatic:
        return QStringLiteral("Lumière monochromatique de %1 nm").arg(wholeText(state.wavelength, locale));
    case SourceType::FiveRadiations:
        return QStringLiteral("Les cinq radiations tracées");
    case SourceType::LineLamp:
        return lampTitle(state) + QStringLiteral(" : toutes ses raies");
    case SourceType::WhiteLight:
        break;
    }
    return QStringLiteral("Lumière blanche : rayon du spectre à λ = %1 nm").arg(wholeText(state.wavelength, locale));
}

QString minimumDeviationText(const MinimumDeviation &m, double lambda, SourceType source, const QLocale &locale,
                             int angleDecimals, int hiddenLine)
{
    const QString line =
        hiddenLine > 0
            ? QStringLiteral(" pour la raie %1").arg(hiddenLine)
            : QStringLiteral(" à %1 nm").arg(wavelengthValueText(lambda, locale, source == SourceType::LineLamp));
    const QString at = line +
                       (source == SourceType::FiveRadiations ? QStringLiteral(" (radiation la plus proche du curseur)")
                        : source == SourceType::LineLamp     ? QStringLiteral(" (raie la plus proche du curseur)")
                                                             : QString()) +
                       QStringLiteral(" : ");
    if (!m.found)
        return QStringLiteral("Minimum de déviation") + at +
               QStringLiteral("le rayon ne sort par la face de sortie à aucune incidence.");
    if (m.uniform)
        return QStringLiteral("Minimum de déviation") + at + QStringLiteral("même indice dedans et dehors, D = 0.");
    // With the outside denser D is negative and its extremum is the smallest |D|.
    const QString head = m.deviation < 0 ? QStringLiteral("|D| minimale") : QStringLiteral("Minimum de déviation");
    return head + at + QStringLiteral("Dm = ") + angleText(m.deviation, locale, angleDecimals) +
           QStringLiteral("° pour i = ") + angleText(m.incidence, locale, angleDecimals) +
           QStringLiteral("°\nn = sin((A + Dm)/2) / sin(A/2) = ") + indexValueText(m.relativeIndex, locale);
}

} // namespace vorlac
