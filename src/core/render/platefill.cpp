#include "render/platefill.h"

#include <QPaintEngine>
#include <QPainter>
#include <QTransform>
#include <cmath>

namespace vorlac
{

namespace
{

// The raster engine shares a translucent fill of 96 rows or more out to worker threads. For a
// plate behind a line of words, waking them and waiting for them costs more than the fill.
constexpr int kBandRows = 64;

} // namespace

void fillPlate(QPainter &p, const QRectF &box, const QColor &colour)
{
    const QTransform t = p.deviceTransform();
    const double sy = t.m22();
    // A PDF or SVG gets one rectangle: bands there would be seams where a reader smooths edges.
    const bool raster = p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Raster;
    if (!raster || colour.alpha() == 255 || t.type() > QTransform::TxScale || sy <= 0 ||
        p.testRenderHint(QPainter::Antialiasing) || box.height() * sy <= kBandRows) {
        p.fillRect(box, colour);
        return;
    }
    // Bands meeting on whole device rows cover exactly the rows that one fill rounds the plate to.
    const double deviceBottom = box.bottom() * sy + t.dy();
    double top = box.top();
    for (double row = std::round(box.top() * sy + t.dy()) + kBandRows; row < deviceBottom; row += kBandRows) {
        const double edge = (row - t.dy()) / sy;
        p.fillRect(QRectF(box.left(), top, box.width(), edge - top), colour);
        top = edge;
    }
    p.fillRect(QRectF(box.left(), top, box.width(), box.bottom() - top), colour);
}

} // namespace vorlac
