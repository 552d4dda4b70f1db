#include "simulator/sceneview.h"

#include "common/pictures.h"
#include "common/rounding.h"

#include <QMouseEvent>
#include <QPainter>

namespace vorlac {

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

SceneView::SceneView(const ScenePicture &picture, QWidget *parent)
    : QWidget(parent), m_picture(picture), m_lamp(new LampLabel(this))
{
    setObjectName(QStringLiteral("dessin"));
    setFixedSize(picture.image.size());
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_lamp->setObjectName(QStringLiteral("lampe"));
    m_lamp->setFixedSize(32, 32);
    m_lamp->setPixmap(lampPicture());
    m_lamp->setToolTip(QStringLiteral("Déplacer la lampe avec la souris"));
    m_lamp->setCursor(svgCursor(QStringLiteral("cursor_grab")));
    m_lamp->setMouseTracking(true); // moves without a button end a drag that lost its mouse-up
}

void SceneView::placeOverlays()
{
    const TraceLayout &l = m_picture.lastLayout;
    m_lamp->move(toInt16(l.lampTopLeft.x), toInt16(l.lampTopLeft.y));
    m_line1 = QLine(toInt16(l.line1Start.x), toInt16(l.line1Start.y), toInt16(l.line1End.x), toInt16(l.line1End.y));
    update();
}

void SceneView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, m_picture.image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(toQRgb(m_picture.line1Colour)), 0));
    p.drawLine(m_line1);
}

} // namespace vorlac
