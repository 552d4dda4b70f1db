#include "window/smallscreenrule.h"

#include "common/panelplaces.h"
#include "common/programdirectory.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace vorlac
{

namespace
{

const QString kMarkerFile = QStringLiteral("TEMPO.SPC");
constexpr int kMarkerRecord = 3;

} // namespace

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

StartMarker::StartMarker(QString programDirectory, QString stateDirectory)
    : m_programDir(std::move(programDirectory)), m_stateDir(std::move(stateDirectory))
{
}

void StartMarker::write(const QString &text)
{
    QStringList places = markerFolders(m_programDir, QCoreApplication::applicationDirPath(), m_stateDir);
    if (m_written == m_stateDir && places.size() == 2)
        std::swap(places[0], places[1]);
    m_written = writeMarkerRecord(places, kMarkerFile, kMarkerRecord, text);
}

} // namespace vorlac
