#include "spectra/screenmouse.h"

#include "common/hintline.h"
#include "common/pictures.h"
#include "scene/figureoptions.h"
#include "scene/scenecontroller.h"
#include "scene/sceneview.h"
#include "spectra/screencommands.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWidget>

namespace vorlac
{

namespace
{

const QString kScreenHint = QStringLiteral("Faire glisser l'écran pour changer sa distance ; la poignée le tourne");
const QString kHandleHint =
    QStringLiteral("Faire glisser la poignée autour du centre de l'écran pour le tourner (de −80° à 80°)");
const QString kScreenTip = QStringLiteral("Déplacer l'écran avec la souris");
constexpr int kHandleSide = 2 * int(kScreenHandleRadiusPx);

// The round knob drawn on the screen; a widget of its own, so that prints and copies leave it out.
class HandleKnob : public QWidget
{
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        p.setBrush(QColor(255, 210, 60));
        p.drawEllipse(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
};

} // namespace

ScreenMouse::ScreenMouse(ScreenCommands &screen, SceneView &view, HintLine &hints)
    : QObject(&view), m_screen(screen), m_view(view), m_hints(hints), m_handle(new HandleKnob(&view))
{
    m_handle->setObjectName(QStringLiteral("poigneeEcran"));
    m_handle->setFixedSize(kHandleSide, kHandleSide);
    m_handle->setAccessibleName(QStringLiteral("Poignée de l'écran"));
    m_handle->setToolTip(QStringLiteral("Tourner l'écran avec la souris"));
    m_handle->setCursor(svgCursor(QStringLiteral("cursor_turn")));
    m_handle->hide();
    hints.addHint(m_handle, kHandleHint);
    m_handle->installEventFilter(this);
    view.installEventFilter(this);
    view.setMouseTracking(true); // the cursor and the hint change over the screen
    if (const FigureOptions *options = view.figureOptions())
        connect(options, &FigureOptions::layerChanged, this, &ScreenMouse::placeHandle);
    connect(&view, &SceneView::viewportChanged, this, &ScreenMouse::placeHandle);
    // After the view has placed the lamp for the new picture, so that the handle goes under it.
    if (const SceneController *controller = view.controller())
        connect(controller, &SceneController::pictureRedrawn, this, &ScreenMouse::placeHandle);
    placeHandle();
}

std::optional<DrawnScreen> ScreenMouse::drawn() const
{
    if (!m_screen.layer())
        return std::nullopt;
    // The part of the scene the frame shows: the view scrolls inside it, and may be zoomed.
    const QRect shown = m_view.visibleRegion().boundingRect();
    if (shown.isEmpty())
        return drawnScreen(*m_screen.layer());
    const SceneViewport &port = m_view.viewport();
    return drawnScreen(*m_screen.layer(), QRectF(port.toScene(shown.topLeft()), port.toScene(shown.bottomRight())));
}

PointD ScreenMouse::scenePoint(QPointF inView) const
{
    const QPointF p = m_view.viewport().toScene(inView);
    return {p.x(), p.y()};
}

void ScreenMouse::placeHandle()
{
    const std::optional<DrawnScreen> screen = drawn();
    if (!screen) {
        m_handle->hide();
        return;
    }
    const QPointF at = m_view.viewport().toWindow(QPointF(screen->handle.x, screen->handle.y));
    m_handle->move((at - QPointF(kScreenHandleRadiusPx, kScreenHandleRadiusPx)).toPoint());
    m_handle->lower(); // the lamp and the protractor stay over it
    m_handle->show();
}

void ScreenMouse::showCursor(ScreenGrip grip)
{
    if (grip == ScreenGrip::Screen) {
        if (m_view.cursor().shape() == Qt::WaitCursor)
            return;
        m_view.setCursor(m_drag ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
        m_cursorSet = true;
        m_hints.setInfo(kScreenHint);
    } else if (m_cursorSet) {
        m_view.unsetCursor();
        m_cursorSet = false;
    }
}

bool ScreenMouse::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
        QPointF at = static_cast<QMouseEvent *>(event)->position();
        if (watched == m_handle)
            at += QPointF(m_handle->pos());
        return mouse(event, at);
    }
    case QEvent::ToolTip:
        if (watched == &m_view) {
            const auto *help = static_cast<QHelpEvent *>(event);
            const std::optional<DrawnScreen> screen = drawn();
            if (screen &&
                screenGripAt(*screen, scenePoint(help->pos()), m_view.viewport().scale()) == ScreenGrip::Screen) {
                QToolTip::showText(help->globalPos(), kScreenTip, &m_view);
                return true;
            }
        }
        break;
    case QEvent::Move: // scrolled
        if (watched == &m_view && !m_drag)
            placeHandle();
        break;
    case QEvent::Leave:
        if (watched == &m_view && !m_drag)
            showCursor(ScreenGrip::None);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool ScreenMouse::mouse(QEvent *event, QPointF inView)
{
    const auto *e = static_cast<QMouseEvent *>(event);
    const PointD p = scenePoint(inView);
    if (event->type() == QEvent::MouseButtonPress) {
        const std::optional<DrawnScreen> screen = drawn();
        if (!screen || e->button() != Qt::LeftButton)
            return false;
        const ScreenGrip grip = screenGripAt(*screen, p, m_view.viewport().scale());
        if (grip == ScreenGrip::None)
            return false;
        m_drag = Drag{grip, *screen, m_screen.settings().placement, p};
        showCursor(grip);
        return true;
    }
    if (!m_drag) {
        if (event->type() == QEvent::MouseMove && e->buttons() == Qt::NoButton) {
            const std::optional<DrawnScreen> screen = drawn();
            showCursor(screen ? screenGripAt(*screen, p, m_view.viewport().scale()) : ScreenGrip::None);
        }
        return false;
    }
    ScreenPlacement placement = m_drag->start;
    if (m_drag->grip == ScreenGrip::Handle)
        placement.turnDegrees = draggedScreenTurn(m_drag->screen, m_drag->start.turnDegrees, m_drag->from, p);
    else
        placement.distanceMm = draggedScreenDistance(m_drag->screen, m_drag->start.distanceMm, m_drag->from, p);
    m_screen.place(placement);
    showCursor(m_drag->grip); // the picture redrawn for the move may have put the arrow back
    if (event->type() == QEvent::MouseButtonRelease || e->buttons() == Qt::NoButton) {
        const ScreenGrip grip = m_drag->grip;
        m_drag.reset();
        showCursor(grip);
    }
    return true;
}

} // namespace vorlac
