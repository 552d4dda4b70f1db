#include "common/updown.h"

#include "common/clicklabel.h"
#include "common/focusmarks.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>

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
    m_up->setAccessibleName(QStringLiteral("Augmenter"));
    m_down->setAccessibleName(QStringLiteral("Diminuer"));
    connect(m_up, &QToolButton::clicked, this, &UpDown::stepUp);
    connect(m_down, &QToolButton::clicked, this, &UpDown::stepDown);
    setFocusPolicy(Qt::TabFocus); // the arrows' keys; a click on an arrow leaves the focus alone
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
    QAccessibleValueChangeEvent changed(this, v);
    QAccessible::updateAccessibility(&changed);
}

void UpDown::resizeEvent(QResizeEvent *)
{
    // With the focus the arrows stand a pixel in, inside the focus mark.
    const int m = FocusMarks::shows(this) ? 2 : 0;
    const int h = (height() - 2 * m) / 2;
    m_up->setGeometry(m, m, width() - 2 * m, h);
    m_down->setGeometry(m, m + h, width() - 2 * m, height() - 2 * m - h);
}

bool UpDown::event(QEvent *e)
{
    // A key may show the mark after a focus that did not.
    if (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut || e->type() == QEvent::KeyPress)
        resizeEvent(nullptr);
    return QWidget::event(e);
}

void UpDown::keyPressEvent(QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Up:
        stepUp();
        break;
    case Qt::Key_Down:
        stepDown();
        break;
    case Qt::Key_Home:
        setValue(m_min);
        break;
    case Qt::Key_End:
        setValue(m_max);
        break;
    default:
        QWidget::keyPressEvent(e);
        return;
    }
    e->accept();
}

void UpDown::paintEvent(QPaintEvent *)
{
    if (FocusMarks::shows(this)) {
        QPainter p(this);
        paintFocusMark(p, rect());
    }
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
