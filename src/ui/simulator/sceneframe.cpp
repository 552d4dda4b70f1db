#include "simulator/sceneframe.h"

#include "common/pictures.h"
#include "common/rounding.h"
#include "simulator/hintline.h"
#include "simulator/scenecontroller.h"
#include "simulator/sceneview.h"

#include <QScrollBar>

namespace vorlac
{

SceneFrame::SceneFrame(SceneController &controller, HintLine &hints, QWidget *window)
    : QFrame(window), m_controller(controller), m_hints(hints)
{
    setObjectName(QStringLiteral("Picture3"));
    setGeometry(144, 48, 620, 241);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    auto *viewport = new QWidget(this);
    viewport->setObjectName(QStringLiteral("Picture3Viewport"));
    viewport->setGeometry(2, 2, 616, 237);
    m_view = new SceneView(controller.picture(), viewport);
    LampLabel *lamp = m_view->lamp();
    connect(lamp, &LampLabel::mouseDown, this, &SceneFrame::lampMouseMove);
    connect(lamp, &LampLabel::mouseMoved, this, &SceneFrame::lampMouseMove);
    connect(lamp, &LampLabel::mouseUp, this, [this](Qt::MouseButtons, QPointF) { lampMouseUp(); });

    m_scroll = new QScrollBar(Qt::Vertical, window);
    m_scroll->setObjectName(QStringLiteral("VScroll1"));
    m_scroll->setGeometry(768, 48, 17, 241);
    m_scroll->setRange(0, 150);
    m_scroll->setSingleStep(1);
    m_scroll->setPageStep(20);
    m_scroll->setValue(10);
    m_view->move(0, -m_scroll->value());
    connect(m_scroll, &QScrollBar::valueChanged, this, [this](int v) { m_view->move(0, -v); });

    // The hourglass while the white-light picture is computed.
    connect(&controller, &SceneController::whiteLightRedrawStarting, this, [this] {
        m_busy = true;
        m_view->setCursor(Qt::WaitCursor);
        m_view->lamp()->setCursor(Qt::WaitCursor);
    });
    connect(&controller, &SceneController::pictureRedrawn, this, [this] {
        m_view->placeOverlays();
        if (m_busy) {
            m_busy = false;
            m_view->unsetCursor();
            m_view->lamp()->setCursor(svgCursor(QStringLiteral("cursor_grab")));
        }
    });
}

void SceneFrame::lampMouseMove(Qt::MouseButtons buttons, QPointF posInLamp)
{
    m_hints.setInfo(
        QStringLiteral("Pour déplacer la source lumineuse, utiliser la souris en maintenant le bouton gauche enfoncé"));
    const QWidget *lamp = m_view->lamp();
    const double x = posInLamp.x() + lamp->x();
    const double y = posInLamp.y() + lamp->y();
    const QPoint at(toInt16(x), toInt16(y));
    if (at == m_lastLampMouse)
        return;
    m_lastLampMouse = at;
    m_controller.dragLamp(buttons, x, y);
}

void SceneFrame::lampMouseUp()
{
    m_controller.releaseLamp();
}

} // namespace vorlac
