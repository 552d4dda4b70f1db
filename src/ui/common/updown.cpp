#include "common/updown.h"

#include <QToolButton>
#include <QWheelEvent>

namespace vorlac
{

UpDown::UpDown(QWidget *parent) : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton *b : {m_up, m_down}) {
        b->setAutoRepeat(true);
        b->setAutoRepeatDelay(400);
        b->setAutoRepeatInterval(80);
        b->setFocusPolicy(Qt::NoFocus);
    }
    m_up->setObjectName(QStringLiteral("up"));
    m_down->setObjectName(QStringLiteral("down"));
    connect(m_up, &QToolButton::clicked, this, &UpDown::stepUp);
    connect(m_down, &QToolButton::clicked, this, &UpDown::stepDown);
}

void UpDown::setRange(int min, int max)
{
    m_min = min;
    m_max = std::max(min, max);
    setValue(m_value);
}

void UpDown::setValue(int v)
{
    v = std::clamp(v, m_min, m_max);
    if (v == m_value)
        return;
    m_value = v;
    emit valueChanged(v);
}

void UpDown::resizeEvent(QResizeEvent *)
{
    const int h = height() / 2;
    m_up->setGeometry(0, 0, width(), h);
    m_down->setGeometry(0, h, width(), height() - h);
}

void UpDown::wheelEvent(QWheelEvent *e)
{
    if (e->angleDelta().y() > 0)
        stepUp();
    else if (e->angleDelta().y() < 0)
        stepDown();
    e->accept();
}

} // namespace vorlac
