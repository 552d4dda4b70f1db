#include "analysis/sweeps.h"

#include "analysis/minimumdeviation.h"
#include "model/glasscatalogue.h"
#include "model/materials.h"
#include "model/radiations.h"
#include "model/raytracer.h"

#include <cmath>

namespace vorlac
{

namespace
{

void append(Sweep &s, std::vector<double> line)
{
    if (int(s.lines.size()) < Sweep::kMaxLines)
        s.lines.push_back(std::move(line));
    else
        ++s.cut;
}

// lambda (or the line's number), D_min and n for each wavelength, as the tracer finds them.
Sweep minimumSweep(const SceneState &state, const std::vector<double> &wavelengths, bool numbered)
{
    Sweep s;
    s.titles = {numbered ? QStringLiteral("raie") : QStringLiteral("lambda (nm)"), QStringLiteral("Dmin (°)"),
                QStringLiteral("n")};
    const bool hidden = prismIndexHidden(state); // an unknown glass's index is the pupil's to compute
    if (hidden)
        s.titles.removeLast();
    for (std::size_t k = 0; k < wavelengths.size(); ++k) {
        const double lambda = wavelengths[k];
        const double n = scenePrismIndex(state, lambda);
        const double ne = sceneOutsideIndex(state, lambda);
        const MinimumDeviation m = findMinimumDeviation(state.apexAngle, n, ne);
        if (m.found && !m.uniform)
            append(s, hidden ? std::vector<double>{numbered ? double(k + 1) : lambda, m.deviation}
                             : std::vector<double>{numbered ? double(k + 1) : lambda, m.deviation, m.relativeIndex});
    }
    return s;
}

} // namespace

Sweep deviationSweep(const SceneState &state, double lambda, double step)
{
    Sweep s;
    s.titles = {QStringLiteral("i (°)"), QStringLiteral("D (°)")};
    if (!(step > 0) || !std::isfinite(step)) {
        s.problem = QStringLiteral("Le pas du balayage doit être un nombre positif.");
        return s;
    }
    const double n = scenePrismIndex(state, lambda);
    const double ne = sceneOutsideIndex(state, lambda);
    TraceResult r;
    TraceRay(rayOnlyInput(state.apexAngle, 90.0, n, ne), r);
    double from = -90.0, to = 90.0;
    switch (r.measures.limit) {
    case EmergenceLimit::Angle:
        (r.measures.criticalAngle ? from : to) = r.measures.limitIncidence;
        break;
    case EmergenceLimit::Always:
        break;
    case EmergenceLimit::Never:
        s.problem = QStringLiteral("Aucune incidence ne fait sortir le rayon par la face de sortie.");
        return s;
    }
    // A whole number of steps from the limit; the count, not a running sum, places each one.
    const long long count = static_cast<long long>(std::floor((to - from) / step + 1e-9));
    for (long long k = 0; k <= count; ++k) {
        const double i = from + double(k) * step;
        if (k == 0 && r.measures.limit == EmergenceLimit::Angle && r.measures.criticalAngle) {
            // The limit itself: the ray grazes out (i' = 90). The tracer, whose degree constants
            // are not exact, lets it out only some 1e-4 degree further, several tenths of a
            // degree of D away, so the grazing deviation is written as it is.
            append(s, {i, i + 90.0 - state.apexAngle});
        } else if (const std::optional<double> d = tracedDeviation(state.apexAngle, n, ne, i)) {
            append(s, {i, *d});
        }
    }
    if (s.lines.empty() && s.cut == 0)
        s.problem = QStringLiteral("Aucune incidence du balayage ne fait sortir le rayon par la face de sortie.");
    return s;
}

Sweep lampSweep(const SceneState &state)
{
    std::vector<double> wavelengths;
    for (const Radiation &ray : lampRadiations(state))
        wavelengths.push_back(ray.wavelength);
    Sweep s = minimumSweep(state, wavelengths, state.lampHidden);
    if (s.lines.empty() && s.cut == 0)
        s.problem = QStringLiteral("Aucune raie de la lampe ne traverse le vorlac par la face de sortie.");
    return s;
}

Sweep spectrumSweep(const SceneState &state)
{
    std::vector<double> wavelengths;
    for (int lambda = 400; lambda <= 800; lambda += kSpectrumStep)
        wavelengths.push_back(lambda);
    Sweep s = minimumSweep(state, wavelengths, false);
    if (s.lines.empty() && s.cut == 0)
        s.problem = QStringLiteral("Aucune longueur d'onde ne traverse le vorlac par la face de sortie.");
    return s;
}

QString sweepCutMessage(const Sweep &sweep)
{
    if (sweep.cut == 0)
        return QString();
    return QStringLiteral("Le balayage compte %1 lignes : seules les %2 premières tiennent dans le tableau. "
                          "Choisir un pas plus grand pour le parcourir en entier.")
        .arg(int(sweep.lines.size()) + sweep.cut)
        .arg(Sweep::kMaxLines);
}

} // namespace vorlac
