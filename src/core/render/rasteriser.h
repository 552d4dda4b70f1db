#pragma once

#include <QImage>
#include <QSize>
#include <cstdint>

namespace vorlac
{

// A coordinate rounded to the pixel grid, clamped far outside any picture (NaN gives 0).
std::int64_t roundCoord(double v);

// How a pen combines with the picture.
enum class PenMode {
    Merge,     // bitwise OR of the pen colour into the pixel (black background)
    Blackness, // every pixel drawn becomes black (white background)
    Copy,      // every pixel drawn becomes the pen colour (clearing a line drawn before)
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
    // Draws nothing: only visits the pixels of a picture of that size (see visitLine).
    explicit LineRasteriser(QSize size);
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

    // Calls visit(step, x, y) for every pixel inside the picture that drawLine lights for the
    // line at scale 1, in the walk's order, step counted from the first end.
    template <typename Visit>
    void visitLine(double x1, double y1, double x2, double y2, bool dashed, Visit &&visit) const
    {
        Walk w;
        if (!plan(roundCoord(x1), roundCoord(y1), roundCoord(x2), roundCoord(y2), 1, w))
            return;
        const auto lit = [&](std::int64_t step, std::int64_t index) {
            visit(step, int(index % m_stride), int(index / m_stride));
        };
        dashed ? walk<true, false>(w, 1, lit) : walk<false, false>(w, 1, lit);
    }

  private:
    // Where a line's walk starts and how it steps: pixel indices into the scan lines, steps
    // [lo, hi] of the line inside the picture, the midpoint accumulator.
    struct Walk {
        std::int64_t lo, hi, index, stepMajor, stepMinor, pxMinor, acc, twoMajor, twoMinor, minor, sMinor, minorLimit;
    };
    // False when no pixel of the line lies inside the picture.
    bool plan(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, int width, Walk &w) const;
    // The one stepping loop of every line: lit(step, index) for each pixel lit, `width` pixels
    // side by side across the main direction when Wide, each only where it lies inside.
    template <bool Dashed, bool Wide, typename Lit> void walk(Walk w, int width, Lit &&lit) const
    {
        for (std::int64_t i = w.lo; i <= w.hi; ++i) {
            if (!Dashed || (i % m_dashPeriod) < m_dashOn) {
                for (int k = 0; k < (Wide ? width : 1); ++k) {
                    if (Wide && static_cast<std::uint64_t>(w.minor + k) >= static_cast<std::uint64_t>(w.minorLimit))
                        continue;
                    lit(i, w.index + k * w.pxMinor);
                }
            }
            w.index += w.stepMajor;
            w.acc += w.twoMinor;
            if (w.acc >= w.twoMajor) {
                w.acc -= w.twoMajor;
                w.index += w.stepMinor;
                if (Wide)
                    w.minor += w.sMinor;
            }
        }
    }
    template <PenMode Mode> void paint(const Walk &w, QRgb colour, bool dashed, int width);

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
