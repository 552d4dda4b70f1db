#pragma once

#include "model/colour.h"
#include "model/radiations.h"
#include "model/raytracer.h"
#include "model/scenedescription.h"
#include "model/scenestate.h"
#include "render/raystop.h"

#include <optional>
#include <vector>

namespace vorlac
{

// Where a traced ray leaves the prism, as exactly as the trace knows it (the drawn emergent ray
// ends on a whole pixel).
struct RayExit {
    bool emerged = false;
    PointD from;
    double direction = 0;                    // degrees, screen convention (clockwise from +x)
    std::size_t segment = 0;                 // the emergent segment, counted in the ray's own segments
    static constexpr double kLength = 400.0; // as the tracer draws it
    double length = kLength;                 // drawn from `from`: shorter when a stop ends it
};

// One drawn radiation of a figure and its lines, segments[first, first + count).
struct FigureRay {
    Radiation radiation;
    std::size_t first = 0;
    std::size_t count = 0;
    RayExit exit;
    TracePath path;
    std::optional<PointD> landing; // where it ends on a stop, as drawn
    double brightness = 1.0;       // its colour's share of the radiation's own (a light that dims it)
};

// The scene as every view shows it, traced once per change of the scene: the outline and the
// other primitives shared by all rays, each drawn radiation's own lines, the measures the panels
// read, the measured ray the marks and the magnifier follow, and what must stay hidden. A view
// draws these lines; none traces again.
struct SceneFigure {
    SceneState state;   // as traced: the incidence clamped
    TraceLayout layout; // Line1 end points and the lamp position
    Rgb line1Colour = palette::White;
    std::vector<Segment> primitives; // outline, entry normal, arrow: once, in the OR of the rays' colours
    std::vector<Segment> segments;   // every ray's own lines, ray after ray
    std::vector<FigureRay> rays;
    bool whiteLight = false; // the 401 radiations of white light (not the five-ray preview)
    // The measures of every ray in tracing order (an unknown glass's index not a number); the
    // white-light preview adds the ray of the chosen wavelength.
    std::vector<RayMeasures> measures;
    // The ray the panel measures (minimumWavelength), traced in white with the shared primitives.
    double measuredWavelength = 0;
    TraceResult measuredRay;
    RayExit measuredExit;
    // How the rays the scene's words tell of went (the screen reader's description).
    ScenePaths paths;
    int traces = 0; // radiations traced to build the figure
    // The stop the emergent rays end on (the screen), when one stands after the prism.
    std::optional<FigureStop> stop;

    // What no view may show: the lamp's lines (its name, its spectrum) and the glass's index.
    bool lampHidden() const { return state.lampHidden; }
    bool glassHidden() const { return prismIndexHidden(state); }

    const FigureRay *rayAt(double wavelength) const;
};

// The incidence as the trace clamps it for the state's apex.
double clampedIncidence(const SceneState &state);

// The figure of the state's radiations (one, the five, a lamp's lines; white light previewed
// with the five), or of white light's 401 when spectrum is given and white light is the source.
SceneFigure traceFigure(const SceneState &state, const SpectrumColours *spectrum = nullptr);

// The measured ray again, for a new cursor that redraws nothing (five radiations, a lamp, white light).
void measureFigure(SceneFigure &figure, int wavelength);

// Calls draw(segment) for the figure's lines in drawing order: the shared primitives, then the rays.
template <typename Draw> void forEachFigureSegment(const SceneFigure &figure, Draw &&draw)
{
    for (const Segment &s : figure.primitives)
        draw(s);
    for (const Segment &s : figure.segments)
        draw(s);
}

} // namespace vorlac
