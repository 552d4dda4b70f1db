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

Passage passage(const SceneState &state, int wavelength)
{
    TraceInput in;
    in.apexAngle = state.apexAngle;
    in.incidenceAngle = state.incidenceAngle;
    in.prismIndex = scenePrismIndex(state, wavelength);
    in.outsideIndex = sceneOutsideIndex(state, wavelength);
    const TraceResult trace = TraceRay(in);
    Passage p;
    p.end = trace.end;
    p.reflections = trace.reflections;
    p.lastFace = trace.lastFace;
    if (trace.end == TraceEnd::ReflectedAtEntry)
        return p;
    const double i = trace.layout.incidenceAngle;
    const double sinR = in.outsideIndex * std::sin(i * kDegToRad) / in.prismIndex;
    if (std::abs(sinR) > 1.0)
        return p;
    const double r = std::asin(sinR) * kRadToDeg;
    p.refraction = r;
    if (trace.end != TraceEnd::Emerged || trace.reflections != 0 || trace.lastFace != TraceFace::Exit)
        return p;
    const double sinE = in.prismIndex * std::sin((state.apexAngle - r) * kDegToRad) / in.outsideIndex;
    if (std::abs(sinE) > 1.0)
        return p;
    p.emergence = std::asin(sinE) * kRadToDeg;
    p.deviation = i + *p.emergence - state.apexAngle;
    return p;
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

QString describeRadiation(const SceneState &state, int wavelength, const QLocale &locale)
{
    return passageText(passage(state, wavelength), locale);
}

QString describeScene(const SceneState &state, const QLocale &locale)
{
    TraceInput in;
    in.apexAngle = state.apexAngle;
    in.incidenceAngle = state.incidenceAngle;
    const double incidence = computeLayout(in, nullptr).incidenceAngle;
    QString text = QStringLiteral("Incidence ") + degrees(incidence, locale) + QStringLiteral(", ");
    if (state.source == SourceType::Monochromatic)
        return text + describeRadiation(state, state.wavelength, locale) +
               QStringLiteral(" (%1 nm)").arg(state.wavelength);
    text += state.source == SourceType::WhiteLight ? QStringLiteral("lumière blanche : ")
            : state.source == SourceType::LineLamp
                ? (state.lampHidden ? QStringLiteral("lampe inconnue : ") : QStringLiteral("lampe spectrale : "))
                : QStringLiteral("cinq radiations : ");
    const Passage red = passage(state, kMaxWavelength);
    const Passage violet = passage(state, kMinWavelength);
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
