#include "common/focusring.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>

namespace vorlac
{

namespace
{

constexpr int kOutside = 1; // ring pixels outside the control
constexpr int kInside = 2;  // and over its edge

} // namespace

FocusRing::FocusRing(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FocusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoChildEventsForParent);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

bool FocusRing::wanted(const QWidget *w)
{
    // Check boxes and option buttons draw the style's focus rectangle.
    if (qobject_cast<const QCheckBox *>(w) || qobject_cast<const QRadioButton *>(w))
        return false;
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QScrollBar *>(w) ||
           qobject_cast<const QAbstractScrollArea *>(w);
}

void FocusRing::setWidget(QWidget *w)
{
    if (w == m_widget)
        return;
    if (m_widget)
        m_widget->removeEventFilter(this);
    disconnect(m_gone);
    m_widget = w;
    if (!w || !w->parentWidget()) {
        m_widget = nullptr;
        hide();
        return;
    }
    w->installEventFilter(this);
    m_gone = connect(w, &QObject::destroyed, this, &QWidget::hide);
    place();
}

void FocusRing::place()
{
    QWidget *w = m_widget;
    if (!w || !w->isVisible()) {
        hide();
        return;
    }
    m_placing = true;
    if (parentWidget() != w->parentWidget())
        setParent(w->parentWidget());
    const int out = kOutside;
    setGeometry(w->geometry().adjusted(-out, -out, out, out));
    const int in = out + kInside;
    setMask(QRegion(rect()).subtracted(QRegion(rect().adjusted(in, in, -in, -in))));
    // Just above the control: a panel lying over it stays over the ring too.
    stackUnder(w);
    w->stackUnder(this);
    show();
    update();
    m_placing = false;
}

bool FocusRing::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_widget) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::ParentChange:
        case QEvent::ZOrderChange:
            if (!m_placing)
                place();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FocusRing::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Active, QPalette::Highlight));
}

} // namespace vorlac
