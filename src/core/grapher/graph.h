#pragma once

#include "common/regional.h"
#include "grapher/curvefit.h"

#include <QLocale>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <vector>

namespace vorlac
{

// The plot area is 501 x 501 pixels, coordinates 0..500 on both axes, y downwards.
inline constexpr int kGraphSize = 501;

namespace graphcolour
{
inline constexpr QRgb DarkBlue = 0xff000080u;  // palette 1: axes and graduations
inline constexpr QRgb LightGrey = 0xffc0c0c0u; // palette 7: shadow of the message
inline constexpr QRgb Blue = 0xff0000ffu;      // palette 9: the message
inline constexpr QRgb Red = 0xffff0000u;       // palette 12: points and joining lines
inline constexpr QRgb White = 0xffffffffu;
inline constexpr QRgb DarkGreen = 0xff008000u; // palette 2: the fitted curve and its equation
inline constexpr QRgb Magenta = 0xffc000c0u;   // a reading on the curve, apart from the grid's blue
} // namespace graphcolour

inline constexpr QStringView kGraphInvalidMessage = u"Choisir des grandeurs valides pour l'abscisse et l'ordonnée";

struct GraphOptions {
    bool joinPoints = true; // Check1 "Lier les points"
    bool grid = true;       // Check2 "Afficher la grille"
    bool crosses = true;    // Check3 "Représenter un point par une croix"
    FitModel fit = FitModel::None;
};

// A one-pixel line from `from` towards `to`; the end pixel itself is not drawn (so the cross
// (px-2..px+3) is five pixels wide, centred on the point). Dotted: 3 pixels on, 3 off, counted
// from `from`.
struct GraphLine {
    QPoint from;
    QPoint to;
    QRgb colour;
    bool dotted = false;
};

// A text whose left edge is at (plot width - text width) / 2 + xOffset and whose top is at top.
struct GraphText {
    QString text;
    QRgb colour;
    int pointSize;
    double xOffset;
    double top;
    bool fromLeft = false; // xOffset is then the left edge itself
};

// A white box with a one-pixel border, under the fit's texts.
struct GraphBox {
    QRect rect;
    QRgb border;
};

// The numbers of one redraw, all in double precision.
struct GraphScale {
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0; // ranges, origin included
    double kx = 0, ky = 0;                         // pixels per unit
    double x0 = 0, y0 = 0;                         // pixel offsets of the origin
    double xunit = 0, yunit = 0;                   // value of one division
    double xs = 0, xe = 0, ys = 0, ye = 0;         // first and last graduation
    int xGraduations = 0, yGraduations = 0;        // how many graduations were drawn
};

// Everything majgraf draws, in drawing order, and the scale sentence.
struct GraphPicture {
    bool valid = false; // false: both ranges are not usable, the message is drawn instead
    GraphScale scale;
    std::vector<GraphLine> lines;
    std::vector<QPoint> pixels; // single points (without crosses)
    std::vector<GraphText> texts;
    std::optional<QString> scaleSentence; // nullopt: Label1 keeps its text
    int plottedPoints = 0;
    FitResult fit;                // the model's fit of the plotted points
    std::vector<GraphLine> curve; // the fitted curve, drawn over the points
    std::vector<GraphBox> boxes;  // drawn after the curve, before the texts
    QStringList fitTexts;         // the equation and R² (or why there is no fit)
};

// The value of one division for a largest magnitude m > 0: 1 / k for the k that brings k * m
// between 5 and 10 by the steps x5, /5, x2, /2. The result is a product of powers of 2 and 5
// (0.5, 1.25, 10), written back into m. A magnitude that is not positive and finite is left as
// it is and false returned.
bool uniteur(double &m);

// The plot of column texts x against y (data lines in table order; a missing text counts as
// empty). Texts are read with the regional single-precision reading; for the ranges a text that
// does not convert counts as 0. A line whose text in either column is empty or not a number is
// not plotted and breaks the chain of joined points.
GraphPicture ComputeGraph(const QStringList &x, const QStringList &y, const GraphOptions &options,
                          const QLocale &locale = regionalLocale());

// Plot pixel column (or row) of a value already scaled, rounded halves to even and clamped to a
// range far outside the picture, so that no conversion can overflow.
int graphPixel(double v);

// T(unit) of the scale sentence: the general number form with the locale's separator.
QString graphUnitText(double unit, const QLocale &locale = regionalLocale());

} // namespace vorlac
