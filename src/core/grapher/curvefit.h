#pragma once

#include "common/regional.h"

#include <QLocale>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace vorlac
{

// The models of the grapher's fit list, in list order.
enum class FitModel { None, Proportional, Affine, Parabola, Cauchy };

inline constexpr int kFitModelCount = 5;

// The list texts, in French ("Aucun", "Proportionnel : y = a·x", ...).
QString fitModelName(FitModel model);

// How many coefficients the model has (0 for None).
int fitCoefficientCount(FitModel model);

struct FitResult {
    FitModel model = FitModel::None;
    bool ok = false;
    // Proportional: a; affine: a, b; parabola: a, b, c; Cauchy: A, B. Unused ones are 0.
    std::array<double, 3> coefficients{};
    // 1 - SSres / SStot about the mean, whatever the model (below 0 for a line through the
    // origin that does worse than the mean); nullopt when every ordinate is equal.
    std::optional<double> r2;
    int points = 0;
    double xmin = 0, xmax = 0; // span of the fitted abscissas
    QString message;           // why there is no fit (French), when !ok and model != None
};

// Least squares of y against x in double precision, through a QR factorisation of the scaled
// design matrix (x centred and scaled first for the parabola, 1/x² scaled for Cauchy), so that
// wavelengths in nm or values near 1e6 lose no digits. Non-finite points are left out. Fewer
// points than coefficients, a singular system (all x equal for an affine line, a zero
// wavelength for Cauchy) or a non-finite result gives !ok and a French message, never NaN.
FitResult fitCurve(FitModel model, const std::vector<double> &x, const std::vector<double> &y);

// The fitted y at x; NaN where the model is not defined there (Cauchy at x = 0) or !fit.ok.
double fitValue(const FitResult &fit, double x);

// A coefficient with 4 significant digits and the locale's decimal separator: "1,506",
// "-0,002500", "11850", and "1,235E+05" outside 1E-03 .. 1E+05. No group separator.
QString fitNumberText(double v, const QLocale &locale = regionalLocale());

// "y = 1,506·x", "y = 2,000·x − 1,000", "y = 1,472 + 11850/x²".
QString fitEquationText(const FitResult &fit, const QLocale &locale = regionalLocale());

// "R² = 0,9987" or "R² = −1,5000" (4 decimals, cut so that 1 only shows for a fit within 1e-12
// of exact), or "R² non défini (ordonnées toutes égales)".
QString fitR2Text(const FitResult &fit, const QLocale &locale = regionalLocale());

} // namespace vorlac
