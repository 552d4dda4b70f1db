#pragma once

#include "common/regional.h"
#include "grapher/curvefit.h"
#include "grapher/graph.h"

#include <QLocale>
#include <QString>
#include <vector>

namespace vorlac
{

// The abscissas where a fitted curve takes a given ordinate.
struct CurveReading {
    double y = 0;
    std::vector<double> x; // ascending: none, one or two
    QString sentence;      // French, with the locale's decimal separator
};

// Solves fit(x) = y exactly (the line's inverse, the quadratic formula, x = sqrt(B / (y - A)) for
// Cauchy), keeping only the roots within the fitted abscissas' span widened by a quarter of it
// on each side: a root far from the measurements is not a reading of them.
CurveReading readCurve(const FitResult &fit, double y, const QLocale &locale = regionalLocale());

// Adds the reading to a drawn plot: dotted construction lines from the y axis to the curve and
// down to the x axis, the value of x beside each point, and the sentence under the plot when
// there is no x or there are two.
void addCurveReading(GraphPicture &graph, const CurveReading &reading, const QLocale &locale = regionalLocale());

} // namespace vorlac
