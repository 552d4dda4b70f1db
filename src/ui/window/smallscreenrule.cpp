#include "window/smallscreenrule.h"

#include "common/panelplaces.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace vorlac
{

SmallScreenRule::SmallScreenRule(QWidget &window, std::function<QSize()> screenSize)
    : m_window(window), m_screenSize(std::move(screenSize))
{
}

QSize SmallScreenRule::screenSize() const
{
    if (m_screenSize)
        return m_screenSize();
    const QScreen *s = m_window.screen() ? m_window.screen() : QGuiApplication::primaryScreen();
    return s ? s->size() : QSize(1024, 768);
}

void SmallScreenRule::apply()
{
    if (m_applying)
        return;
    const QSize screen = screenSize();
    if (screen.width() >= 850)
        return;
    m_applying = true;
    if (m_window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        m_window.setWindowState(m_window.windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
    const QSize frameExtra =
        m_window.isVisible() ? m_window.frameGeometry().size() - m_window.geometry().size() : QSize(0, 0);
    const QSize outer = smallScreenFrame(screen).size();
    if (m_window.size() != outer - frameExtra)
        m_window.resize(outer - frameExtra);
    const QPoint topLeft = smallScreenFrame(screen).topLeft();
    if (m_window.pos() != topLeft)
        m_window.move(topLeft);
    m_applying = false;
}

} // namespace vorlac
