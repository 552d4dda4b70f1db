#pragma once

#include "common/displaysettings.h"
#include "model/colour.h"
#include "model/raytracer.h"
#include "model/scenestate.h"
#include "render/sceneviewport.h"

#include <QImage>
#include <QLocale>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <vector>

namespace vorlac
{

class ViewTrail;

struct SceneFigure;

// The magnifier ("Grossissement") looks at the emergent beam of the measured ray (the cursor's
// wavelength; with five radiations or a lamp the drawn one nearest it) at a fixed distance from
// the exit face, where close wavelengths have drifted apart.
inline constexpr int kMagnifierMinZoom = kMinSettingsZoom;
inline constexpr int kMagnifierMaxZoom = kMaxSettingsZoom;
inline constexpr int kMagnifierDefaultZoom = DisplaySettings{}.magnifierZoom;
// Scene pixels along the beam from its exit point: half the drawn emergent ray (400 pixels),
// less where the beam leaves the picture sooner.
inline constexpr double kMagnifierDistance = 200.0;
// The first ray width of the magnified picture, in window pixels; the window draws its rays at the
// width chosen for the projection, which a class sees.
inline constexpr int kMagnifierRayWidth = 2;

struct MagnifiedBeam {
    bool emerged = false; // the measured ray leaves the prism; else the last stretch of its path
    double wavelength = 0;
    PointD exitPoint;     // scene pixels, where that stretch starts
    double direction = 0; // degrees, screen convention (clockwise from +x)
    PointD centre;        // the point looked at, along the beam, inside the picture
    double distance = 0;  // from exitPoint to centre, scene pixels
};

// Where the beam is: the figure's measured ray.
MagnifiedBeam magnifiedBeam(const SceneFigure &figure);

// The rectangle shown: zoom window pixels per scene pixel, centred on the beam's point.
SceneViewport magnifierViewport(const MagnifiedBeam &beam, QSizeF window, double zoom);

// Where the ray of `wavelength` crosses the line through the beam's centre square to the beam,
// as a signed distance in scene pixels from the centre; nullopt when it does not emerge.
std::optional<double> beamOffset(const SceneFigure &figure, const MagnifiedBeam &beam, double wavelength);

// The figure's lines drawn for the view, as drawSceneView does, rays rayWidth window pixels wide,
// except that each emergent ray goes in its exact direction: the designed picture ends it on a
// whole pixel, which at this scale would bend the beams together.
void drawMagnifiedScene(const SceneFigure &figure, const SceneViewport &view, double ratio, int rayWidth,
                        QImage &target, ViewTrail *trail = nullptr);

// A drawn radiation's name where it crosses the view: "588,995 nm", "raie 3" for a hidden lamp.
struct BeamLabel {
    QString text;
    QPointF at;        // window pixels, where the ray crosses the line square to the beam at its centre
    double offset = 0; // scene pixels from the beam's centre, across it
};

// The labels of the radiations that cross the view (none for white light), ordered across the beam.
std::vector<BeamLabel> magnifierLabels(const SceneFigure &figure, const MagnifiedBeam &beam, const SceneViewport &view,
                                       QSizeF window, const QLocale &locale);

} // namespace vorlac
