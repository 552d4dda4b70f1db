#pragma once

#include "model/constants.h"

#include <QLocale>
#include <QPointF>
#include <QRect>
#include <QString>
#include <array>
#include <cstdint>
#include <qnamespace.h>
#include <vector>

namespace vorlac
{

// The protractor laid over the scene: a 202 x 202 picture whose centre (100, 100) is the centre
// of a graduated half-disc. Angles are radians, counter-clockwise on the screen, and use the
// program's own decimal values (6.28, 3.1416, 1.571, kPi) rather than exact multiples of pi: the
// handles and the read-out pupils compare with depend on them.
namespace protractor
{
inline constexpr int kSize = 202;
inline constexpr double kCentre = 100.0;
inline constexpr double kFullTurn = 6.28;
inline constexpr double kScaleEnd = 3.1416; // the arc's end, and the offset of leftward directions
inline constexpr double kRightAngle = 1.571;
inline constexpr double kGraduationStep = 0.1745; // 10 degrees
inline constexpr double kEdgeSpread = 0.2;        // the straight edge's corners, beyond the base ends
inline constexpr double kTurnHandleAngle = 6.18;  // just before the start of the arc
inline constexpr double kCrossAngle = 3.24;       // just past its end
inline constexpr double kTurnHandleOffset = 0.1;  // keeps the turning handle under the mouse
inline constexpr double kSnapToEnd = 3.3;         // a little past the left end counts as 180 degrees
inline constexpr double kSnapToStart = 6.0;       // a little before the right end counts as 0
inline constexpr double kOuterRadius = 99;
inline constexpr double kInnerRadius = 79;
inline constexpr double kHandleRadius = 88;
inline constexpr double kSphereRadius = 90;
inline constexpr int kHandleSize = 16;
inline constexpr QPoint kDesignedPosition{64, 16};
inline constexpr const char *kReadOutPattern = "##0.0";
} // namespace protractor

// What the protractor keeps for the whole run, shown or hidden.
struct ProtractorState {
    float rotation = 0.0f;       // protractorRotation: direction of the base
    float lineAngle = 1.571f;    // protractorLineAngle: the cyan line, from the base, 0..pi
    std::int16_t crossGrabX = 0; // where inside the move cross the mouse was grabbed
    std::int16_t crossGrabY = 0;
    QPoint position = protractor::kDesignedPosition; // top-left corner in the scene
    bool operator==(const ProtractorState &) const = default;
};

// polar(r, a) of the protractor's picture.
QPointF protractorPolar(double r, double a);

// The rotation brought into 0..6.28 by steps of 6.28. A value that is not finite becomes 0, and a
// value so large that single steps cannot move it is reduced by division, so the loop is bounded.
float normaliseRotation(float r);

// Direction of the picture point (x, y) seen from the centre; straight above or below the
// centre (x = 100) gives 1.571 or -1.571.
double mouseDirection(double x, double y);

// The turning handle dragged to (x, y): the new rotation (the measured angle is unchanged).
void turnProtractor(ProtractorState &state, double x, double y);

// The sphere dragged to (x, y): the new line angle, snapped near the base's ends, and left as it
// was when the mouse is on the other side of the base.
void aimLine(ProtractorState &state, double x, double y);

// The measured angle in degrees, folded to 0..90.
double readOutDegrees(float lineAngle);
QString readOutText(float lineAngle, const QLocale &locale);

// Grab point inside the move cross (halves to even).
void recordCrossGrab(ProtractorState &state, double x, double y);

// The cross dragged to (x, y) of its own pixels while its top-left corner is at cross: the new
// position, kept inside the scene rectangle. Returns whether it moved.
bool moveProtractor(ProtractorState &state, double x, double y, const QRect &sceneRect);

// What a key asks of the protractor with the keyboard focus: arrows move it (a pixel, ten with
// Shift), Ctrl+arrows turn it and Alt+arrows aim its line (a degree, a tenth with Shift; Left and
// Up counter-clockwise), Escape closes it.
struct ProtractorKey {
    enum Action { None, Move, Turn, Aim, Close };
    Action action = None;
    int dx = 0, dy = 0; // Move, in scene pixels
    double radians = 0; // Turn and Aim, counter-clockwise
};
ProtractorKey protractorKey(int key, Qt::KeyboardModifiers modifiers);

// The key moves: the protractor moved by (dx, dy), kept inside the scene as a drag keeps it.
bool nudgeProtractor(ProtractorState &state, int dx, int dy, const QRect &sceneRect);
// Turned by radians (the measured angle is unchanged).
void turnProtractorBy(ProtractorState &state, double radians);
// The line aimed by radians, kept on the graduated half (0..pi). Returns whether it changed.
bool aimLineBy(ProtractorState &state, double radians);

struct ProtractorArc {
    double radius, start, end; // drawn counter-clockwise from start to end
};

struct ProtractorLine {
    QPointF a, b;
};

// Everything one drawing of the protractor shows, in its own pixels.
struct ProtractorFigure {
    std::vector<ProtractorArc> arcs;   // outer arc (one or two pieces), inner arc
    std::vector<ProtractorLine> lines; // base radii, graduations, straight edge, centre mark
    QPointF turnHandle;                // top-left corners of Imaged, Imagecroix, Imageboule
    QPointF cross;
    QPointF sphere;
    ProtractorLine measuringLine; // centre to the sphere's centre, in the line colour
};

// Lays the protractor out for the state, storing the normalised rotation.
ProtractorFigure layoutProtractor(ProtractorState &state);

} // namespace vorlac
