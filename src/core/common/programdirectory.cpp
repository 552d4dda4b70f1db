#include "common/programdirectory.h"

#include "common/recordfile.h"

#include <QDir>
#include <QFileInfo>

#ifndef VORLAC_DATA_FROM_BIN
#define VORLAC_DATA_FROM_BIN "../share/vorlac"
#endif

namespace vorlac
{

namespace
{

QString withSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

QStringList helpFileNames()
{
    return {QStringLiteral("KT4.hlp"), QStringLiteral("Dadevedozoz.chm")};
}

QString installedDataFolder(const QString &executableFolder)
{
    return withSlash(QDir::cleanPath(QDir(executableFolder).filePath(QStringLiteral(VORLAC_DATA_FROM_BIN))));
}

QString findProgramDirectory(const QString &executableFolder)
{
    const QDir own(executableFolder);
    for (const QString &name : helpFileNames())
        if (QFileInfo(own.filePath(name)).isFile())
            return withSlash(executableFolder);
    const QString installed = installedDataFolder(executableFolder);
    if (QFileInfo(installed).isDir())
        return installed;
    return withSlash(executableFolder);
}

QString userStateFolder()
{
    // The XDG rule: a relative XDG_STATE_HOME is invalid and ignored.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return withSlash(QDir::cleanPath(base) + QStringLiteral("/vorlac"));
}

QStringList markerFolders(const QString &programDirectory, const QString &executableFolder, const QString &stateFolder)
{
    if (withSlash(QDir::cleanPath(programDirectory)) == installedDataFolder(executableFolder))
        return {stateFolder};
    return {programDirectory, stateFolder};
}

QString writeMarkerRecord(const QStringList &folders, const QString &fileName, int record, const QString &text)
{
    for (const QString &folder : folders) {
        if (folder.isEmpty())
            continue;
        // Only a missing folder is made; mkpath over a plain file fails and the write after it too.
        QDir().mkpath(folder);
        if (writeRecordInPlace(withSlash(folder) + fileName, record, text))
            return withSlash(folder);
    }
    return {};
}

} // namespace vorlac
