#pragma once

#include "model/materials.h"

namespace vorlac
{

enum class SourceType { Monochromatic, FiveRadiations, WhiteLight, LineLamp };

// Everything the optical model reads, with the values of a fresh start.
struct SceneState {
    int apexAngle = 45;           // degrees, 2..90
    double incidenceAngle = 36.0; // degrees from the entry face's outward normal
    int wavelength = 589;         // nm, 400..800 (monochromatic source)
    SourceType source = SourceType::FiveRadiations;
    bool blackBackground = true;
    bool showNormals = false;
    bool showPropagation = true;

    int prismMaterial = 2;    // row of kMaterials
    int outsideMaterial = 0;  // row of kMaterials
    int lamp = 0;             // row of lineLamps(), the lamp of a LineLamp source
    bool lampHidden = false;  // "Lampe inconnue": the lamp's name is shown nowhere
    int unknownLamp = -1;     // the unknown lamp kept in the list while a named one is lit, -1 when none
    int glass = -1;           // row of glassCatalogue() whose fit the prism ("Autre") holds, -1 when typed
    bool glassHidden = false; // "Verre inconnu": the glass's name, coefficients and index are shown nowhere
    float prismCauchyA = kMaterials[2].cauchyA;
    float prismCauchyB = kMaterials[2].cauchyB;
    float outsideCauchyA = kMaterials[0].cauchyA;
    float outsideCauchyB = kMaterials[0].cauchyB;

    bool operator==(const SceneState &) const = default;
};

// True while the prism is an unknown glass: no text may show its name, coefficients or index.
inline bool prismIndexHidden(const SceneState &s)
{
    return s.glass >= 0 && s.glassHidden;
}

// The unknown lamp drawn, lit or kept in the list ("lampe inconnue"); -1 when none.
inline int drawnUnknownLamp(const SceneState &s)
{
    return s.lampHidden ? s.lamp : s.unknownLamp;
}

} // namespace vorlac
