#pragma once

#include <QString>
#include <array>

namespace vorlac
{

struct Material {
    const char *name; // list text, as shown to the pupil
    float cauchyA;    // dimensionless
    float cauchyB;    // nm^2
};

// The two coefficients of the index law of one medium.
struct IndexLaw {
    float cauchyA; // dimensionless
    float cauchyB; // nm^2
};

inline constexpr int kMaterialCount = 5;
inline constexpr int kCustomMaterial = 4; // "Autre": coefficients typed by the pupil

// The coefficients a custom material may have, inclusive.
inline constexpr float kCustomAMin = 1.0f, kCustomAMax = 2.0f;
inline constexpr float kCustomBMin = 0.0f, kCustomBMax = 40000.0f;

// Coefficients as the nearest single-precision values of the listed decimals.
inline constexpr std::array<Material, kMaterialCount> kMaterials = {{
    {"Air", 1.0002747f, 0.74f},
    {"Eau", 1.3259431f, 2221.5764f},
    {"Verre Crown", 1.472363f, 11848.408f},
    {"Verre Flint", 1.5392f, 31102.07f},
    {"Autre", 0.0f, 0.0f},
}};

inline QString materialName(int row)
{
    return QString::fromUtf8(kMaterials.at(static_cast<std::size_t>(row)).name);
}

// n(lambda) = A + B / lambda^2, lambda in nm, formed in double from the single-precision pair.
inline double CauchyIndex(float a, float b, int lambda)
{
    const double l = static_cast<double>(lambda);
    return static_cast<double>(a) + static_cast<double>(b) / (l * l);
}

// The same law at a real wavelength (a lamp line).
inline double CauchyIndex(float a, float b, double lambda)
{
    return static_cast<double>(a) + static_cast<double>(b) / (lambda * lambda);
}

} // namespace vorlac
