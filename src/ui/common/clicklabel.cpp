#include "common/clicklabel.h"

#include "common/focusmarks.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace vorlac
{

ClickLabel::ClickLabel(QWidget *parent) : QLabel(parent)
{
    setFocusPolicy(Qt::TabFocus); // a click does not take the focus from the control in use
}

ClickLabel::ClickLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setFocusPolicy(Qt::TabFocus); // a click does not take the focus from the control in use
}

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

void ClickLabel::keyPressEvent(QKeyEvent *e)
{
    const bool plain = (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
        e->accept();
        click();
        return;
    }
    QLabel::keyPressEvent(e);
}

void ClickLabel::paintEvent(QPaintEvent *e)
{
    QLabel::paintEvent(e);
    if (FocusMarks::shows(this)) {
        QPainter p(this);
        paintFocusMark(p, rect());
    }
}

void paintFocusMark(QPainter &p, const QRect &rect)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    const QRect r = rect.adjusted(0, 0, -1, -1);
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(r);
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.drawRect(r);
    p.restore();
}

} // namespace vorlac
