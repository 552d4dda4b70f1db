#pragma once

#include <QColor>
#include <QRectF>

class QImage;

class QPainter;

namespace vorlac
{

// Fills a plate (the ground behind words drawn over the figure) with a colour that may be
// translucent: the same pixels as QPainter::fillRect, all drawn on the calling thread (and one
// rectangle in a PDF or SVG).
void fillPlate(QPainter &p, const QRectF &box, const QColor &colour);

// QImage::fill, faster on a large picture of 32-bit pixels: the background of a view, cleared
// at every lamp step.
void fillImage(QImage &image, quint32 pixel);
// count 32-bit pixels from `at`, as fillImage writes them.
void fillPixels(quint32 *at, qsizetype count, quint32 pixel);

} // namespace vorlac
