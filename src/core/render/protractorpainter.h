#pragma once

#include "model/colour.h"
#include "model/protractor.h"

#include <QImage>
#include <QLine>
#include <QPainter>

namespace vorlac {

struct ProtractorColours {
    Rgb main; // arcs, graduations, straight edge, centre mark
    Rgb line; // the measuring line
};

// White and light cyan over a black scene, black and dark cyan over a white one.
ProtractorColours protractorColours(bool blackBackground);

// The part of the scene picture under the protractor at position (scene pixels), as the
// protractor's background; white where it reaches past the picture.
QImage CopyProtractorBackground(const QImage &scene, QPoint position);

// The objects laid over the scene that its picture does not contain, in scene pixels.
struct SceneOverlays {
    QLine line1;
    Rgb line1Colour = palette::White;
    QPoint lampTopLeft;
    const QImage *lamp = nullptr; // 32 x 32 with transparency, or none
};

// The incident ray and the lamp, drawn where they lie under a protractor at position.
void PaintProtractorOverlays(QPainter &p, QPoint position, const SceneOverlays &overlays);

// Arcs, graduations, straight edge, centre mark and measuring line (not the handles, which are
// pictures of their own).
void PaintProtractorFigure(QPainter &p, const ProtractorFigure &figure, const ProtractorColours &colours);

// The whole protractor picture: background, overlays, figure (handles left out).
QImage DrawProtractorPicture(const QImage &background, QPoint position, const SceneOverlays &overlays,
                             const ProtractorFigure &figure, const ProtractorColours &colours);

} // namespace vorlac
