#pragma once

#include "common/clicklabel.h"

#include <QKeyEvent>

namespace vorlac
{

// A panel icon that the keyboard reaches too: Tab gives it the focus, Space or Enter opens its
// panel as a click does. Its focus mark is the one of every ClickLabel.
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
};

} // namespace vorlac
