#include "model/protractor.h"

#include "common/numberpattern.h"
#include "common/rounding.h"

#include <algorithm>
#include <cmath>

namespace vorlac
{

using namespace protractor;

namespace
{

// Single-precision storage of a computed value.
float single(double v)
{
    return static_cast<float>(v);
}

QPointF roundedPolar(double r, double a)
{
    const QPointF p = protractorPolar(r, a);
    return {roundHalfEven(p.x()), roundHalfEven(p.y())};
}

// Top-left corner of a 16 x 16 handle centred on polar(r, a), in single precision.
QPointF handleCorner(double r, double a)
{
    const QPointF c = protractorPolar(r, a);
    const double half = kHandleSize / 2;
    return {single(c.x() - half), single(c.y() - half)};
}

} // namespace

QPointF protractorPolar(double r, double a)
{
    return {kCentre + r * std::cos(a), kCentre - r * std::sin(a)};
}

float normaliseRotation(float r)
{
    if (!std::isfinite(r))
        return 0.0f;
    // Far away, single steps would take too long or not change the value at all.
    if (std::fabs(r) > 64 * kFullTurn)
        r = single(std::fmod(static_cast<double>(r), kFullTurn));
    while (r > kFullTurn)
        r = single(r - kFullTurn);
    while (r < 0)
        r = single(r + kFullTurn);
    return r;
}

double mouseDirection(double x, double y)
{
    if (x == kCentre)
        return y < kCentre ? kRightAngle : -kRightAngle;
    double d = -std::atan((kCentre - y) / (kCentre - x));
    if (x < kCentre)
        d += kScaleEnd;
    return d;
}

void turnProtractor(ProtractorState &state, double x, double y)
{
    state.rotation = single(mouseDirection(x, y) + kTurnHandleOffset);
}

void aimLine(ProtractorState &state, double x, double y)
{
    const float previous = state.lineAngle;
    double l = mouseDirection(x, y) - state.rotation;
    for (int pass = 0; pass < 2; ++pass) {
        if (l < 0)
            l += kFullTurn;
        if (l > kFullTurn)
            l -= kFullTurn;
    }
    if (l > kPi && l < kSnapToEnd)
        l = kPi;
    if (l > kSnapToStart)
        l = 0;
    if (l > kScaleEnd) {
        state.lineAngle = previous;
        return;
    }
    state.lineAngle = single(l);
}

double readOutDegrees(float lineAngle)
{
    double d = lineAngle * 180.0 / kPi;
    if (d > 90)
        d = 180 - d;
    return d;
}

QString readOutText(float lineAngle, const QLocale &locale)
{
    return formatNumberPattern(readOutDegrees(lineAngle), QString::fromLatin1(kReadOutPattern), locale);
}

void recordCrossGrab(ProtractorState &state, double x, double y)
{
    state.crossGrabX = toInt16(x);
    state.crossGrabY = toInt16(y);
}

bool moveProtractor(ProtractorState &state, double x, double y, const QRect &sceneRect)
{
    double left = state.position.x() + x - state.crossGrabX;
    double top = state.position.y() + y - state.crossGrabY;
    if (!std::isfinite(left) || !std::isfinite(top))
        return false;
    const double scaleLeft = sceneRect.x(), scaleTop = sceneRect.y();
    if (left < scaleLeft)
        left = scaleLeft;
    if (top < scaleTop)
        top = scaleTop;
    if (left + kSize >= scaleLeft + sceneRect.width())
        left = scaleLeft + sceneRect.width() - kSize;
    if (top + kSize >= scaleTop + sceneRect.height())
        top = scaleTop + sceneRect.height() - kSize;
    const QPoint moved(toInt16(left), toInt16(top));
    if (moved == state.position)
        return false;
    state.position = moved;
    return true;
}

ProtractorKey protractorKey(int key, Qt::KeyboardModifiers modifiers)
{
    ProtractorKey k;
    const Qt::KeyboardModifiers mods = modifiers & ~Qt::KeypadModifier;
    if (key == Qt::Key_Escape && mods == Qt::NoModifier) {
        k.action = ProtractorKey::Close;
        return k;
    }
    int sx = 0, sy = 0;
    switch (key) {
    case Qt::Key_Left:
        sx = -1;
        break;
    case Qt::Key_Right:
        sx = 1;
        break;
    case Qt::Key_Up:
        sy = -1;
        break;
    case Qt::Key_Down:
        sy = 1;
        break;
    default:
        return k;
    }
    const bool shift = mods & Qt::ShiftModifier;
    const Qt::KeyboardModifiers kind = mods & ~Qt::ShiftModifier;
    // One degree in the program's own radians, so that ten steps are one graduation.
    const double angle = (shift ? kGraduationStep / 100.0 : kGraduationStep / 10.0) * ((sx < 0 || sy < 0) ? 1 : -1);
    if (kind == Qt::NoModifier) {
        const int step = shift ? 10 : 1;
        k.action = ProtractorKey::Move;
        k.dx = sx * step;
        k.dy = sy * step;
    } else if (kind == Qt::ControlModifier) {
        k.action = ProtractorKey::Turn;
        k.radians = angle;
    } else if (kind == Qt::AltModifier) {
        k.action = ProtractorKey::Aim;
        k.radians = angle;
    }
    return k;
}

bool nudgeProtractor(ProtractorState &state, int dx, int dy, const QRect &sceneRect)
{
    return moveProtractor(state, state.crossGrabX + dx, state.crossGrabY + dy, sceneRect);
}

void turnProtractorBy(ProtractorState &state, double radians)
{
    state.rotation = normaliseRotation(single(state.rotation + radians));
}

bool aimLineBy(ProtractorState &state, double radians)
{
    const float before = state.lineAngle;
    state.lineAngle = single(std::clamp(state.lineAngle + radians, 0.0, kPi));
    return state.lineAngle != before;
}

ProtractorFigure layoutProtractor(ProtractorState &state)
{
    state.rotation = normaliseRotation(state.rotation);
    const double r = state.rotation;
    ProtractorFigure f;
    f.arcs.reserve(3);
    f.lines.reserve(26);

    // Arc angles stay within one turn, so past pi the outer arc is drawn in two pieces.
    if (r > kPi) {
        f.arcs.push_back({kOuterRadius, r, kFullTurn});
        f.arcs.push_back({kOuterRadius, 0, r + kPi - kFullTurn});
    } else {
        f.arcs.push_back({kOuterRadius, r, r + kPi});
    }
    f.arcs.push_back({kInnerRadius, r, r + kScaleEnd});
    const QPointF centre(kCentre, kCentre);
    f.lines.push_back({centre, protractorPolar(kInnerRadius, r)});
    f.lines.push_back({centre, protractorPolar(kInnerRadius, r + kScaleEnd)});

    for (int k = 0; k < 32; ++k) {
        const double a = r + k * kGraduationStep;
        if (a > r + kScaleEnd)
            break;
        f.lines.push_back({protractorPolar(84, a), protractorPolar(94, a)});
    }

    const QPointF p1 = roundedPolar(101, r + kPi + kEdgeSpread);
    const QPointF p2 = roundedPolar(101, r - kEdgeSpread);
    f.lines.push_back({p1, p2});
    f.lines.push_back({p1, roundedPolar(kOuterRadius, r + kPi)});
    f.lines.push_back({p2, roundedPolar(kOuterRadius, r)});
    f.lines.push_back({roundedPolar(4, r + kRightAngle + kPi), roundedPolar(4, r + kRightAngle)});

    f.turnHandle = handleCorner(kHandleRadius, r + kTurnHandleAngle);
    f.cross = handleCorner(kHandleRadius, r + kCrossAngle);
    f.sphere = handleCorner(kSphereRadius, r + state.lineAngle);
    const double half = kHandleSize / 2;
    f.measuringLine = {centre, QPointF(f.sphere.x() + half, f.sphere.y() + half)};
    return f;
}

} // namespace vorlac
