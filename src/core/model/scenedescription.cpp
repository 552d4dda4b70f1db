#include "model/scenedescription.h"

#include "model/colour.h"
#include "model/constants.h"
#include "model/glasscatalogue.h"
#include "model/materials.h"
#include "model/raytracer.h"

#include <QStringList>

#include <cmath>
#include <optional>

namespace vorlac
{

namespace
{

QString degrees(double value, const QLocale &locale)
{
    // -0,0 reads badly; a value that rounds to zero is zero.
    if (std::abs(value) < 0.05)
        value = 0.0;
    return locale.toString(value, 'f', 1) + QStringLiteral("°");
}

struct Passage {
    TraceEnd end = TraceEnd::Emerged;
    int reflections = 0;
    TraceFace lastFace = TraceFace::Exit;
    std::optional<double> refraction, emergence, deviation;
};

// The angles again from the indices and the clamped incidence: the trace only tells how the ray went.
Passage passage(const SceneState &state, double wavelength, const TracePath &path)
{
    const double outside = sceneOutsideIndex(state, wavelength);
    const double prism = scenePrismIndex(state, wavelength);
    Passage p;
    p.end = path.end;
    p.reflections = path.reflections;
    p.lastFace = path.lastFace;
    if (path.end == TraceEnd::ReflectedAtEntry)
        return p;
    const double i = state.incidenceAngle;
    const double sinR = outside * std::sin(i * kDegToRad) / prism;
    if (std::abs(sinR) > 1.0)
        return p;
    const double r = std::asin(sinR) * kRadToDeg;
    if (!prismIndexHidden(state)) // with i, r gives an unknown glass's index away
        p.refraction = r;
    if (path.end != TraceEnd::Emerged || path.reflections != 0 || path.lastFace != TraceFace::Exit)
        return p;
    const double sinE = prism * std::sin((state.apexAngle - r) * kDegToRad) / outside;
    if (std::abs(sinE) > 1.0)
        return p;
    p.emergence = std::asin(sinE) * kRadToDeg;
    p.deviation = i + *p.emergence - state.apexAngle;
    return p;
}

SceneState clamped(SceneState state)
{
    TraceInput in;
    in.apexAngle = state.apexAngle;
    in.incidenceAngle = state.incidenceAngle;
    state.incidenceAngle = computeLayout(in, nullptr).incidenceAngle;
    return state;
}

QString passageText(const Passage &p, const QLocale &locale)
{
    if (p.end == TraceEnd::ReflectedAtEntry)
        return QStringLiteral("réfléchi par la face d'entrée");
    QStringList parts;
    if (p.refraction)
        parts << QStringLiteral("réfraction ") + degrees(*p.refraction, locale);
    if (p.deviation) {
        parts << QStringLiteral("émergence ") + degrees(*p.emergence, locale);
        parts << QStringLiteral("déviation ") + degrees(*p.deviation, locale);
        return parts.join(QStringLiteral(", "));
    }
    if (p.reflections == 1)
        parts << QStringLiteral("une réflexion totale");
    else if (p.reflections > 1)
        parts << QStringLiteral("%1 réflexions totales").arg(p.reflections);
    if (p.end == TraceEnd::SegmentLimit)
        parts << QStringLiteral("rayon piégé dans le vorlac");
    else if (p.lastFace == TraceFace::Base || p.end == TraceEnd::Vertical) // straight down, through the base
        parts << QStringLiteral("sortie par la base");
    else if (p.lastFace == TraceFace::Entry)
        parts << QStringLiteral("sortie par la face d'entrée");
    else
        parts << QStringLiteral("sortie par la face de sortie");
    return parts.join(QStringLiteral(", "));
}

} // namespace

TracePath pathOf(const TraceResult &trace)
{
    return {trace.end, trace.reflections, trace.lastFace};
}

TracePath tracePath(const SceneState &state, double wavelength)
{
    TraceInput in;
    in.apexAngle = state.apexAngle;
    in.incidenceAngle = state.incidenceAngle;
    in.prismIndex = scenePrismIndex(state, wavelength);
    in.outsideIndex = sceneOutsideIndex(state, wavelength);
    return pathOf(TraceRay(in));
}

bool describesSpread(const SceneState &state)
{
    return state.source != SourceType::Monochromatic;
}

QString describeRadiation(const SceneState &state, int wavelength, const QLocale &locale)
{
    const SceneState s = clamped(state);
    return passageText(passage(s, wavelength, tracePath(s, wavelength)), locale);
}

QString describeScene(const SceneState &state, const QLocale &locale)
{
    const SceneState s = clamped(state);
    ScenePaths paths;
    if (describesSpread(s)) {
        paths.red = tracePath(s, kMaxWavelength);
        paths.violet = tracePath(s, kMinWavelength);
    } else {
        paths.chosen = tracePath(s, s.wavelength);
    }
    return describeScene(s, paths, locale);
}

QString describeScene(const SceneState &state, const ScenePaths &paths, const QLocale &locale)
{
    QString text = QStringLiteral("Incidence ") + degrees(state.incidenceAngle, locale) + QStringLiteral(", ");
    if (!describesSpread(state))
        return text + passageText(passage(state, state.wavelength, paths.chosen), locale) +
               QStringLiteral(" (%1 nm)").arg(state.wavelength);
    text += state.source == SourceType::WhiteLight ? QStringLiteral("lumière blanche : ")
            : state.source == SourceType::LineLamp
                ? (state.lampHidden ? QStringLiteral("lampe inconnue : ") : QStringLiteral("lampe spectrale : "))
                : QStringLiteral("cinq radiations : ");
    const Passage red = passage(state, kMaxWavelength, paths.red);
    const Passage violet = passage(state, kMinWavelength, paths.violet);
    if (red.deviation && violet.deviation)
        return text + QStringLiteral("déviation de %1 (%2 nm) à %3 (%4 nm)")
                          .arg(degrees(*red.deviation, locale))
                          .arg(kMaxWavelength)
                          .arg(degrees(*violet.deviation, locale))
                          .arg(kMinWavelength);
    return text + QStringLiteral("%1 nm : ").arg(kMaxWavelength) + passageText(red, locale) +
           QStringLiteral(" ; %1 nm : ").arg(kMinWavelength) + passageText(violet, locale);
}

} // namespace vorlac
