#include "common/atomicwrite.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace vorlac
{

namespace
{

// The file the bytes replace: path itself, or the regular file a link leads to; "" to refuse.
QString regularTarget(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        // Empty for a link leading nowhere or round in a circle.
        const QString target = info.canonicalFilePath();
        return !target.isEmpty() && QFileInfo(target).isFile() ? target : QString();
    }
    return !info.exists() || info.isFile() ? path : QString();
}

bool syncToDisk(QFileDevice &file)
{
#ifdef Q_OS_WIN
    return ::_commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

} // namespace

bool writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    return writeFileAtomically(path, bytes, nullptr);
}

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *reason)
{
    const auto fail = [reason](const QString &why) {
        if (reason)
            *reason = why;
        return false;
    };
    if (path.isEmpty())
        return fail(QStringLiteral("aucun nom de fichier"));
    const QString target = regularTarget(path);
    if (target.isEmpty())
        return fail(QStringLiteral("ce nom ne désigne pas un fichier ordinaire"));

    QSaveFile file(target);
    // Unbuffered: every write reaches the system at once and reports its own failure. Qt 6.4's
    // commit() ignores a failed flush of its buffer and renames a cut file over the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    bool written = file.write(bytes) == bytes.size() && file.flush();
    QString why = file.errorString();
    // A rename may reach the disk before the data it names: sync the data first.
    if (written && !syncToDisk(file)) {
        written = false;
        why = QString::fromLocal8Bit(std::strerror(errno));
    }
    if (!written) {
        file.cancelWriting();
        file.commit(); // removes the temporary file
        return fail(why);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace vorlac
