#include "exercises/measuresinsert.h"

#include "analysis/measuretexts.h"
#include "render/scenefigure.h"

namespace vorlac
{

QString measuresAsText(const SceneFigure &figure, const QLocale &locale)
{
    const SceneState &state = figure.state;
    QStringList lines{QStringLiteral("A = %1°").arg(wholeText(state.apexAngle, locale))};
    for (const RayMeasures &ray : shownMeasures(state, figure.measures)) {
        const MeasureLineTexts t = measureLineTexts(ray, locale);
        QStringList parts{QStringLiteral("n = ") + t.prismIndex, QStringLiteral("i = %1°").arg(t.incidence)};
        const std::pair<const char *, QString> angles[] = {
            {"r", t.refraction}, {"r'", t.exitIncidence}, {"i'", t.emergence}, {"D", t.deviation}};
        for (const auto &[name, value] : angles)
            if (!value.isEmpty())
                parts.append(QStringLiteral("%1 = %2°").arg(QLatin1String(name), value));
        if (!t.note.isEmpty())
            parts.append(t.note);
        lines.append(QStringLiteral("λ = %1 nm : %2").arg(t.wavelength, parts.join(QStringLiteral(" ; "))));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace vorlac
