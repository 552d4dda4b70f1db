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

    ClickLabel *titleBar() const { return m_titleBar; }
    // Lets the pupil move the panel: dragging its title bar (a click still closes it), or
    // Alt+arrows within it (10 pixels, 1 with Shift). It stays inside its parent, even when the
    // parent shrinks; moved() tells where the pupil left it.
    void setMovable(bool movable);
    // Puts the panel at pos, or as near as it lies wholly inside its parent.
    void place(QPoint pos);

  protected:
    // Escape closes the panel, as its title bar does, and the focus goes back to its icon.
    void keyPressEvent(QKeyEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  signals:
    void visibilityChanged(bool visible);
    void moved(QPoint pos);

  private:
    ClickLabel *m_titleBar;
    bool m_movable = false;
    bool m_dragging = false;
    QPoint m_grabbedAt; // global position of the press on the title bar
    QPoint m_startPos;  // the panel's position then
    QPointer<QWidget> m_opener;
};

} // namespace vorlac
