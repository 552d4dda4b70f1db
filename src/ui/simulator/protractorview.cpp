#include "simulator/protractorview.h"

#include "common/clicklabel.h"
#include "common/focusmarks.h"
#include "common/pictures.h"
#include "common/regional.h"
#include "common/rounding.h"
#include "simulator/sceneview.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace vorlac
{

namespace
{

const QString kCrossHint = QStringLiteral("Utiliser la croix pour déplacer le rapporteur");
const QString kTurnHint = QStringLiteral("Utiliser la souris pour faire pivoter le rapporteur");
const QString kSphereHint = QStringLiteral("Utiliser la sphère cyan pour déplacer la droite et mesurer un angle");
const QString kProtractorHint =
    QStringLiteral("Le rapporteur peut pivoter et être déplacé. Il mesue l'angle entre la droite cyan et sa base.");
const QString kKeysDescription =
    QStringLiteral("Flèches : déplacer le rapporteur (Maj : 10 pixels). Ctrl + flèches : le faire pivoter, "
                   "Alt + flèches : orienter la droite cyan (1 degré, Maj : 0,1 degré). Échap : fermer.");

// The handles are drawn dark with a light halo so that they read on either background.
QImage handleImage()
{
    QImage img(protractor::kHandleSize, protractor::kHandleSize, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void haloStroke(QPainter &p, const QPainterPath &path)
{
    p.strokePath(path, QPen(QColor(255, 255, 255, 220), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.strokePath(path, QPen(QColor(0, 0, 96), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

QPixmap crossPicture()
{
    QImage img = handleImage();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(8, 1.5);
    path.lineTo(8, 14.5);
    path.moveTo(1.5, 8);
    path.lineTo(14.5, 8);
    // Arrow heads on the four arms.
    path.moveTo(5.5, 4);
    path.lineTo(8, 1.5);
    path.lineTo(10.5, 4);
    path.moveTo(5.5, 12);
    path.lineTo(8, 14.5);
    path.lineTo(10.5, 12);
    path.moveTo(4, 5.5);
    path.lineTo(1.5, 8);
    path.lineTo(4, 10.5);
    path.moveTo(12, 5.5);
    path.lineTo(14.5, 8);
    path.lineTo(12, 10.5);
    haloStroke(p, path);
    p.end();
    return QPixmap::fromImage(img);
}

QPixmap turnPicture()
{
    QImage img = handleImage();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    const QRectF box(3, 3, 10, 10);
    path.arcMoveTo(box, 60);
    path.arcTo(box, 60, 280);
    // Arrow head at the end of the turn.
    const QPointF end = path.currentPosition();
    path.moveTo(end + QPointF(-3.2, -0.6));
    path.lineTo(end);
    path.lineTo(end + QPointF(0.4, -3.3));
    haloStroke(p, path);
    p.end();
    return QPixmap::fromImage(img);
}

QPixmap spherePicture()
{
    QImage img = handleImage();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(QPointF(6, 6), 8);
    g.setColorAt(0, QColor(220, 255, 255));
    g.setColorAt(0.5, QColor(0, 230, 230));
    g.setColorAt(1, QColor(0, 110, 120));
    p.setBrush(g);
    p.setPen(QPen(QColor(0, 70, 80), 1));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.end();
    return QPixmap::fromImage(img);
}

LampLabel *makeHandle(QWidget *parent, const char *name, const QPixmap &picture, const QCursor &cursor)
{
    auto *h = new LampLabel(parent);
    h->setObjectName(QString::fromLatin1(name));
    h->setFixedSize(protractor::kHandleSize, protractor::kHandleSize);
    h->setPixmap(picture);
    h->setCursor(cursor);
    h->setMouseTracking(true); // hints on hover, grab point before the first drag
    return h;
}

QRect lineBounds(const ProtractorLine &l)
{
    return QRectF(l.a, l.b).normalized().toAlignedRect().adjusted(-2, -2, 2, 2);
}

QPoint rounded(QPointF p)
{
    return {toInt16(p.x()), toInt16(p.y())};
}

} // namespace

ProtractorView::ProtractorView(const ScenePicture &scene, QWidget *dessin)
    : QWidget(dessin), m_scene(scene), m_colours(protractorColours(true)),
      m_cross(makeHandle(this, "Imagecroix", crossPicture(), Qt::SizeAllCursor)),
      m_turn(makeHandle(this, "Imaged", turnPicture(), Qt::PointingHandCursor)),
      m_sphere(makeHandle(this, "Imageboule", spherePicture(), Qt::PointingHandCursor))
{
    setObjectName(QStringLiteral("picturap"));
    setGeometry(QRect(m_state.position, QSize(protractor::kSize, protractor::kSize)));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Rapporteur"));
    setAccessibleDescription(kKeysDescription);
    m_lamp = lampPicture(devicePixelRatioF()).toImage();
    m_background = QImage(protractor::kSize, protractor::kSize, QImage::Format_RGB32);
    m_background.fill(0xffffffffu);
    hide();

    connect(m_cross, &LampLabel::mouseMoved, this, &ProtractorView::crossMoved);
    // The grab point is taken on the press too, so a drag that starts without a hover first
    // (a touch pad tap, a window raised under the mouse) does not jump.
    connect(m_cross, &LampLabel::mouseDown, this,
            [this](Qt::MouseButtons, QPointF pos) { recordCrossGrab(m_state, pos.x(), pos.y()); });
    connect(m_turn, &LampLabel::mouseMoved, this, &ProtractorView::turnMoved);
    connect(m_sphere, &LampLabel::mouseMoved, this, &ProtractorView::sphereMoved);
}

QString ProtractorView::readOut() const
{
    return readOutText(m_state.lineAngle, regionalLocale());
}

void ProtractorView::setPlacement(float rotation, float lineAngle, QPoint position)
{
    ProtractorState placed = m_state;
    placed.rotation = rotation;
    placed.lineAngle = lineAngle;
    placed.position = position;
    setState(placed);
}

void ProtractorView::setState(const ProtractorState &state)
{
    m_state = state;
    move(m_state.position);
    copyBackground();
    DrawProtractor();
    emit readOutChanged(readOut());
}

void ProtractorView::copyBackground()
{
    m_background = copyProtractorBackground(m_scene.shownImage(), m_state.position);
}

void ProtractorView::RefreshProtractor(bool blackBackground)
{
    m_colours = protractorColours(blackBackground);
    copyBackground();
    DrawProtractor();
}

void ProtractorView::DrawProtractor(const QRect &dirty)
{
    m_figure = layoutProtractor(m_state);
    // Handle corners are kept in single precision; the widgets sit on the nearest pixel.
    m_turn->move(rounded(m_figure.turnHandle));
    m_cross->move(rounded(m_figure.cross));
    m_sphere->move(rounded(m_figure.sphere));
    if (dirty.isEmpty())
        update();
    else
        update(dirty);
}

void ProtractorView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(QRect(0, 0, protractor::kSize, protractor::kSize), m_background);
    paintSceneOverlays(p, sceneOverlays(m_scene), &m_lamp, m_state.position);
    paintProtractorFigure(p, m_figure, m_colours);
    if (FocusMarks::shows(this))
        paintFocusMark(p, rect());
}

bool ProtractorView::handleKey(int key, Qt::KeyboardModifiers modifiers)
{
    const ProtractorKey k = protractorKey(key, modifiers);
    switch (k.action) {
    case ProtractorKey::None:
        return false;
    case ProtractorKey::Close:
        emit closeRequested();
        return true;
    case ProtractorKey::Move:
        if (nudgeProtractor(m_state, k.dx, k.dy, QRect(QPoint(0, 0), m_scene.image.size()))) {
            move(m_state.position);
            copyBackground();
            DrawProtractor();
            emit stateChanged();
            emit edited(QStringLiteral("déplacement du rapporteur"));
        }
        return true;
    case ProtractorKey::Turn:
        turnProtractorBy(m_state, k.radians);
        DrawProtractor();
        emit stateChanged();
        emit edited(QStringLiteral("rotation du rapporteur"));
        return true;
    case ProtractorKey::Aim:
        if (aimLineBy(m_state, k.radians)) {
            DrawProtractor();
            emit stateChanged();
            emit edited(QStringLiteral("mesure au rapporteur"));
        }
        emit readOutChanged(readOut());
        return true;
    }
    return false;
}

void ProtractorView::keyPressEvent(QKeyEvent *e)
{
    if (handleKey(e->key(), e->modifiers()))
        e->accept();
    else
        QWidget::keyPressEvent(e);
}

QImage ProtractorView::picture()
{
    QImage img(size(), QImage::Format_RGB32);
    render(&img);
    return img;
}

void ProtractorView::mouseMoveEvent(QMouseEvent *e)
{
    if (e->buttons() == Qt::NoButton)
        emit hint(kProtractorHint);
    e->accept();
}

QPointF ProtractorView::inPicture(const QWidget *handle, QPointF pos) const
{
    // Measured from the handle's single-precision corner, as the drawing placed it.
    QPointF corner = m_figure.sphere;
    if (handle == m_cross)
        corner = m_figure.cross;
    else if (handle == m_turn)
        corner = m_figure.turnHandle;
    return corner + pos;
}

void ProtractorView::crossMoved(Qt::MouseButtons buttons, QPointF pos)
{
    if (!(buttons & Qt::LeftButton)) {
        emit hint(kCrossHint);
        recordCrossGrab(m_state, pos.x(), pos.y());
        return;
    }
    const QRect sceneRect(QPoint(0, 0), m_scene.image.size());
    if (!moveProtractor(m_state, pos.x(), pos.y(), sceneRect))
        return;
    move(m_state.position);
    copyBackground();
    DrawProtractor();
    emit stateChanged();
    emit edited(QStringLiteral("déplacement du rapporteur"));
}

void ProtractorView::turnMoved(Qt::MouseButtons buttons, QPointF pos)
{
    if (!(buttons & Qt::LeftButton)) {
        emit hint(kTurnHint);
        return;
    }
    const QPointF at = inPicture(m_turn, pos);
    turnProtractor(m_state, at.x(), at.y());
    DrawProtractor();
    emit stateChanged();
    emit edited(QStringLiteral("rotation du rapporteur"));
}

void ProtractorView::sphereMoved(Qt::MouseButtons buttons, QPointF pos)
{
    if (!(buttons & Qt::LeftButton)) {
        emit hint(kSphereHint);
        return;
    }
    const QPointF at = inPicture(m_sphere, pos);
    const float before = m_state.lineAngle;
    aimLine(m_state, at.x(), at.y());
    emit readOutChanged(readOut());
    if (m_state.lineAngle == before)
        return;
    emit edited(QStringLiteral("mesure au rapporteur"));
    // Only the measuring line and the sphere change; the sphere widget repaints itself.
    const QRect old = lineBounds(m_figure.measuringLine);
    m_figure = layoutProtractor(m_state);
    DrawProtractor(old | lineBounds(m_figure.measuringLine));
    emit stateChanged();
}

} // namespace vorlac
