#include "grapher/curvereading.h"

#include "grapher/graphpainter.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace vorlac
{

namespace
{

constexpr double kNearFraction = 0.25;
constexpr int kReadingFontPoints = 9;
// The plot's own mapping (see ComputeGraph): 480 pixels of span, row 500 at the bottom.
constexpr double kBottom = 500.0;

// Roots of a·x² + b·x + c = 0 without cancellation; a line when a is 0.
std::vector<double> quadraticRoots(double a, double b, double c)
{
    if (a == 0) {
        if (b == 0)
            return {};
        return {-c / b};
    }
    const double disc = b * b - 4 * a * c;
    if (disc < 0 || !std::isfinite(disc))
        return {};
    if (disc == 0)
        return {-b / (2 * a)};
    const double q = -0.5 * (b + std::copysign(std::sqrt(disc), b));
    std::vector<double> roots{q / a};
    if (q != 0)
        roots.push_back(c / q);
    return roots;
}

std::vector<double> allRoots(const FitResult &fit, double y)
{
    const auto &k = fit.coefficients;
    switch (fit.model) {
    case FitModel::None:
        break;
    case FitModel::Proportional:
        return quadraticRoots(0, k[0], -y);
    case FitModel::Affine:
        return quadraticRoots(0, k[0], k[1] - y);
    case FitModel::Parabola:
        return quadraticRoots(k[0], k[1], k[2] - y);
    case FitModel::Cauchy: {
        const double square = k[1] / (y - k[0]);
        if (!(square > 0) || !std::isfinite(square))
            return {};
        const double r = std::sqrt(square);
        return {-r, r};
    }
    }
    return {};
}

int clampPixel(double v)
{
    return std::clamp(graphPixel(v), 0, static_cast<int>(kBottom));
}

} // namespace

CurveReading readCurve(const FitResult &fit, double y, const QLocale &locale)
{
    CurveReading r;
    r.y = y;
    const QString yText = fitNumberText(y, locale);
    if (!fit.ok || !std::isfinite(y)) {
        r.sentence = QStringLiteral("Lecture impossible : aucune courbe n'est ajustée aux points.");
        return r;
    }
    const double span = fit.xmax - fit.xmin;
    const double margin = kNearFraction * (span > 0 ? span : std::max(1.0, std::abs(fit.xmax)));
    const std::vector<double> roots = allRoots(fit, y);
    for (const double x : roots) {
        if (std::isfinite(x) && x >= fit.xmin - margin && x <= fit.xmax + margin)
            r.x.push_back(x);
    }
    std::sort(r.x.begin(), r.x.end());
    if (r.x.size() == 2 && fitNumberText(r.x[0], locale) == fitNumberText(r.x[1], locale))
        r.x.pop_back();
    if (r.x.empty())
        r.sentence =
            roots.empty()
                ? QStringLiteral("Aucune abscisse de la courbe ne donne y = %1.").arg(yText)
                : QStringLiteral("Aucune abscisse proche des mesures ne donne y = %1 sur la courbe.").arg(yText);
    else if (r.x.size() == 1)
        r.sentence = QStringLiteral("Pour y = %1, la courbe donne x = %2.").arg(yText, fitNumberText(r.x[0], locale));
    else
        r.sentence = QStringLiteral("Deux abscisses donnent y = %1 : x = %2 et x = %3.")
                         .arg(yText, fitNumberText(r.x[0], locale), fitNumberText(r.x[1], locale));
    return r;
}

void addCurveReading(GraphPicture &graph, const CurveReading &reading, const QLocale &locale)
{
    if (!graph.valid)
        return;
    const GraphScale &s = graph.scale;
    const int axisColumn = clampPixel(s.x0);
    const int axisRow = clampPixel(kBottom - s.y0);
    const int row = clampPixel(kBottom - (reading.y * s.ky + s.y0));
    const QFontMetricsF metrics(graphFont(kReadingFontPoints));
    const int lineHeight = static_cast<int>(std::ceil(metrics.height()));
    for (const double x : reading.x) {
        const int column = clampPixel(x * s.kx + s.x0);
        graph.lines.push_back({QPoint(axisColumn, row), QPoint(column, row), graphcolour::Magenta, true});
        graph.lines.push_back({QPoint(column, row), QPoint(column, axisRow), graphcolour::Magenta, true});
        const QString text = QStringLiteral("x = ") + fitNumberText(x, locale);
        const int width = static_cast<int>(std::ceil(metrics.horizontalAdvance(text)));
        // Below and right of the point, or left of it near the right edge.
        int left = column + 4;
        if (left + width + 2 > kGraphSize)
            left = column - 4 - width;
        const int top = std::min(row + 4, kGraphSize - lineHeight - 2);
        graph.boxes.push_back({QRect(left - 1, top, width + 2, lineHeight), graphcolour::White});
        graph.texts.push_back({text, graphcolour::Magenta, kReadingFontPoints, double(left), double(top), true});
    }
    if (reading.x.size() != 1) {
        const int width = static_cast<int>(std::ceil(metrics.horizontalAdvance(reading.sentence)));
        int top = kGraphSize - lineHeight - 4;
        // Above the x axis when it runs along the bottom: the filled box would hide it.
        if (axisRow >= top - 2)
            top = std::max(0, axisRow - lineHeight - 4);
        const int left = std::max(0, (kGraphSize - width) / 2);
        graph.boxes.push_back({QRect(left - 3, top - 1, width + 6, lineHeight + 2), graphcolour::Blue});
        graph.texts.push_back(
            {reading.sentence, graphcolour::Blue, kReadingFontPoints, double(left), double(top), true});
    }
}

} // namespace vorlac
