#pragma once

#include <QImage>
#include <cstdint>

namespace vorlac
{

// How a pen combines with the picture.
enum class PenMode {
    Merge,     // bitwise OR of the pen colour into the pixel (black background)
    Blackness, // every pixel drawn becomes black (white background)
};

// Dashed pen: 18 pixels on, 6 off, counted along the line from its first end.
inline constexpr int kDashOn = 18;
inline constexpr int kDashPeriod = 24;

// Draws aliased one-pixel lines straight into the scan lines of a 32-bit image. Both end
// points are drawn. The pixels of a line do not depend on the clipping: a line reaching far
// outside the picture lights exactly the pixels its unclipped version would.
class LineRasteriser
{
  public:
    explicit LineRasteriser(QImage &image); // Format_RGB32 or Format_ARGB32
    void setMode(PenMode mode) { m_mode = mode; }
    PenMode mode() const { return m_mode; }

    // colour is an opaque QRgb; end points in pixels, rounded halves to even.
    void drawLine(double x1, double y1, double x2, double y2, QRgb colour, bool dashed = false);
    void drawLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, QRgb colour, bool dashed = false);

  private:
    QRgb *m_bits;
    std::int64_t m_stride; // in pixels
    std::int64_t m_width;
    std::int64_t m_height;
    PenMode m_mode = PenMode::Merge;
};

} // namespace vorlac
