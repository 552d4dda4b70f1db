#pragma once

#include "model/scenestate.h"

#include <QFont>
#include <QLineF>
#include <QLocale>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QTransform>
#include <vector>

class QPainter;

namespace vorlac
{

class ViewTrail;

struct SceneFigure;

enum class AngleKind { Incidence, Refraction, ExitIncidence, Emergence, Apex, Deviation };

// One angle marked on the figure: an arc at its vertex and a label with its value. Angles are in
// degrees anticlockwise from +x with y upwards, as QPainter::drawArc takes them.
struct AngleMark {
    AngleKind kind = AngleKind::Incidence;
    QString label; // "i = 36,0°": the measurements panel's value text
    QPointF vertex;
    double radius = 0;
    double startAngle = 0;
    double spanAngle = 0;
    bool hasArc = true; // D without a vertex inside the picture has its label only
    QRectF labelRect;   // scene pixels
    QLineF leader;      // from the arc to a label placed away from it; null when it is beside it
};

// The marks of the ray the panel measures (the cursor's wavelength; with five radiations the
// drawn one nearest the cursor), with the dashed guides they are read against: the normals at
// the faces and the incident ray produced. A mark exists where the panel shows a value, so the
// marks stop where the ray stops.
struct AngleFigure {
    std::vector<AngleMark> marks;
    std::vector<QLineF> guides;
};

// The font of the labels, in scene pixels.
QFont angleMarkFont();

// The marks of the figure's measured ray, values to `decimals` as the panel shows them, labels
// placed clear of every drawn ray, the outline, the lamp, the arcs, each other and the leader
// lines, and inside the picture; r and r' on their own face's side.
AngleFigure angleMarks(const SceneFigure &figure, const QLocale &locale, int decimals = 1);

// Paints the marks in the scene's coordinates (the painter may scale them): arcs and guides as
// lines, labels as text, readable on either background.
// withLabels false: the arcs, guides and leaders only (a zoomed view paints its labels itself).
void paintAngleMarks(QPainter &p, const AngleFigure &figure, bool blackBackground, bool withLabels = true);
// Records in trail where paintAngleMarks draws the arcs, guides and leaders (not the labels).
void traceAngleMarks(ViewTrail &trail, const AngleFigure &figure);

// A zoomed view's labels: each centred where toWindow puts the scene's label, at the size of the
// unzoomed view (textScale window pixels per scene pixel) rather than grown with the zoom, and
// moved the least to lie inside window.
std::vector<QRectF> labelsOnView(const AngleFigure &figure, const QTransform &toWindow, double textScale,
                                 const QRectF &window);
// Paints the labels at those places, in window coordinates.
void paintAngleLabels(QPainter &p, const AngleFigure &figure, const std::vector<QRectF> &places, double textScale,
                      bool blackBackground);

// Whether a segment meets a rectangle (end points inside count).
bool segmentMeetsRect(const QLineF &segment, const QRectF &rect);

} // namespace vorlac

namespace vorlac
{

// The projection window's large read-out: i, D and the wavelength of the measured ray, with the
// measurements panel's texts ("i = 36,0°", "D = 24,3°", "λ = 589 nm").
QStringList readoutLines(const SceneFigure &figure, const QLocale &locale, int decimals = 1);

} // namespace vorlac
