#include "scene/protractorview.h"

#include "common/clicklabel.h"
#include "common/focusmarks.h"
#include "common/pictures.h"
#include "common/regional.h"
#include "common/rounding.h"
#include "scene/figureoptions.h"
#include "scene/sceneview.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

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
QImage handleImage(qreal ratio)
{
    const int side = qCeil(protractor::kHandleSize * ratio);
    QImage img(side, side, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    img.setDevicePixelRatio(ratio); // the painter draws in the handle's own 16 x 16
    return img;
}

void haloStroke(QPainter &p, const QPainterPath &path)
{
    p.strokePath(path, QPen(QColor(255, 255, 255, 220), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.strokePath(path, QPen(QColor(0, 0, 96), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

} // namespace

QPixmap ProtractorView::crossPicture(qreal ratio)
{
    QImage img = handleImage(ratio);
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

QPixmap ProtractorView::turnPicture(qreal ratio)
{
    QImage img = handleImage(ratio);
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

QPixmap ProtractorView::spherePicture(qreal ratio)
{
    QImage img = handleImage(ratio);
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

namespace
{

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

ProtractorView::ProtractorView(const ScenePicture &scene, QWidget *dessin, ProtractorModel *model)
    : QWidget(dessin), m_scene(scene), m_model(model ? *model : *new ProtractorModel(this)), m_state(m_model.state()),
      m_colours(protractorColours(true)), m_cross(makeHandle(this, "Imagecroix", crossPicture(1), Qt::SizeAllCursor)),
      m_turn(makeHandle(this, "Imaged", turnPicture(1), Qt::PointingHandCursor)),
      m_sphere(makeHandle(this, "Imageboule", spherePicture(1), Qt::PointingHandCursor))
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
    connect(m_cross, &LampLabel::mouseDown, this, [this](Qt::MouseButtons, QPointF pos) {
        const QPointF at = inHandle(m_cross, pos);
        m_model.setCrossGrab(at.x(), at.y());
    });
    connect(m_turn, &LampLabel::mouseMoved, this, &ProtractorView::turnMoved);
    connect(m_sphere, &LampLabel::mouseMoved, this, &ProtractorView::sphereMoved);
    connect(&m_model, &ProtractorModel::statePut, this, [this] {
        place();
        copyBackground();
        DrawProtractor();
        emit readOutChanged(readOut());
    });
}

QString ProtractorView::readOut() const
{
    return readOutText(m_state.lineAngle, regionalLocale());
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

void ProtractorView::setViewport(const SceneViewport &view)
{
    m_view = view;
    place();
    if (!m_view.zoomed())
        copyBackground();
    DrawProtractor();
}

void ProtractorView::place()
{
    // Zoomed, the protractor is drawn over the view's own picture, which shows through.
    setAttribute(Qt::WA_OpaquePaintEvent, !m_view.zoomed());
    if (!m_view.zoomed()) {
        setGeometry(QRect(m_state.position, QSize(protractor::kSize, protractor::kSize)));
        return;
    }
    const QRectF drawn =
        protractorToWindow(m_state.position, m_view).mapRect(QRectF(0, 0, protractor::kSize, protractor::kSize));
    // Only what shows of it: at 20x the whole protractor would be thousands of pixels wide.
    const QRect shown = parentWidget() ? drawn.toAlignedRect() & parentWidget()->rect() : drawn.toAlignedRect();
    setGeometry(shown.isEmpty() ? QRect(shown.topLeft(), QSize(0, 0)) : shown);
}

QPointF ProtractorView::corner(const QWidget *handle) const
{
    if (handle == m_cross)
        return m_figure.cross;
    if (handle == m_turn)
        return m_figure.turnHandle;
    return m_figure.sphere;
}

QPointF ProtractorView::inHandle(const QWidget *handle, QPointF pos) const
{
    if (!m_view.zoomed())
        return pos;
    // The scene point under the mouse, in the handle's own pixels as the figure lays it out.
    const QPointF scene = m_view.toScene(QPointF(this->pos() + handle->pos()) + pos);
    return scene - QPointF(m_state.position) - corner(handle);
}

void ProtractorView::DrawProtractor(const QRect &dirty)
{
    m_figure = m_model.layOut();
    if (m_view.zoomed()) {
        // Each handle keeps its size, centred where the zoomed figure puts it.
        const QTransform toWindow = protractorToWindow(m_state.position, m_view);
        const QPointF half(protractor::kHandleSize / 2.0, protractor::kHandleSize / 2.0);
        for (QWidget *h :
             {static_cast<QWidget *>(m_turn), static_cast<QWidget *>(m_cross), static_cast<QWidget *>(m_sphere)})
            h->move(rounded(toWindow.map(corner(h) + half) - QPointF(pos()) - half));
        update();
        emit figureChanged();
        return;
    }
    // Handle corners are kept in single precision; the widgets sit on the nearest pixel.
    m_turn->move(rounded(m_figure.turnHandle));
    m_cross->move(rounded(m_figure.cross));
    m_sphere->move(rounded(m_figure.sphere));
    if (dirty.isEmpty())
        update();
    else
        update(dirty);
    emit figureChanged();
}

void ProtractorView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (m_view.zoomed()) {
        p.translate(-QPointF(pos()));
        paintProtractorOnView(p, m_figure, m_colours, m_state.position, m_view, 1.0);
        p.resetTransform();
        if (FocusMarks::shows(this))
            paintFocusMark(p, rect());
        return;
    }
    p.drawImage(QRect(0, 0, protractor::kSize, protractor::kSize), m_background);
    paintSceneOverlays(p, sceneOverlays(m_scene), &m_lamp, m_state.position);
    // The angle marks lie over the picture, not in it: drawn again so that they show through.
    if (const auto *view = qobject_cast<const SceneView *>(parentWidget()); view && view->figureOptions()) {
        p.save();
        p.translate(-QPointF(m_state.position));
        view->figureOptions()->paintMarks(p);
        p.restore();
    }
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
        if (ProtractorState s = m_state; nudgeProtractor(s, k.dx, k.dy, QRect(QPoint(0, 0), m_scene.image.size()))) {
            m_model.edit(s, QStringLiteral("déplacement du rapporteur"));
            place();
            copyBackground();
            DrawProtractor();
            emit stateChanged();
        }
        return true;
    case ProtractorKey::Turn: {
        ProtractorState s = m_state;
        turnProtractorBy(s, k.radians);
        m_model.edit(s, QStringLiteral("rotation du rapporteur"));
        DrawProtractor();
        emit stateChanged();
        return true;
    }
    case ProtractorKey::Aim:
        if (ProtractorState s = m_state; aimLineBy(s, k.radians)) {
            m_model.edit(s, QStringLiteral("mesure au rapporteur"));
            DrawProtractor();
            emit stateChanged();
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
    if (e->buttons() != Qt::NoButton && m_view.zoomed()) {
        e->ignore(); // a drag begun on empty space pans the zoomed scene beneath
        return;
    }
    if (e->buttons() == Qt::NoButton)
        emit hint(kProtractorHint);
    e->accept();
}

void ProtractorView::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    emit figureChanged();
}

void ProtractorView::hideEvent(QHideEvent *e)
{
    QWidget::hideEvent(e);
    emit figureChanged();
}

QPointF ProtractorView::inPicture(const QWidget *handle, QPointF pos) const
{
    // Measured from the handle's single-precision corner, as the drawing placed it.
    return corner(handle) + inHandle(handle, pos);
}

QPointF ProtractorView::handleCorner(Handle handle) const
{
    return handle == Handle::Cross ? m_figure.cross : handle == Handle::Turn ? m_figure.turnHandle : m_figure.sphere;
}

void ProtractorView::grabCross(QPointF at)
{
    m_model.setCrossGrab(at.x() - m_figure.cross.x(), at.y() - m_figure.cross.y());
}

void ProtractorView::dragHandle(Handle handle, QPointF at)
{
    if (handle == Handle::Cross)
        moveCrossTo(at - m_figure.cross);
    else if (handle == Handle::Turn)
        turnTo(at);
    else
        aimTo(at);
}

void ProtractorView::crossMoved(Qt::MouseButtons buttons, QPointF pos)
{
    if (!(buttons & Qt::LeftButton)) {
        emit hint(kCrossHint);
        const QPointF at = inHandle(m_cross, pos);
        m_model.setCrossGrab(at.x(), at.y());
        return;
    }
    moveCrossTo(inHandle(m_cross, pos));
}

void ProtractorView::moveCrossTo(QPointF at)
{
    const QRect sceneRect(QPoint(0, 0), m_scene.image.size());
    ProtractorState s = m_state;
    if (!moveProtractor(s, at.x(), at.y(), sceneRect))
        return;
    m_model.edit(s, QStringLiteral("déplacement du rapporteur"));
    place();
    copyBackground();
    DrawProtractor();
    emit stateChanged();
}

void ProtractorView::turnMoved(Qt::MouseButtons buttons, QPointF pos)
{
    if (!(buttons & Qt::LeftButton)) {
        emit hint(kTurnHint);
        return;
    }
    turnTo(inPicture(m_turn, pos));
}

void ProtractorView::turnTo(QPointF at)
{
    ProtractorState s = m_state;
    turnProtractor(s, at.x(), at.y());
    m_model.edit(s, QStringLiteral("rotation du rapporteur"));
    DrawProtractor();
    emit stateChanged();
}

void ProtractorView::sphereMoved(Qt::MouseButtons buttons, QPointF pos)
{
    if (!(buttons & Qt::LeftButton)) {
        emit hint(kSphereHint);
        return;
    }
    aimTo(inPicture(m_sphere, pos));
}

void ProtractorView::aimTo(QPointF at)
{
    ProtractorState s = m_state;
    aimLine(s, at.x(), at.y());
    if (s.lineAngle == m_state.lineAngle) {
        emit readOutChanged(readOut());
        return;
    }
    m_model.edit(s, QStringLiteral("mesure au rapporteur"));
    emit readOutChanged(readOut());
    // Only the measuring line and the sphere change; the sphere widget repaints itself.
    const QRect old = lineBounds(m_figure.measuringLine);
    m_figure = m_model.layOut();
    DrawProtractor(old | lineBounds(m_figure.measuringLine));
    emit stateChanged();
}

} // namespace vorlac
