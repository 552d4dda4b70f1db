#include "analysis/measuretexts.h"

#include "render/scenerenderer.h"

#include <cmath>

namespace vorlac
{

std::vector<RayMeasures> shownMeasures(const SceneState &state, const ScenePicture &picture)
{
    std::vector<RayMeasures> rays;
    if (state.source == SourceType::FiveRadiations) {
        rays = picture.measures;
    } else if (const TraceMeasures *m = measuresAt(picture, state.wavelength)) {
        rays.push_back({state.wavelength, *m});
    }
    return rays;
}

QString angleText(double degrees, const QLocale &locale)
{
    QString t = locale.toString(degrees, 'f', 1);
    if (t.startsWith(locale.negativeSign()) && locale.toDouble(t) == 0.0)
        t.remove(0, locale.negativeSign().size()); // no "-0,0"
    return t;
}

namespace
{

QString indexValue(double n, const QLocale &locale)
{
    return locale.toString(n, 'f', 6);
}

} // namespace

MeasureLineTexts measureLineTexts(const RayMeasures &ray, const QLocale &locale)
{
    const TraceMeasures &m = ray.measures;
    MeasureLineTexts t;
    t.wavelength = QString::number(ray.wavelength);
    t.prismIndex = indexValue(m.prismIndex, locale);
    t.outsideIndex = indexValue(m.outsideIndex, locale);
    t.incidence = angleText(m.incidence, locale);
    t.criticalAngle = m.criticalAngle ? angleText(*m.criticalAngle, locale) : QStringLiteral("—");
    switch (m.limit) {
    case EmergenceLimit::Angle:
        // Emergence from the limit upwards; with the outside denser, entry up to it.
        t.limitIncidence =
            (m.criticalAngle ? QStringLiteral("≥ ") : QStringLiteral("≤ ")) + angleText(m.limitIncidence, locale);
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
    t.refraction = angleText(m.refraction, locale);
    if (m.firstFace != TraceFace::Exit) {
        t.note = QStringLiteral("atteint d'abord la base");
        t.noteColumn = 1;
        return t;
    }
    t.exitIncidence = angleText(m.exitIncidence, locale);
    if (!m.direct) {
        t.note =
            std::abs(m.exitIncidence) >= 90.0 ? QStringLiteral("rayon rasant") : QStringLiteral("réflexion totale");
        t.noteColumn = 2;
        return t;
    }
    t.emergence = angleText(m.emergence, locale);
    t.deviation = angleText(m.deviation, locale);
    return t;
}

QString minimumDeviationText(const MinimumDeviation &m, int lambda, const QLocale &locale)
{
    const QString at = QStringLiteral(" à %1 nm : ").arg(lambda);
    if (!m.found)
        return QStringLiteral("Minimum de déviation") + at +
               QStringLiteral("le rayon ne sort par la face de sortie à aucune incidence.");
    if (m.uniform)
        return QStringLiteral("Minimum de déviation") + at + QStringLiteral("même indice dedans et dehors, D = 0.");
    // With the outside denser D is negative and its extremum is the smallest |D|.
    const QString head = m.deviation < 0 ? QStringLiteral("|D| minimale") : QStringLiteral("Minimum de déviation");
    return head + at + QStringLiteral("Dm = ") + angleText(m.deviation, locale) + QStringLiteral("° pour i = ") +
           angleText(m.incidence, locale) + QStringLiteral("°\nn = sin((A + Dm)/2) / sin(A/2) = ") +
           locale.toString(m.relativeIndex, 'f', 4);
}

} // namespace vorlac
