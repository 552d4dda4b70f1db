#include "panels/panelframe.h"

#include "common/clicklabel.h"
#include "common/panelplaces.h"
#include "common/panelstyle.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace vorlac
{

PanelFrame::PanelFrame(const char *name, QRect geometry, const char *titleName, const QString &title, QWidget *parent)
    : QFrame(parent), m_titleBar(new ClickLabel(title, this))
{
    setObjectName(QString::fromLatin1(name));
    setGeometry(geometry);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kPanelColour);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);

    m_titleBar->setObjectName(QString::fromLatin1(titleName));
    m_titleBar->setGeometry(0, 0, geometry.width(), 17);
    m_titleBar->setToolTip(QStringLiteral("Fermer"));
    m_titleBar->setAccessibleName(QStringLiteral("Fermer le panneau ") + title);
    m_titleBar->setIndent(4);
    styleTitleBar(m_titleBar);
    connect(m_titleBar, &ClickLabel::clicked, this, &QWidget::hide);
    QFrame::setVisible(false);
}

void PanelFrame::showWithFocus()
{
    show();
    for (QWidget *w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(this) && w->isEnabled() &&
            w != m_titleBar) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    m_titleBar->setFocus(Qt::TabFocusReason);
}

void PanelFrame::setMovable(bool movable)
{
    if (m_movable == movable)
        return;
    m_movable = movable;
    if (movable) {
        m_titleBar->installEventFilter(this);
        if (parentWidget())
            parentWidget()->installEventFilter(this);
        m_titleBar->setToolTip(QStringLiteral("Fermer (faire glisser pour déplacer)"));
    } else {
        m_titleBar->removeEventFilter(this);
        if (parentWidget())
            parentWidget()->removeEventFilter(this);
        m_titleBar->setToolTip(QStringLiteral("Fermer"));
    }
}

void PanelFrame::place(QPoint pos)
{
    move(parentWidget() ? keptInside(pos, size(), parentWidget()->size()) : pos);
}

void PanelFrame::keyPressEvent(QKeyEvent *e)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    if (e->key() == Qt::Key_Escape && mods == Qt::NoModifier) {
        e->accept();
        const bool hadFocus = isAncestorOf(QApplication::focusWidget());
        hide();
        if (hadFocus && m_opener && m_opener->isVisible())
            m_opener->setFocus(Qt::ShortcutFocusReason);
        return;
    }
    if (m_movable && (mods & ~Qt::ShiftModifier) == Qt::AltModifier) {
        const int step = (mods & Qt::ShiftModifier) ? 1 : 10;
        QPoint by;
        switch (e->key()) {
        case Qt::Key_Left:
            by = {-step, 0};
            break;
        case Qt::Key_Right:
            by = {step, 0};
            break;
        case Qt::Key_Up:
            by = {0, -step};
            break;
        case Qt::Key_Down:
            by = {0, step};
            break;
        default:
            break;
        }
        if (!by.isNull()) {
            e->accept();
            const QPoint was = pos();
            place(was + by);
            if (pos() != was)
                emit moved(pos());
            return;
        }
    }
    QFrame::keyPressEvent(e);
}

bool PanelFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        place(pos());
        return false;
    }
    const auto type = event->type();
    if (watched != m_titleBar ||
        (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease))
        return QFrame::eventFilter(watched, event);
    const auto *me = static_cast<QMouseEvent *>(event);
    switch (type) {
    case QEvent::MouseButtonPress:
        if (me->button() == Qt::LeftButton) {
            m_grabbedAt = me->globalPosition().toPoint();
            m_startPos = pos();
            m_dragging = false;
        }
        break;
    case QEvent::MouseMove: {
        if (!(me->buttons() & Qt::LeftButton))
            break;
        const QPoint by = me->globalPosition().toPoint() - m_grabbedAt;
        // A press that hardly moves is still a click, which closes the panel.
        if (!m_dragging && by.manhattanLength() < QApplication::startDragDistance())
            break;
        m_dragging = true;
        place(m_startPos + by);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (m_dragging && me->button() == Qt::LeftButton) {
            m_dragging = false;
            if (pos() != m_startPos)
                emit moved(pos());
            return true; // a drag is not a click
        }
        break;
    default:
        break;
    }
    return QFrame::eventFilter(watched, event);
}

void PanelFrame::setVisible(bool visible)
{
    const bool was = !isHidden();
    QFrame::setVisible(visible);
    if (was != visible)
        emit visibilityChanged(visible);
}

} // namespace vorlac
