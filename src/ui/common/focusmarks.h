#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace vorlac
{

class FocusRing;

// Where the keyboard is: the program's own controls draw their focus mark only when the focus
// came while the keyboard was in use (Tab, a shortcut, a panel opened with Space) or a key was
// pressed on them since, so that a click leaves no frame behind. Installed on the application
// by the main window, it follows the last input and marks each widget as the focus reaches it;
// the standard controls that draw no mark of their own get a ring around them instead.
class FocusMarks : public QObject
{
    Q_OBJECT
  public:
    using QObject::QObject;

    // Whether w has the focus and shows its mark.
    static bool shows(const QWidget *w);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void mark(QWidget *w, bool shown);

    bool m_keyInput = false;    // the last input was a key, not the mouse
    QPointer<FocusRing> m_ring; // lives among the siblings of the control it surrounds
};

} // namespace vorlac
