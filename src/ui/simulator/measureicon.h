#pragma once

#include "common/clicklabel.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace vorlac
{

// A panel icon that the keyboard reaches too: Tab gives it the focus, Space or Enter opens its
// panel as a click does.
class KeyPanelIcon : public ClickLabel
{
  public:
    explicit KeyPanelIcon(QWidget *parent) : ClickLabel(parent) { setFocusPolicy(Qt::TabFocus); }

  protected:
    void keyPressEvent(QKeyEvent *e) override
    {
        if (e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
            emit clicked();
            return;
        }
        ClickLabel::keyPressEvent(e);
    }
    void paintEvent(QPaintEvent *e) override
    {
        ClickLabel::paintEvent(e);
        if (!hasFocus())
            return;
        QPainter p(this);
        QStyleOptionFocusRect o;
        o.initFrom(this);
        o.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &o, &p, this);
    }
};

} // namespace vorlac
