#include "render/platefill.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstring>

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

void fillPixels(quint32 *at, qsizetype count, quint32 pixel)
{
    if (count <= 0)
        return;
    if ((pixel & 0xff) * 0x01010101u == pixel) {
        std::memset(at, int(pixel & 0xff), std::size_t(count) * 4);
        return;
    }
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    // A string store fills whole cache lines; the compiler's loop writes 16 bytes a step at best.
    std::size_t n = std::size_t(count);
    asm volatile("rep stosl" : "+D"(at), "+c"(n) : "a"(pixel) : "memory");
#else
    std::fill_n(at, count, pixel);
#endif
}

void fillImage(QImage &image, quint32 pixel)
{
    const QImage::Format format = image.format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
        format != QImage::Format_ARGB32_Premultiplied) {
        image.fill(pixel);
        return;
    }
    if (format == QImage::Format_RGB32)
        pixel |= 0xff000000u; // as QImage::fill stores it
    uchar *bits = image.bits();
    const qsizetype row = image.bytesPerLine();
    const qsizetype used = qsizetype(image.width()) * 4;
    // One string store over the whole picture when its lines have no padding: Qt's own fill
    // writes 16 bytes a step, about 1.6 times slower on a window of a million pixels.
    if (row == used) {
        fillPixels(reinterpret_cast<quint32 *>(bits), qsizetype(image.width()) * image.height(), pixel);
        return;
    }
    for (int y = 0; y < image.height(); ++y)
        fillPixels(reinterpret_cast<quint32 *>(bits + y * row), image.width(), pixel);
}

} // namespace vorlac
