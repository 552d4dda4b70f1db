#pragma once

#include "grapher/graph.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <vector>

class QPainter;

namespace vorlac
{

// The pixels of a GraphLine as runs of one row or one column: every step from `from` up to,
// not including, `to`; dotted lines keep steps 0, 1, 2 of every 6.
std::vector<QRect> graphLineSpans(const GraphLine &line);

// The font of the plot's texts: Arial at the given point size on a 96-dpi picture, as pixels,
// so that it is the same in the 501 x 501 coordinates of any device.
QFont graphFont(int pointSize);

// Paints the plot on any painter whose coordinates are the plot's pixels (scale the painter to
// print it larger): a white 501 x 501 square, then the lines, points and texts. Pixels are
// filled rectangles, so a scaled painter draws each as a block.
void PaintGraph(QPainter &painter, const GraphPicture &graph);

// The same plot as vector lines (dotted lines as dash patterns, the curve as one path), for the
// SVG and PDF exports.
void PaintGraphVector(QPainter &painter, const GraphPicture &graph);

// The persistent 501 x 501 picture of the plot (what is shown, printed and copied).
QImage GraphImage(const GraphPicture &graph);
// The plot for a screen of that device pixel ratio: 501 x 501 logical pixels, drawn in the
// screen's pixels (texts sharp, each plot pixel a block); at ratio 1 the picture above.
QImage GraphImage(const GraphPicture &graph, qreal devicePixelRatio);

} // namespace vorlac
