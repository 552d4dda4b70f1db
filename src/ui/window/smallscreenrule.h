#pragma once

#include <QSize>
#include <functional>

class QWidget;

namespace vorlac
{

// On a screen narrower than 850 pixels the main window leaves the maximised state for the small
// screen's frame; the window applies the rule whenever it is shown, resized or maximised again.
class SmallScreenRule
{
  public:
    // screenSize: the available screen size; empty, the window's screen.
    SmallScreenRule(QWidget &window, std::function<QSize()> screenSize);

    void apply();

  private:
    QSize screenSize() const;

    QWidget &m_window;
    std::function<QSize()> m_screenSize;
    bool m_applying = false;
};

// The start-up marker (TEMPO.SPC): "OUI" while the program runs, "NON" after a normal close.
class StartMarker
{
  public:
    StartMarker(QString programDirectory, QString stateDirectory);
    // The program directory first, unless it is an installed program's data folder; the user's
    // state folder when it is, or when the program directory refuses the write. Closing writes
    // where start-up did. Failures (a full disk, no writable place) are ignored: start-up and
    // closing go on, and the atomic rewrite leaves the file as it was.
    void write(const QString &text);

  private:
    QString m_programDir;
    QString m_stateDir;
    QString m_written; // where the marker went at start-up; "" when nowhere
};

} // namespace vorlac
