#pragma once

#include <QImage>
#include <cstdint>

namespace vorlac
{

// A coordinate rounded to the pixel grid, clamped far outside any picture (NaN gives 0).
std::int64_t roundCoord(double v);

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
//
// With a scale (a screen's device pixel ratio), coordinates are logical pixels: they are
// multiplied by the scale, lines are round(scale) pixels wide and dashes are scaled too, so the
// picture looks as at scale 1, only sharper. Scale 1 draws exactly the pixels it always did.
class LineRasteriser
{
  public:
    explicit LineRasteriser(QImage &image, double scale = 1.0); // Format_RGB32 or Format_ARGB32
    void setMode(PenMode mode) { m_mode = mode; }
    PenMode mode() const { return m_mode; }
    double scale() const { return m_scale; }
    int lineWidth() const { return m_lineWidth; }

    // colour is an opaque QRgb; end points in logical pixels, rounded halves to even once scaled.
    void drawLine(double x1, double y1, double x2, double y2, QRgb colour, bool dashed = false);
    // End points in device pixels; one pixel wide whatever the scale, dashes scaled.
    void drawLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, QRgb colour, bool dashed = false);

    // End points in device pixels, `width` pixels side by side across the main direction
    // (from the thin line's pixel towards +x or +y), dashes scaled.
    void drawWideLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, QRgb colour, bool dashed,
                      int width);

  private:
    QRgb *m_bits;
    std::int64_t m_stride; // in pixels
    std::int64_t m_width;
    std::int64_t m_height;
    PenMode m_mode = PenMode::Merge;
    double m_scale;
    int m_lineWidth;
    std::int64_t m_dashOn;
    std::int64_t m_dashPeriod;
};

} // namespace vorlac
