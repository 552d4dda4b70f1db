#include "common/focusmarks.h"

#include "common/focusring.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QWidget>

namespace vorlac
{

namespace
{

const char *const kMarkProperty = "vorlacFocusMark";

void setMark(QWidget *w, bool shown)
{
    const QVariant was = w->property(kMarkProperty);
    if (was.isValid() && was.toBool() == shown)
        return;
    w->setProperty(kMarkProperty, shown);
    w->update();
}

bool isModifier(int key)
{
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_AltGr ||
           key == Qt::Key_Meta;
}

} // namespace

bool FocusMarks::shows(const QWidget *w)
{
    return w->hasFocus() && w->property(kMarkProperty).toBool();
}

void FocusMarks::mark(QWidget *w, bool shown)
{
    setMark(w, shown);
    const bool ring = shown && FocusRing::wanted(w) && w->parentWidget();
    if (ring && !m_ring)
        m_ring = new FocusRing(w->parentWidget());
    if (m_ring)
        m_ring->setWidget(ring ? w : nullptr);
}

bool FocusMarks::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        m_keyInput = true;
        // A key used on a control that a click focused shows where the keys go.
        if (watched == QApplication::focusWidget() && !isModifier(static_cast<QKeyEvent *>(event)->key()))
            mark(QApplication::focusWidget(), true);
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::TouchBegin:
        m_keyInput = false;
        break;
    case QEvent::FocusIn:
        if (watched->isWidgetType()) {
            // Back from another window or a menu, the mark is as it was; a dialog's first
            // control (its default button) is marked when a key opened the dialog. A widget
            // hidden under the focus passes it on as Tab does: the last input tells whether
            // that was a key.
            auto *w = static_cast<QWidget *>(watched);
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            const bool back = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
            if (back && w->property(kMarkProperty).isValid())
                mark(w, w->property(kMarkProperty).toBool());
            else
                mark(w, m_keyInput && reason != Qt::MouseFocusReason);
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vorlac
