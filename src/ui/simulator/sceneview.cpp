#include "simulator/sceneview.h"

#include "common/clicklabel.h"
#include "common/focusmarks.h"
#include "common/pictures.h"
#include "simulator/figureoptions.h"
#include "simulator/sceneaccessible.h"

#include <QMouseEvent>
#include <QPainter>

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
    p.drawImage(QRect(QPoint(0, 0), m_picture.image.size()), m_picture.shownImage());
    paintSceneOverlays(p, m_overlays, nullptr);
    if (m_options)
        m_options->paintMarks(p);
}

void SceneView::setFigureOptions(const FigureOptions *options)
{
    m_options = options;
    connect(options, &FigureOptions::changed, this, qOverload<>(&QWidget::update));
}

} // namespace vorlac
