// The "Verres réels" list: dispersion formulas of real glasses and transparent media.
//
// Source: the refractiveindex.info database (M. N. Polyanskiy, https://refractiveindex.info),
// data released under CC0 1.0 (public domain dedication). Each entry is the database page named
// below ("book" / "page"), which quotes the original source:
//   N-BK7, N-BAK1, F2, SF10, N-SF11, N-LASF9: pages SCHOTT of the "specs" shelf, SCHOTT optical
//     glass data sheets (Sellmeier B1..B3, C1..C3). SF10 is the lead glass (n_d 1.72825,
//     V_d 28.41), not N-SF10.
//   silice fondue: SiO2 / Malitson, I. H. Malitson, J. Opt. Soc. Am. 55, 1205 (1965).
//   PMMA: PMMA / Szczurowski, M. Szczurowski (2013), Sellmeier fit of measured data.
//   eau à 20 °C: H2O / Daimon-20.0C, M. Daimon and A. Masumura, Appl. Opt. 46, 3811 (2007).
//   diamant: C / Peter, F. Peter, Z. Phys. 15, 358 (1923).
// What each index is measured against: the database marks the SCHOTT and Malitson formulas
// relative to air ("n_is_absolute: false") and Daimon's absolute ("relative to vacuum"); the
// PMMA and diamond pages do not say, and are taken as measured, in air. The program's indices
// are absolute (its "Air" is 1.0003), so a formula relative to air is multiplied by that air.
#include "model/glasscatalogue.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vorlac
{

namespace
{

constexpr IndexReference kAir = IndexReference::Air;

constexpr std::array<Glass, 10> kGlasses = {{
    {"N-BK7", "SCHOTT", kAir, {1.03961212, 0.231792344, 1.01046945, 0}, {0.00600069867, 0.0200179144, 103.560653, 0}},
    {"N-BAK1", "SCHOTT", kAir, {1.12365662, 0.309276848, 0.881511957, 0}, {0.00644742752, 0.0222284402, 107.297751, 0}},
    {"F2", "SCHOTT", kAir, {1.34533359, 0.209073176, 0.937357162, 0}, {0.00997743871, 0.0470450767, 111.886764, 0}},
    {"SF10", "SCHOTT", kAir, {1.61625977, 0.259229334, 1.07762317, 0}, {0.0127534559, 0.0581983954, 116.60768, 0}},
    {"N-SF11", "SCHOTT", kAir, {1.73759695, 0.313747346, 1.89878101, 0}, {0.013188707, 0.0623068142, 155.23629, 0}},
    {"N-LASF9", "SCHOTT", kAir, {2.00029547, 0.298926886, 1.80691843, 0}, {0.0121426017, 0.0538736236, 156.530829, 0}},
    {"silice fondue",
     "Malitson 1965",
     kAir,
     {0.6961663, 0.4079426, 0.8974794, 0},
     {0.0684043 * 0.0684043, 0.1162414 * 0.1162414, 9.896161 * 9.896161, 0}},
    {"PMMA", "Szczurowski 2013", kAir, {0.99654, 0.18964, 0.00411, 0}, {0.00787, 0.02191, 3.85727, 0}},
    {"eau à 20 °C",
     "Daimon et Masumura 2007",
     IndexReference::Vacuum,
     {5.684027565e-1, 1.726177391e-1, 2.086189578e-2, 1.130748688e-1},
     {5.101829712e-3, 1.821153936e-2, 2.620722293e-2, 1.069792721e1}},
    {"diamant", "Peter 1923", kAir, {0.3306, 4.3356, 0, 0}, {0.1750 * 0.1750, 0.1060 * 0.1060, 0, 0}},
}};

constexpr int kFitFirst = 400, kFitLast = 800; // nm, every whole nanometre

} // namespace

std::span<const Glass> glassCatalogue()
{
    return kGlasses;
}

int glassCount()
{
    return int(kGlasses.size());
}

int glassRow(const QString &name)
{
    for (std::size_t i = 0; i < kGlasses.size(); ++i)
        if (name == QString::fromUtf8(kGlasses[i].name))
            return int(i);
    return -1;
}

QString glassName(int row)
{
    if (row < 0 || row >= glassCount())
        return QString();
    return QString::fromUtf8(kGlasses[std::size_t(row)].name);
}

double glassFormulaIndex(int row, double lambdaNm)
{
    const Glass &g = kGlasses.at(std::size_t(row));
    const double l2 = (lambdaNm / 1000.0) * (lambdaNm / 1000.0);
    double n2 = 1.0;
    for (int k = 0; k < 4; ++k)
        n2 += g.b[k] * l2 / (l2 - g.c[k]);
    return std::sqrt(n2);
}

double glassIndex(int row, double lambdaNm)
{
    const double n = glassFormulaIndex(row, lambdaNm);
    if (kGlasses.at(std::size_t(row)).reference == IndexReference::Vacuum)
        return n;
    return n * CauchyIndex(kMaterials[0].cauchyA, kMaterials[0].cauchyB, lambdaNm);
}

GlassFit glassFit(int row)
{
    // Straight line n = A + B x in x = 1 / lambda^2, about the means to keep the sums well scaled.
    constexpr int count = kFitLast - kFitFirst + 1;
    double meanX = 0, meanN = 0;
    for (int l = kFitFirst; l <= kFitLast; ++l) {
        meanX += 1.0 / (double(l) * l);
        meanN += glassIndex(row, l);
    }
    meanX /= count;
    meanN /= count;
    double sxx = 0, sxn = 0;
    for (int l = kFitFirst; l <= kFitLast; ++l) {
        const double dx = 1.0 / (double(l) * l) - meanX;
        sxx += dx * dx;
        sxn += dx * (glassIndex(row, l) - meanN);
    }
    GlassFit fit{0, sxn / sxx, 0};
    fit.cauchyA = meanN - fit.cauchyB * meanX;
    for (int l = kFitFirst; l <= kFitLast; ++l)
        fit.maxDifference =
            std::max(fit.maxDifference, std::abs(fit.cauchyA + fit.cauchyB / (double(l) * l) - glassIndex(row, l)));
    return fit;
}

QString prismMaterialText(const SceneState &s)
{
    const QString name = materialName(s.prismMaterial);
    if (s.glass < 0 || s.glass >= glassCount())
        return name;
    return name + QStringLiteral(" (%1)").arg(s.glassHidden ? QStringLiteral("verre inconnu") : glassName(s.glass));
}

IndexLaw glassLaw(int row)
{
    const GlassFit fit = glassFit(row);
    return {float(fit.cauchyA), float(fit.cauchyB)};
}

double scenePrismIndex(const SceneState &s, double lambda)
{
    if (s.glass >= 0 && s.glass < glassCount())
        return glassIndex(s.glass, lambda);
    return CauchyIndex(s.prismCauchyA, s.prismCauchyB, lambda);
}

double sceneOutsideIndex(const SceneState &s, double lambda)
{
    return CauchyIndex(s.outsideCauchyA, s.outsideCauchyB, lambda);
}

} // namespace vorlac
