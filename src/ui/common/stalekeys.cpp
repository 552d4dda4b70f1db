#include "common/stalekeys.h"

#include <QEvent>
#include <QWidget>

namespace vorlac
{

bool StaleKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    if (!watched->isWidgetType())
        return false;
    const QWidget *window = static_cast<QWidget *>(watched)->window();
    if (window->windowType() != Qt::Popup || window->isVisible())
        return false;
    event->accept(); // a ShortcutOverride accepted is no shortcut either
    return true;
}

} // namespace vorlac
