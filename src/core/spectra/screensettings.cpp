#include "spectra/screensettings.h"

#include "common/numberpattern.h"

#include <algorithm>
#include <cmath>

namespace vorlac
{

ScreenSettings settingsWithinLimits(ScreenSettings settings)
{
    ScreenPlacement &p = settings.placement;
    p.distanceMm = std::clamp(p.distanceMm, kScreenMinDistanceMm, kScreenMaxDistanceMm);
    p.turnDegrees = std::clamp(p.turnDegrees, -kScreenMaxTurnDegrees, kScreenMaxTurnDegrees);
    const Absorber named{settings.absorber.kind, settings.absorber.row, false};
    const std::vector<Absorber> choices = absorberChoices();
    if (std::find(choices.begin(), choices.end(), named) == choices.end())
        settings.absorber = Absorber{};
    if (settings.absorber.kind == AbsorberKind::None)
        settings.absorber.hidden = false;
    return settings;
}

ScreenSource screenSourceOf(const SceneState &state, const ScreenSettings &settings)
{
    return settings.sun ? sunSource() : screenSourceFor(state);
}

int absorberChoiceRow(const Absorber &absorber)
{
    if (absorber.hidden && absorber.kind != AbsorberKind::None)
        return -1;
    const std::vector<Absorber> choices = absorberChoices();
    const auto it = std::find(choices.begin(), choices.end(), Absorber{absorber.kind, absorber.row, false});
    return it == choices.end() ? -1 : int(it - choices.begin());
}

Absorber unknownAbsorber(quint32 draw)
{
    const std::vector<Absorber> choices = absorberChoices();
    Absorber a = choices[1 + draw % quint32(choices.size() - 1)];
    a.hidden = true;
    return a;
}

QString cursorReadingText(const CursorReading &reading, double pixelMm)
{
    int decimals = 1;
    if (pixelMm > 0.0 && std::isfinite(pixelMm))
        decimals = std::clamp(int(std::ceil(-std::log10(pixelMm) - 1e-9)), 1, 3);
    const QString mm = formatNumberPattern(reading.positionMm, QStringLiteral("0.") + QString(decimals, u'0'));
    QString text = QStringLiteral("x = %1 mm").arg(mm);
    if (reading.wavelength)
        text += QStringLiteral(" ; λ = %1 nm").arg(formatNumberPattern(*reading.wavelength, QStringLiteral("0.0")));
    return text;
}

int lineAt(const std::vector<ObservedLine> &lines, double positionMm, double reachMm)
{
    int best = -1;
    for (int i = 0; i < int(lines.size()); ++i) {
        const double gap = std::abs(lines[std::size_t(i)].positionMm - positionMm);
        if (gap <= reachMm && (best < 0 || gap < std::abs(lines[std::size_t(best)].positionMm - positionMm)))
            best = i;
    }
    return best;
}

int nextLine(const std::vector<ObservedLine> &lines, double positionMm, int direction, double reachMm)
{
    const int n = int(lines.size());
    for (int k = 0; k < n; ++k) {
        const int i = direction > 0 ? k : n - 1 - k;
        const double ahead = (lines[std::size_t(i)].positionMm - positionMm) * (direction > 0 ? 1 : -1);
        if (ahead > reachMm)
            return i;
    }
    return -1;
}

QString observedLineText(const ObservedLine &line)
{
    QString text = line.dark ? QStringLiteral("raie sombre") : QStringLiteral("raie brillante");
    if (!line.label.isEmpty())
        text += QLatin1Char(' ') + line.label;
    if (line.wavelength)
        return text + QStringLiteral(", %1 nm").arg(formatNumberPattern(*line.wavelength, QStringLiteral("0.0")));
    return text + QStringLiteral(" n° %1").arg(line.rank);
}

StripRange zoomedRange(const StripRange &range, double factor, double aroundMm, const StripRange &whole)
{
    StripRange r = range;
    const double wholeSpan = whole.toMm - whole.fromMm;
    const double span = range.toMm - range.fromMm;
    if (!(factor > 0.0) || !(span > 0.0) || !(wholeSpan > 0.0))
        return r;
    const double newSpan = std::clamp(span / factor, std::min(kStripNarrowestMm, wholeSpan), wholeSpan);
    const double share = std::clamp((aroundMm - range.fromMm) / span, 0.0, 1.0);
    r.fromMm = std::clamp(aroundMm - share * newSpan, whole.fromMm, whole.toMm - newSpan);
    r.toMm = r.fromMm + newSpan;
    return r;
}

} // namespace vorlac
