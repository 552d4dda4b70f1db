#include "common/focusmarks.h"

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
    if (w->property(kMarkProperty).toBool() == shown)
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

bool FocusMarks::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        m_keyInput = true;
        // A key used on a control that a click focused shows where the keys go.
        if (watched == QApplication::focusWidget() && !isModifier(static_cast<QKeyEvent *>(event)->key()))
            setMark(QApplication::focusWidget(), true);
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::TouchBegin:
        m_keyInput = false;
        break;
    case QEvent::FocusIn:
        if (watched->isWidgetType()) {
            // Back from another window or a menu, the mark is as it was. A widget hidden under
            // the focus passes it on as Tab does: the last input tells whether that was a key.
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                setMark(static_cast<QWidget *>(watched), m_keyInput && reason != Qt::MouseFocusReason);
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vorlac
