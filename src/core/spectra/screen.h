#pragma once

#include "model/raytracer.h"
#include "model/scenestate.h"
#include "render/scenefigure.h"
#include "render/scenerenderer.h"

#include <QString>
#include <optional>
#include <vector>

class QPainter;

namespace vorlac
{

// The scene's scale for the screen: the prism drawn 200 pixels high stands for a 50 mm prism.
inline constexpr double kMmPerScenePixel = 0.25;

// The wavelength whose emergent ray places the screen (sodium yellow, the middle of the band);
// when it does not emerge, the nearest wavelength that does.
inline constexpr double kScreenReferenceWavelength = 589.0;

// Where the user put the screen: at distanceMm from the prism along the reference emergent ray,
// facing it, turned by turnDegrees (anticlockwise as drawn), widthMm wide, centred on that ray.
struct ScreenPlacement {
    double distanceMm = 500.0;
    double turnDegrees = 0.0;
    double widthMm = 300.0;
    bool operator==(const ScreenPlacement &) const = default;
};

inline constexpr double kScreenMinDistanceMm = 20.0;
inline constexpr double kScreenMaxDistanceMm = 3000.0;
inline constexpr double kScreenMaxTurnDegrees = 80.0;

// The screen in scene pixels (y downwards). Positions along it are in mm from the centre,
// increasing along axis: with the screen facing the beam, towards the side the least deviated
// (red) light goes.
struct ScreenFrame {
    PointD centre;
    PointD axis; // unit vector along the screen
    double halfWidthMm = 0;
    PointD beamOrigin;     // where the reference ray leaves the prism
    PointD beam;           // its unit direction
    double distancePx = 0; // from beamOrigin to centre
    PointD end1() const;   // the screen's two ends, for drawing it
    PointD end2() const;
};

enum class ScreenLanding {
    Lands,      // hits the screen within its width
    Misses,     // emerges, but passes beside the screen or away from it
    NotEmerged, // reflected at entry, trapped, or going straight down
};

struct ScreenHit {
    ScreenLanding status = ScreenLanding::NotEmerged;
    double positionMm = 0; // when Lands
    PointD point;          // scene pixels, when Lands
};

// The emergent ray of a trace: the start of its last drawn line and its direction (degrees,
// clockwise from +x as the tracer gives it); nothing unless the trace emerged.
struct EmergentRay {
    PointD origin;
    double direction = 0;
};
std::optional<EmergentRay> emergentRay(const TraceResult &trace);

// The screen of a scene (its prism, incidence and materials), or nothing when no wavelength of
// 400..800 nm emerges. The placement's values are kept within their limits.
std::optional<ScreenFrame> screenFrame(const SceneState &state, const ScreenPlacement &placement);

// Where a traced ray lands on the screen.
ScreenHit screenHit(const ScreenFrame &frame, const TraceResult &trace);
// Traces the scene's ray of that wavelength and lands it.
ScreenHit screenHitAt(const SceneState &state, const ScreenFrame &frame, double wavelength);

// Where a radiation of the scene's picture lands on the screen, in its ray's colour.
struct ScreenMark {
    double wavelength;
    PointD point; // scene pixels
    double positionMm;
    Rgb colour;
    double brightness; // of a ray the light dims (FigureRay::brightness); 1 otherwise
};
// The marks of the radiations that land (those of sceneRadiations or whiteLightRadiations), in
// their order: what the scene draws on the screen.
std::vector<ScreenMark> screenMarks(const SceneState &state, const ScreenFrame &frame,
                                    const std::vector<Radiation> &rays);

// The marks of the figure's drawn rays that land, from their exits (nothing traced again), where
// the figure draws the screen (moved back with its stop's break): what the views draw on it.
std::vector<ScreenMark> screenMarks(const SceneFigure &figure, const ScreenFrame &frame);

// The scene is 616 x 390 pixels at kMmPerScenePixel: a screen further than the picture holds
// along the beam (about 60 mm) is drawn as a broken view, kScreenMarginPx inside the picture's
// edge, the beam cut by a break kScreenBreakGapPx wide at kScreenBreakAt of the way; the
// landings keep their true offsets along the screen, so the screen's geometry (positions in mm)
// is the true one whatever is drawn.
inline constexpr double kScreenMarginPx = 24.0;
inline constexpr double kScreenShortestShownPx = 48.0;
inline constexpr double kScreenBreakAt = 0.7;
inline constexpr double kScreenBreakGapPx = 8.0;
// A ray at most this bright (a dark line in its nanometre) has its mark drawn over its neighbours'.
inline constexpr double kDimmedRay = 0.5;
// How far along the beam the picture shows the screen where it stands; further, it is broken.
double screenRoomPx(const ScreenFrame &frame);
// Where the figure's rays end: the screen where it stands, or moved back with a break.
RayStop screenStop(const ScreenFrame &frame);

// What the views draw of the screen over the figure: the screen as a line, each landing ray's
// mark, and, when the screen is drawn nearer than it stands, the break across the beam and the
// true distance written beside it.
struct ScreenLayer {
    ScreenFrame frame;
    std::vector<ScreenMark> marks;
    std::optional<FigureStop> stop;
    double distanceMm = 0;
};
// "d = 500 mm", as written by the break.
QString screenDistanceText(double distanceMm);
// Paints the layer in scene coordinates; the line in the outline's colour for the background.
void paintScreenLayer(QPainter &p, const ScreenLayer &layer, bool blackBackground);

// The traced dispersion: the landing position of every wavelength of a grid over 400..800 nm.
// position() interpolates it, wavelengthAt() inverts it where the landing is monotonic.
class ScreenDispersion
{
  public:
    struct Sample {
        double wavelength;
        double positionMm;
    };
    static constexpr double kStep = 0.5; // nm: a tenth of a pixel's error at 1920 pixels

    ScreenDispersion() = default;
    ScreenDispersion(const SceneState &state, const ScreenFrame &frame);

    // The samples that land, in increasing wavelength: one run of consecutive grid points over
    // which the position is strictly monotonic (the longest such run).
    const std::vector<Sample> &samples() const { return m_samples; }
    bool empty() const { return m_samples.size() < 2; }
    double shortestWavelength() const;
    double longestWavelength() const;
    // The landing positions' extent, lower first.
    double lowestPosition() const;
    double highestPosition() const;
    // Position of a wavelength inside the run, by linear interpolation.
    std::optional<double> position(double wavelength) const;
    // The wavelength landing at a position inside the run, by bisection and interpolation.
    std::optional<double> wavelengthAt(double positionMm) const;
    // d(position)/d(wavelength) near a wavelength of the run, mm per nm.
    double slope(double wavelength) const;

  private:
    std::vector<Sample> m_samples;
    bool m_increasing = true;
};

} // namespace vorlac
