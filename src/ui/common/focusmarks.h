#pragma once

#include <QObject>

class QWidget;

namespace vorlac
{

// Where the keyboard is: the program's own controls draw their focus mark only when the focus
// came while the keyboard was in use (Tab, a shortcut, a panel opened with Space) or a key was
// pressed on them since, so that a click leaves no frame behind. Installed on the application
// by the main window, it follows the last input and marks each widget as the focus reaches it.
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
    bool m_keyInput = false; // the last input was a key, not the mouse
};

} // namespace vorlac
