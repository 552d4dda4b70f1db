#pragma once

#include <QString>

namespace vorlac
{

// The texts the panels show for the scene's values; the printed report quotes the same ones.

// Label2: the apex angle, a whole number ("45").
QString apexText(int degrees);
// Label7: the wavelength in nm, a whole number ("589").
QString wavelengthText(int nm);
// Label4 (prism) and Label16 (outside medium): "n = " and the index with exactly six decimals
// in the regional form ("n = 1,506516").
QString indexText(double n);

} // namespace vorlac
