#pragma once

#include "model/colour.h"
#include "spectra/absorbers.h"
#include "spectra/screen.h"
#include "spectra/sources.h"

#include <QString>
#include <optional>
#include <vector>

namespace vorlac
{

// A stretch of the screen shown in a strip widthPx pixels wide: pixel x covers the positions
// [fromMm + x p, fromMm + (x + 1) p), p = (toMm - fromMm) / widthPx.
struct StripRange {
    double fromMm = -20.0;
    double toMm = 20.0;
    int widthPx = 640;
    double pixelMm() const { return (toMm - fromMm) / widthPx; }
    // The pixel a position falls in (may lie outside 0..widthPx - 1).
    int pixelOf(double positionMm) const;
    double pixelCentre(int x) const { return fromMm + (x + 0.5) * pixelMm(); }
};

// What the cursor reads on the screen: the position, and the wavelength that lands there unless
// the lamp or the absorber is hidden or nothing lands there.
struct CursorReading {
    double positionMm = 0;
    std::optional<double> wavelength;
};

// A line seen on the screen: bright (emission) or dark (absorption), in the order of positions.
struct ObservedLine {
    double positionMm = 0;
    bool dark = false;
    int rank = 0;                     // 1.. along the screen among the lines of its kind
    std::optional<double> wavelength; // nothing when its lamp or absorber is hidden
    QString label;                    // the Sun's line: "D2"; empty otherwise
};

// One tick of the ruler along the strip, in strip pixels.
struct RulerTick {
    double x = 0;  // strip pixel (fractional), 0 = left edge of pixel 0
    double mm = 0; // the position it marks
    bool major = false;
    QString label; // on major ticks: "-12", "2,5" (French decimal comma)
};

// Ticks every 1, 2 or 5 times a power of ten mm, at least minorSpacingPx pixels apart; the major
// ticks, labelled, every 5 steps of 1 or 2 and every 2 steps of 5 (so at 5 or 10 times the step).
std::vector<RulerTick> rulerTicks(const StripRange &range, double minorSpacingPx = 8.0);

// What the screen shows for one scene, screen, source and absorber: built once when one of them
// changes (it traces the dispersion), then asked for strips, readings and lines.
class ScreenSpectrum
{
  public:
    ScreenSpectrum(const SceneState &state, const ScreenPlacement &placement, const ScreenSource &source,
                   const Absorber &absorber);

    bool shown() const { return m_frame.has_value(); } // false when no wavelength emerges
    const std::optional<ScreenFrame> &frame() const { return m_frame; }
    const ScreenDispersion &dispersion() const { return m_dispersion; }
    // The positions the spectrum covers, with a margin of a tenth each side.
    StripRange defaultRange(int widthPx) const;

    // The strip's pixels, left to right, as opaque packed colours on black.
    std::vector<Rgb> strip(const StripRange &range) const;
    // Where a single wavelength lands, traced exactly (nothing when it does not land).
    std::optional<double> positionOf(double wavelength) const;
    CursorReading read(double positionMm) const;
    std::vector<ObservedLine> lines() const;

    QString sourceName() const { return screenSourceName(m_source); }
    QString absorberName() const { return vorlac::absorberName(m_absorber); }

  private:
    struct PlacedDark {
        double positionMm;
        double sigmaMm;
        double depth;
        double wavelength;
        const char *label; // the Sun's lines; nullptr for the absorber's
    };

    SceneState m_state;
    ScreenSource m_source;
    Absorber m_absorber;
    std::optional<ScreenFrame> m_frame;
    ScreenDispersion m_dispersion;
    std::vector<PlacedDark> m_dark;                             // every dark line that lands
    std::vector<std::pair<double, SpectralLine>> m_landedLines; // position, line
};

} // namespace vorlac
