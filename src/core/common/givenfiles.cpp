#include "common/givenfiles.h"

#include "common/recordfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace vorlac
{

namespace
{

GivenFiles::Kind kindOf(const QString &path)
{
    if (path.endsWith(QStringLiteral(".P01"), Qt::CaseInsensitive))
        return GivenFiles::Kind::Situation;
    if (path.endsWith(QStringLiteral(".E01"), Qt::CaseInsensitive))
        return GivenFiles::Kind::Exercise;
    // The desktop recognises a situation by its content whatever its name, and sends it here.
    return holdsSituation(path) ? GivenFiles::Kind::Situation : GivenFiles::Kind::None;
}

QString localPath(const QString &argument)
{
    // A URL names a local file only with the file scheme; other places are not opened.
    if (argument.contains(QStringLiteral("://")) || argument.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive)) {
        const QUrl url(argument);
        return url.isLocalFile() ? url.toLocalFile() : QString();
    }
    return argument;
}

} // namespace

bool holdsSituation(const QString &path)
{
    // Only a regular file is read (a FIFO would block), and only its first record.
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return RecordReader(file.read(kRecordSize)).text(1) == QStringLiteral("VORLAC");
}

GivenFiles sortGivenFiles(const QStringList &arguments, const QString &currentFolder)
{
    GivenFiles given;
    for (const QString &argument : arguments) {
        const QString local = localPath(argument);
        const QString path = local.isEmpty() ? QString() : QDir::cleanPath(QDir(currentFolder).absoluteFilePath(local));
        const GivenFiles::Kind kind =
            path.isEmpty() || given.kind != GivenFiles::Kind::None ? GivenFiles::Kind::None : kindOf(path);
        if (kind != GivenFiles::Kind::None) {
            given.kind = kind;
            given.open = path;
        } else {
            given.refused << argument;
        }
    }
    return given;
}

QString refusedFilesText(const QStringList &refused)
{
    QStringList quoted;
    for (const QString &r : refused)
        quoted << QStringLiteral("« %1 »").arg(r);
    const QString head =
        QStringLiteral("Le vorlac ouvre une situation (.P01) ou un exercice (.E01), un seul à la fois.");
    const QString which = refused.size() == 1 ? QStringLiteral("Ce fichier n'est pas ouvert :")
                                              : QStringLiteral("Ces fichiers ne sont pas ouverts :");
    return head + QLatin1Char('\n') + which + QLatin1Char('\n') + quoted.join(QLatin1Char('\n'));
}

} // namespace vorlac
