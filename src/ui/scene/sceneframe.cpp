#include "scene/sceneframe.h"

#include "common/hintline.h"
#include "common/pictures.h"
#include "common/rounding.h"
#include "model/lampgeometry.h"
#include "scene/scenecontroller.h"
#include "scene/sceneview.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QShortcut>
#include <optional>

namespace vorlac
{

namespace
{
const QString kLampHint =
    QStringLiteral("Pour déplacer la source lumineuse, utiliser la souris en maintenant le bouton gauche enfoncé");
const QString kLampKeysHint = QStringLiteral("Flèches gauche et droite : incidence de 1° (Maj : 0,1°), ") +
                              QStringLiteral("page précédente et page suivante : 10°");
} // namespace

SceneFrame::SceneFrame(SceneController &controller, HintLine &hints, QWidget *window)
    : QFrame(window), m_controller(controller), m_hints(hints)
{
    setObjectName(QStringLiteral("Picture3"));
    setGeometry(144, 48, 620, 241);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setAccessibleName(QStringLiteral("Scène"));
    auto *viewport = new QWidget(this);
    viewport->setObjectName(QStringLiteral("Picture3Viewport"));
    viewport->setGeometry(2, 2, 616, 237);
    m_view = new SceneView(controller.picture(), viewport);
    m_view->setController(&controller);
    m_view->setAccessibleName(QStringLiteral("Scène du prisme"));
    LampLabel *lamp = m_view->lamp();
    lamp->setFocusPolicy(Qt::StrongFocus);
    lamp->setAccessibleName(QStringLiteral("Lampe"));
    lamp->installEventFilter(this);
    controller.setScreenRatio(m_view->devicePixelRatioF());
    connect(m_view, &SceneView::screenRatioChanged, &controller, &SceneController::setScreenRatio);
    connect(lamp, &LampLabel::mouseDown, this, &SceneFrame::lampMouseMove);
    connect(lamp, &LampLabel::mouseMoved, this, &SceneFrame::lampMouseMove);
    connect(lamp, &LampLabel::mouseUp, this, [this](Qt::MouseButtons, QPointF) { lampMouseUp(); });

    m_scroll = new QScrollBar(Qt::Vertical, window);
    m_scroll->setObjectName(QStringLiteral("VScroll1"));
    m_scroll->setAccessibleName(QStringLiteral("Défilement de la scène"));
    m_scroll->setGeometry(768, 48, 17, 241);
    m_scroll->setRange(0, 150);
    m_scroll->setSingleStep(1);
    m_scroll->setPageStep(20);
    m_scroll->setValue(10);
    m_view->move(0, -m_scroll->value());
    connect(m_scroll, &QScrollBar::valueChanged, this, [this](int v) { m_view->move(0, -v); });

    // Ctrl+plus and Ctrl+minus zoom the scene about the pointer (the middle of what shows when
    // the pointer is elsewhere), Ctrl+0 returns to the designed view.
    const auto zoomKeys = [this, window](QKeySequence key, double factor) {
        auto *shortcut = new QShortcut(key, window);
        connect(shortcut, &QShortcut::activated, this, [this, factor] {
            if (factor == 0) {
                m_view->resetZoom();
                return;
            }
            const QWidget *port = m_view->parentWidget();
            QPoint at = port->mapFromGlobal(QCursor::pos());
            if (!port->rect().contains(at))
                at = port->rect().center();
            m_view->zoomAt(m_view->mapFrom(port, at), factor);
        });
    };
    zoomKeys(QKeySequence(Qt::CTRL | Qt::Key_Plus), 1.25);
    zoomKeys(QKeySequence(Qt::CTRL | Qt::Key_Equal), 1.25);
    zoomKeys(QKeySequence(Qt::CTRL | Qt::Key_Minus), 0.8);
    zoomKeys(QKeySequence(Qt::CTRL | Qt::Key_0), 0);

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

bool SceneFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_view->lamp())
        return QFrame::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        m_hints.setInfo(kLampKeysHint);
        return QFrame::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return QFrame::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const std::optional<double> step = lampKeyStep(key->key(), key->modifiers());
    if (!step)
        return QFrame::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress)
        m_controller.stepLamp(*step);
    else if (!key->isAutoRepeat())
        m_controller.releaseLamp(); // the white light once the key is let go
    return true;
}

void SceneFrame::lampMouseMove(Qt::MouseButtons buttons, QPointF posInLamp)
{
    m_hints.setInfo(kLampHint);
    const QWidget *lamp = m_view->lamp();
    // The lamp stands where the (possibly zoomed) view draws it.
    const QPointF scene = m_view->viewport().toScene(posInLamp + QPointF(lamp->pos()));
    const double x = scene.x();
    const double y = scene.y();
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
