#pragma once

#include "model/colour.h"
#include "model/radiations.h"
#include "model/raytracer.h"
#include "model/scenestate.h"
#include "render/scenefigure.h"

#include <QImage>
#include <optional>
#include <vector>

namespace vorlac
{

// The persistent scene picture and the overlays placed by the last trace.
struct ScenePicture {
    ScenePicture();
    QImage image;           // kSceneWidth x kSceneHeight, RGB32: printed, copied, measured
    TraceLayout lastLayout; // Line1 end points and the lamp position
    Rgb line1Colour = palette::White;
    int raysTraced = 0;
    // The same picture at the screen's device pixel ratio (its devicePixelRatio set), drawn from
    // the same traces; null at ratio 1, where the screen shows image itself.
    QImage screenImage;

    // The ratio of the screen the picture is shown on; takes effect at the next redraw.
    void setScreenRatio(double ratio);
    double screenRatio() const;
    // What the screen shows: screenImage, or image at ratio 1.
    const QImage &shownImage() const { return screenImage.isNull() ? image : screenImage; }
    // The measures of every ray of the last picture, in tracing order; the white-light preview
    // adds the ray of the chosen wavelength, which the full picture that follows draws.
    std::vector<RayMeasures> measures;
};

// The measures the picture holds for that wavelength; nullptr when it traced none.
const TraceMeasures *measuresAt(const ScenePicture &picture, double wavelength);

// The outline, normals and lamp that every ray's trace shares, drawn once in the OR of all the
// rays' colours, as overlapping rays would merge them; rays must not be empty.
TraceLayout sharedPrimitives(const SceneState &state, const std::vector<Radiation> &rays, std::vector<Segment> &out);

// Draws the figure's lines into the picture (and the screen's copy), and takes its layout,
// Line1 colour and measures.
void drawFigure(const SceneFigure &figure, ScenePicture &picture);

// Rebuilds the picture from scratch for monochromatic light or the five radiations (in white
// light: the quick five-ray preview). Returns the layout of the trace (also kept in
// picture.lastLayout), whose incidenceAngle is the clamped incidence the picture shows.
TraceLayout RedrawScene(const SceneState &state, ScenePicture &picture);

// Rebuilds the 401-ray white-light picture; does nothing and returns no layout unless white
// light is the selected source.
std::optional<TraceLayout> RedrawWhiteLight(const SceneState &state, const SpectrumColours &spectrumColour,
                                            ScenePicture &picture);

// Draws every radiation in full, one complete trace after another. The redraws above give the
// same pixels faster; this is the reference they are checked against.
TraceLayout drawRadiationsNaively(const SceneState &state, const std::vector<Radiation> &rays, ScenePicture &picture);

} // namespace vorlac
