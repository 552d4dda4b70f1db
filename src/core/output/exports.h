#pragma once

#include "model/colour.h"
#include "model/scenestate.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

class QPainter;

namespace vorlac
{

struct SceneFigure;
class ValueTable;

// The formats a picture can be exported to, as the save dialog lists them.
enum class PictureFormat { Png, PngDouble, Svg, Pdf };

// The save dialog's filter of a format ("Image PNG (*.png)"...), and the format of a filter.
QString pictureFilter(PictureFormat format);
QStringList pictureFilters();
PictureFormat pictureFormatOfFilter(const QString &filter);
QString pictureSuffix(PictureFormat format); // "png", "svg", "pdf"

// Draws a picture as vector strokes on a painter whose coordinates are the picture's pixels.
using VectorPainter = std::function<void(QPainter &)>;

// PNG of the image at its size (scale 1) or with every pixel doubled (scale 2, crisp on a
// projector); empty on failure.
QByteArray pngBytes(const QImage &image, int scale = 1);

// One SVG document of size pixels (at 96 dpi), drawn by paint.
QByteArray svgBytes(QSize size, const QString &title, const VectorPainter &paint);

// A one-page vector PDF whose page is the picture (size pixels at 96 dpi), drawn by paint.
QByteArray pdfBytes(QSize size, const QString &title, const VectorPainter &paint);

// The bytes of an export in any format: the raster image for PNG, paint for SVG and PDF.
QByteArray pictureBytes(PictureFormat format, const QImage &image, const QString &title, const VectorPainter &paint);

// The figure as printed (the persistent picture with Line1 and the lamp) as vector lines: the
// figure's lines, walked as the rasteriser walks them, each cut into runs of the colour image
// (the figure's picture) shows along it, no pixel drawn twice; then Line1 and the lamp picture.
void paintFigureVector(QPainter &painter, const SceneFigure &figure, const QImage &image, const QImage *lamp);

// The table as CSV for a spreadsheet under French settings: UTF-8 with a byte order mark, ";"
// between cells, CR LF between lines, the titles first, then the data lines up to the last that
// holds something; cells as shown, numbers with a decimal comma whatever the locale; a cell
// holding ";", a quote or a line break is quoted.
QByteArray tableCsv(const ValueTable &table);

} // namespace vorlac
