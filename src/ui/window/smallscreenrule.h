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

} // namespace vorlac
