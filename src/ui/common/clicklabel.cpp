#include "common/clicklabel.h"

#include <QMouseEvent>

namespace vorlac
{

void ClickLabel::mousePressEvent(QMouseEvent *e)
{
    m_pressed = e->button() == Qt::LeftButton;
    QLabel::mousePressEvent(e);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *e)
{
    const bool click = m_pressed && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(e);
    if (click)
        emit clicked();
}

} // namespace vorlac
