#pragma once

#include <QFrame>
#include <QPointer>

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
    // Shows the panel with the keyboard focus on its first control (a panel opened from the
    // keyboard is worked from the keyboard).
    void showWithFocus();
    // The icon that opens the panel: Escape gives the focus back to it.
    void setOpener(QWidget *icon) { m_opener = icon; }

  protected:
    // Escape closes the panel, as its title bar does, and the focus goes back to its icon.
    void keyPressEvent(QKeyEvent *e) override;

  signals:
    void visibilityChanged(bool visible);

  private:
    ClickLabel *m_titleBar;
    QPointer<QWidget> m_opener;
};

} // namespace vorlac
