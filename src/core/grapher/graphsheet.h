#pragma once

#include "common/regional.h"
#include "grapher/graph.h"

#include <QImage>
#include <QLine>
#include <QLocale>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

class QPainter;

namespace vorlac
{

// One text of the sheet in the box it covers, read left to right or, turned, bottom to top.
struct SheetText {
    QString text;
    QRect box;
    int points; // graphFont's size
    bool bold = false;
    bool turned = false;
};

// The graph as exported to a file, to be read in a report: the plot with, in margins around it,
// the value of the labelled graduations beside ticks on the plot's left and bottom edges, the
// axis names (the titles of the two columns) and the scale sentence. The window, its printing
// and its copy keep the bare plot.
struct GraphSheet {
    QSize size;
    QPoint plotTopLeft; // where the 501 x 501 plot lies
    GraphPicture graph;
    std::vector<QLine> ticks;
    std::vector<SheetText> texts;
};

// Lays the sheet out for a plot, the abscissa and ordinate names and the locale of the numbers.
// A plot without scales (the message instead) is the sheet alone.
GraphSheet layoutGraphSheet(const GraphPicture &graph, const QString &xName, const QString &yName,
                            const QLocale &locale = regionalLocale());

// Paints the sheet on a painter whose coordinates are the sheet's pixels: the plot as pixels
// (PaintGraph) or as vector lines (PaintGraphVector), the rest as lines and text.
void PaintGraphSheet(QPainter &painter, const GraphSheet &sheet, bool vector);

// The sheet as a 96-dpi picture (the PNG export).
QImage GraphSheetImage(const GraphSheet &sheet);

} // namespace vorlac
