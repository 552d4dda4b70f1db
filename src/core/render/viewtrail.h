#pragma once

#include <QImage>
#include <QRect>
#include <QTransform>
#include <cstdint>
#include <vector>

class QLineF;
class QRectF;

namespace vorlac
{

// What a window drew over its background in one frame, in device pixels, so that the next frame
// clears only that instead of the whole window: filling a million pixels costs more than
// drawing the figure, and pushes it out of the cache.
//
// A frame clears, then records everything it draws; whatever it cannot place (a picture of any
// shape) it records as everything, and the next frame clears the whole window.
class ViewTrail
{
  public:
    // Readies target for a new frame: clears what the last one drew in it, or all of it when
    // this trail did not see the last frame of these pixels (the first, a new size, a new
    // background, or one recorded as everything). Forgets the last frame.
    void clear(QImage &target, quint32 background, double rasterScale);
    // The next clear fills the whole picture.
    void forget() { m_known = false; }

    // Where the following records are: the painter's coordinates to device pixels.
    void setToDevice(const QTransform &t) { m_toDevice = t; }
    // A line as LineRasteriser::drawWideLine drew it, in device pixels.
    void addRasterLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, int width);
    // A rectangle painted, with anything antialiased at its edges.
    void addRect(const QRectF &r);
    // A line stroked with a pen `penWidth` wide, in the painter's coordinates.
    void addStroke(const QLineF &line, double penWidth);
    void addEverything() { m_everything = true; }

    int rectCount() const { return int(m_rects.size()); }

  private:
    struct RasterLine {
        std::int64_t x1, y1, x2, y2;
        int width;
    };
    void addDeviceStroke(QPointF a, QPointF b, double margin);

    std::vector<RasterLine> m_lines;
    std::vector<QRect> m_rects;
    double m_cost = 0; // clearing them, in pixels filled
    QTransform m_toDevice;
    bool m_everything = false;
    // The pixels the records are about.
    bool m_known = false;
    const uchar *m_bits = nullptr;
    QSize m_size;
    qsizetype m_bytesPerLine = 0;
    quint32 m_background = 0;
};

} // namespace vorlac
