#include "window/startmarker.h"

#include "common/programdirectory.h"

#include <QCoreApplication>
#include <QStringList>
#include <utility>

namespace vorlac
{

namespace
{

const QString kMarkerFile = QStringLiteral("TEMPO.SPC");
constexpr int kMarkerRecord = 3;

} // namespace

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
