#pragma once

#include <QFrame>

namespace vorlac
{

class ClickLabel;

// A settings panel of the main window: a light frame with a navy title bar that closes it when
// clicked. Panels start hidden; visibilityChanged follows every show and hide.
class PanelFrame : public QFrame
{
    Q_OBJECT
  public:
    PanelFrame(const char *name, QRect geometry, const char *titleName, const QString &title, QWidget *parent);
    void setVisible(bool visible) override;

  signals:
    void visibilityChanged(bool visible);

  private:
    ClickLabel *m_titleBar;
};

} // namespace vorlac
