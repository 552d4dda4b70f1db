#include "scene/sceneview.h"

#include "common/clicklabel.h"
#include "common/focusmarks.h"
#include "common/pictures.h"
#include "scene/figureoptions.h"
#include "scene/sceneaccessible.h"
#include "scene/scenecontroller.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace vorlac
{

void LampLabel::mousePressEvent(QMouseEvent *e)
{
    emit mouseDown(e->buttons(), e->position());
    e->accept();
}

void LampLabel::mouseMoveEvent(QMouseEvent *e)
{
    emit mouseMoved(e->buttons(), e->position());
    e->accept();
}

void LampLabel::mouseReleaseEvent(QMouseEvent *e)
{
    emit mouseUp(e->buttons(), e->position());
    e->accept();
}

void LampLabel::paintEvent(QPaintEvent *e)
{
    QLabel::paintEvent(e);
    if (FocusMarks::shows(this)) {
        QPainter p(this);
        paintFocusMark(p, rect());
    }
}

SceneView::SceneView(const ScenePicture &picture, QWidget *parent)
    : QWidget(parent), m_picture(picture), m_lamp(new LampLabel(this))
{
    setObjectName(QStringLiteral("dessin"));
    setFixedSize(picture.image.size());
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_lamp->setObjectName(QStringLiteral("lampe"));
    m_lamp->setFixedSize(32, 32);
    m_lampRatio = devicePixelRatioF();
    m_lamp->setPixmap(lampPicture(m_lampRatio));
    m_lamp->setToolTip(QStringLiteral("Déplacer la lampe avec la souris"));
    m_lamp->setCursor(svgCursor(QStringLiteral("cursor_grab")));
    m_lamp->setMouseTracking(true); // moves without a button end a drag that lost its mouse-up
}

void SceneView::placeOverlays()
{
    m_overlays = sceneOverlays(m_picture);
    m_lamp->move(m_overlays.lampTopLeft); // the lamp is a child of its own, not painted here
    if (m_zoom.zoomed()) {
        const QPointF centre = m_zoom.toWindow(QPointF(m_overlays.lampTopLeft) + QPointF(16, 16));
        m_lamp->move((centre - QPointF(16, 16)).toPoint());
        m_lamp->raise(); // over the zoomed protractor's box, which would take its mouse
        renderZoom();
    } else {
        m_lamp->lower(); // under the protractor, as designed
    }
    update();
    announceScene(this);
}

void SceneView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const qreal ratio = devicePixelRatioF();
    if (ratio != m_picture.screenRatio() && !(ratio <= 1.0 && m_picture.screenImage.isNull()) && !m_ratioChangeQueued) {
        // A new screen: the next pictures are drawn for it; this one shows the old, scaled.
        m_ratioChangeQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this, ratio] {
                m_ratioChangeQueued = false;
                emit screenRatioChanged(ratio);
            },
            Qt::QueuedConnection);
    }
    if (ratio != m_lampRatio) {
        m_lampRatio = ratio;
        m_lamp->setPixmap(lampPicture(ratio));
    }
    if (m_zoom.zoomed()) {
        p.drawImage(QPoint(0, 0), m_zoomImage);
        if (m_options) {
            p.scale(m_zoom.scale(), m_zoom.scale());
            p.translate(-m_zoom.origin);
            m_options->paintMarks(p);
        }
        return;
    }
    p.drawImage(QRect(QPoint(0, 0), m_picture.image.size()), m_picture.shownImage());
    paintSceneOverlays(p, m_overlays, nullptr);
    if (m_options)
        m_options->paintMarks(p);
}

void SceneView::renderZoom()
{
    if (!m_controller)
        return;
    const qreal ratio = devicePixelRatioF();
    m_zoomImage = QImage(size() * ratio, QImage::Format_RGB32);
    drawSceneView(m_controller->figure(), m_zoom, ratio, std::max(1, qRound(ratio)), m_zoomImage);
    m_zoomImage.setDevicePixelRatio(ratio);
    update();
}

void SceneView::zoomAt(QPointF at, double factor)
{
    zoomAbout(m_zoom, at, factor);
    placeOverlays();
    emit viewportChanged(m_zoom);
}

void SceneView::resetZoom()
{
    vorlac::resetZoom(m_zoom);
    placeOverlays();
    emit viewportChanged(m_zoom);
}

void SceneView::wheelEvent(QWheelEvent *e)
{
    if (!(e->modifiers() & Qt::ControlModifier))
        return QWidget::wheelEvent(e);
    zoomAt(e->position(), std::pow(1.25, e->angleDelta().y() / 120.0));
    e->accept();
}

void SceneView::mousePressEvent(QMouseEvent *e)
{
    // Empty space pans a zoomed view; at 1x the scene does not react to the mouse.
    if (m_zoom.zoomed() && e->button() == Qt::LeftButton) {
        m_panFrom = e->position();
        setCursor(Qt::ClosedHandCursor);
    }
    QWidget::mousePressEvent(e);
}

void SceneView::mouseMoveEvent(QMouseEvent *e)
{
    if (m_panFrom) {
        panBy(m_zoom, e->position() - *m_panFrom, QSizeF(size()));
        m_panFrom = e->position();
        placeOverlays();
        emit viewportChanged(m_zoom);
    }
    QWidget::mouseMoveEvent(e);
}

void SceneView::mouseReleaseEvent(QMouseEvent *e)
{
    if (m_panFrom) {
        m_panFrom.reset();
        unsetCursor();
    }
    QWidget::mouseReleaseEvent(e);
}

void SceneView::setFigureOptions(const FigureOptions *options)
{
    m_options = options;
    connect(options, &FigureOptions::changed, this, qOverload<>(&QWidget::update));
    connect(options, &FigureOptions::layerChanged, this, qOverload<>(&QWidget::update));
}

} // namespace vorlac
