#include "panels/panelplacement.h"

#include "common/atomicwrite.h"
#include "common/panelplaces.h"
#include "panels/panelframe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vorlac
{

namespace
{

QByteArray readPlaces(const QString &file)
{
    QFile f(file);
    // A few lines; anything larger is not ours.
    return f.open(QIODevice::ReadOnly) ? f.read(4096) : QByteArray();
}

} // namespace

PanelPlacement::PanelPlacement(PanelFrame &panel, const QString &placesFile, std::function<QPoint(QSize)> firstPlace)
    : QObject(&panel), m_panel(panel), m_file(placesFile), m_firstPlace(std::move(firstPlace)),
      m_place(panelPlace(readPlaces(placesFile), panel.objectName().toLatin1()))
{
    panel.setMovable(true);
    connect(&panel, &PanelFrame::visibilityChanged, this, [this](bool visible) {
        if (visible && m_panel.parentWidget())
            m_panel.place(m_place ? *m_place : m_firstPlace(m_panel.parentWidget()->size()));
    });
    connect(&panel, &PanelFrame::moved, this, &PanelPlacement::remember);
}

void PanelPlacement::remember(QPoint pos)
{
    m_place = pos;
    // Not being able to write only means the next start opens the panel at its first place.
    QDir().mkpath(QFileInfo(m_file).absolutePath());
    writeFileAtomically(m_file, withPanelPlace(readPlaces(m_file), m_panel.objectName().toLatin1(), pos));
}

} // namespace vorlac
