#pragma once

#include "model/colour.h"

#include <QImage>
#include <QLine>
#include <QPoint>

class QPainter;

namespace vorlac
{

struct ScenePicture;
struct SceneFigure;

// What lies over the scene picture without being part of it: the incident ray Line1 and the
// lamp, at the whole pixels where the window shows them.
struct SceneOverlays {
    QLine line1;
    Rgb line1Colour = palette::White;
    QPoint lampTopLeft;
};

// The overlays of the picture's last trace, its end points and lamp corner rounded to 16-bit
// integers (halves to even).
SceneOverlays sceneOverlays(const ScenePicture &picture);
SceneOverlays sceneOverlays(const SceneFigure &figure);

// Line1 (aliased, one logical pixel wide) and, when given, the lamp picture. origin is the scene
// point that lies at the painter's (0, 0).
void paintSceneOverlays(QPainter &p, const SceneOverlays &overlays, const QImage *lamp, QPoint origin = {});

} // namespace vorlac
