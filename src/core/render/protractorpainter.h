#pragma once

#include "model/colour.h"
#include "model/protractor.h"
#include "render/sceneoverlays.h"
#include "render/sceneviewport.h"

#include <QImage>
#include <QPainter>
#include <QTransform>

namespace vorlac
{

struct ProtractorColours {
    Rgb main; // arcs, graduations, straight edge, centre mark
    Rgb line; // the measuring line
};

// White and light cyan over a black scene, black and dark cyan over a white one.
ProtractorColours protractorColours(bool blackBackground);

// The part of the scene picture under the protractor at position (scene pixels), as the
// protractor's background; white where it reaches past the picture. A picture with a device
// pixel ratio gives the same part in its own pixels, with that ratio.
QImage copyProtractorBackground(const QImage &scene, QPoint position);
// The side x side square at position of the picture's pixels (white past the picture).
QImage copyProtractorBackground(const QImage &scene, QPoint position, int side);

// Arcs, graduations, straight edge, centre mark and measuring line (not the handles, which are
// pictures of their own).
void paintProtractorFigure(QPainter &p, const ProtractorFigure &figure, const ProtractorColours &colours);

// Scene pixels of the protractor at position to window pixels of view: the same place on the
// scene whatever the zoom.
QTransform protractorToWindow(QPoint position, const SceneViewport &view);
// The figure drawn at the view's scale (not its pixels enlarged), every line lineWidth window
// pixels wide, over whatever the painter already shows.
void paintProtractorOnView(QPainter &p, const ProtractorFigure &figure, const ProtractorColours &colours,
                           QPoint position, const SceneViewport &view, double lineWidth);

// The whole protractor picture at position: background, the scene's overlays (with the lamp
// picture, if any), figure (handles left out).
QImage drawProtractorPicture(const QImage &background, QPoint position, const SceneOverlays &overlays,
                             const QImage *lamp, const ProtractorFigure &figure, const ProtractorColours &colours);

} // namespace vorlac
