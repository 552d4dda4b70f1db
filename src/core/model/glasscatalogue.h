#pragma once

#include "model/materials.h"
#include "model/scenestate.h"

#include <QString>
#include <span>

namespace vorlac
{

// What a dispersion formula's index is measured against.
enum class IndexReference {
    Air,    // relative to air, as a glass maker measures it: the index the prism has in air
    Vacuum, // absolute
};

// One real glass (or transparent medium) of the "Verres réels" list: its dispersion formula as
// the refractiveindex.info database gives it, n^2 = 1 + sum B_k lambda^2 / (lambda^2 - C_k),
// lambda in micrometres, C_k in square micrometres (unused terms have B_k = 0).
struct Glass {
    const char *name;   // French, as in the list: "N-BK7", "silice fondue"
    const char *source; // where the formula comes from, for the help's table
    IndexReference reference;
    double b[4];
    double c[4];
};

// The Cauchy law n = A + B / lambda^2 (lambda in nm, B in nm^2, as the program's law) fitted by
// least squares to the absolute index (glassIndex) at every whole nanometre from 400 to 800 nm,
// and the fit's largest difference in n over that range. Only shown: the prism follows the formula.
struct GlassFit {
    double cauchyA;
    double cauchyB;
    double maxDifference;
};

std::span<const Glass> glassCatalogue();
int glassCount();
// Row of the glass of that name, -1 when none.
int glassRow(const QString &name);
QString glassName(int row);
// The formula's value at lambda (nm, the program's wavelength), against its own reference.
double glassFormulaIndex(int row, double lambdaNm);
// The absolute index, as the program's materials give theirs: a formula relative to air is
// multiplied by the index of the list's "Air", so that the prism in air has the formula's index.
double glassIndex(int row, double lambdaNm);
GlassFit glassFit(int row);
// The fit as the single-precision pair the scene stores.
IndexLaw glassLaw(int row);

// The prism's material as the printed report names it: the list's name, with the glass when the
// prism is one ("Autre (N-BK7)", "Autre (verre inconnu)").
QString prismMaterialText(const SceneState &s);

// The absolute indices the scene's rays meet at lambda: the glass's formula when the prism is a
// glass of the list, otherwise the index law of the material.
double scenePrismIndex(const SceneState &s, double lambda);
double sceneOutsideIndex(const SceneState &s, double lambda);

} // namespace vorlac
