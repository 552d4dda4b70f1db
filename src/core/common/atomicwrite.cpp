#include "common/atomicwrite.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

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

// Why a file operation failed, in French, from errno as the failing call left it; Qt's own text
// is English and says "Unknown error" for a file grown past its limit.
QString failure()
{
    return systemErrorText(errno);
}

bool syncToDisk(QFileDevice &file)
{
#ifdef Q_OS_WIN
    return ::_commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

// Opens a temporary file beside target and writes, flushes and (with sync) syncs bytes into it;
// null (and nothing left behind) on failure.
std::unique_ptr<QSaveFile> writeTemporary(const QString &target, const QByteArray &bytes, QString *why,
                                          bool sync = true)
{
    auto file = std::make_unique<QSaveFile>(target);
    // Unbuffered: every write reaches the system at once and reports its own failure. Qt 6.4's
    // commit() ignores a failed flush of its buffer and renames a cut file over the old one.
    errno = 0;
    if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *why = failure();
        return nullptr;
    }
    errno = 0;
    bool written = file->write(bytes) == bytes.size() && file->flush();
    if (!written)
        *why = failure();
    // A rename may reach the disk before the data it names: sync the data first.
    if (written && sync && !syncToDisk(*file)) {
        written = false;
        *why = systemErrorText(errno);
    }
    if (!written) {
        file->cancelWriting();
        file->commit(); // removes the temporary file
        return nullptr;
    }
    return file;
}

void discard(QSaveFile &file)
{
    file.cancelWriting();
    file.commit();
}

std::filesystem::path fsPath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// Whether a second name of the file would be ours to remove: in a folder with the sticky bit (a
// folder shared by several teachers) only the owner of a file may remove or replace it.
bool ownedByUs(const QString &path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return true;
#else
    return QFileInfo(path).ownerId() == uint(::geteuid());
#endif
}

// A second name for the old file, to put it back if a later rename fails: a hard link where the
// file system has them (no data copied, so it works on a full disk), else a copy. A link to
// another user's file would be that user's, and might not be removable afterwards: a copy.
QString keepOldFile(const QString &target)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = target + QStringLiteral(".old") + QString::number(attempt);
        if (QFileInfo::exists(name))
            continue;
        std::error_code error;
        if (ownedByUs(target))
            std::filesystem::create_hard_link(fsPath(target), fsPath(name), error);
        else
            error = std::make_error_code(std::errc::operation_not_permitted);
        if (!error || QFile::copy(target, name))
            return name;
        return QString();
    }
    return QString();
}

} // namespace

void ignoreFileSizeSignal()
{
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

QString systemErrorText(int error)
{
    switch (error) {
    case 0:
        return QStringLiteral("l'écriture a échoué : vérifier le disque et le nom du fichier");
    case EROFS:
        return QStringLiteral("le disque est en lecture seule : enregistrer sur un autre disque ou dans un autre "
                              "dossier");
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("le disque est plein : libérer de la place ou enregistrer sur un autre disque");
    case EFBIG:
        return QStringLiteral("le fichier dépasse la taille permise : raccourcir le texte ou enregistrer sur un "
                              "autre disque");
    case EACCES:
    case EPERM:
        return QStringLiteral("l'accès au dossier est refusé : enregistrer dans un dossier à soi, par exemple "
                              "Documents");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("le dossier n'existe plus : choisir un autre dossier");
    case ENAMETOOLONG:
        return QStringLiteral("le nom du fichier est trop long : choisir un nom plus court");
    case EISDIR:
        return QStringLiteral("ce nom est celui d'un dossier : choisir un autre nom");
    case EIO:
        return QStringLiteral("le disque ne répond pas comme il faut : vérifier le disque ou en choisir un autre");
    default:
        return QStringLiteral("erreur du système (%1) : vérifier le disque et le nom du fichier").arg(error);
    }
}

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
        return fail(QStringLiteral("ce nom ne désigne pas un fichier ordinaire : choisir un autre nom"));

    QString why;
    const std::unique_ptr<QSaveFile> file = writeTemporary(target, bytes, &why);
    if (!file)
        return fail(why);
    errno = 0;
    if (!file->commit())
        return fail(failure());
    return true;
}

bool writeFilesAtomically(const QList<FileBytes> &files, QString *reason)
{
    const auto fail = [reason](const QString &why) {
        if (reason)
            *reason = why;
        return false;
    };
    QStringList targets;
    for (const FileBytes &file : files) {
        if (file.path.isEmpty())
            return fail(QStringLiteral("aucun nom de fichier"));
        const QString target = regularTarget(file.path);
        if (target.isEmpty())
            return fail(QStringLiteral("ce nom ne désigne pas un fichier ordinaire : choisir un autre nom"));
        if (targets.contains(target))
            return fail(QStringLiteral("un même fichier nommé deux fois"));
        targets.append(target);
    }

    std::vector<std::unique_ptr<QSaveFile>> written;
    const auto discardAll = [&written] {
        for (const auto &file : written)
            if (file)
                discard(*file);
    };
    // All written first, then all synced: on journalling file systems the first sync commits the
    // others' data too, so a set costs about one sync, not one per file.
    for (qsizetype i = 0; i < files.size(); ++i) {
        QString why;
        written.push_back(writeTemporary(targets[i], files[i].bytes, &why, false));
        if (!written.back()) {
            discardAll();
            return fail(why);
        }
    }
    for (const auto &file : written)
        if (!syncToDisk(*file)) {
            const QString why = systemErrorText(errno);
            discardAll();
            return fail(why);
        }

    QStringList olds(targets.size());
    const auto dropOlds = [&olds] {
        for (const QString &old : olds)
            if (!old.isEmpty())
                QFile::remove(old);
    };
    for (qsizetype i = 0; i < targets.size(); ++i) {
        if (!QFileInfo::exists(targets[i]))
            continue;
        olds[i] = keepOldFile(targets[i]);
        if (olds[i].isEmpty()) {
            discardAll();
            dropOlds();
            return fail(QStringLiteral("impossible de garder l'ancien fichier %1").arg(targets[i]));
        }
    }

    for (qsizetype i = 0; i < targets.size(); ++i) {
        errno = 0;
        if (written[size_t(i)]->commit()) {
            written[size_t(i)].reset();
            continue;
        }
        const QString why = failure();
        written[size_t(i)].reset();
        // Put back what the renames before this one replaced.
        for (qsizetype j = 0; j < i; ++j) {
            std::error_code error;
            if (olds[j].isEmpty())
                QFile::remove(targets[j]);
            else
                std::filesystem::rename(fsPath(olds[j]), fsPath(targets[j]), error);
        }
        discardAll();
        dropOlds();
        return fail(why);
    }
    dropOlds();
    return true;
}

} // namespace vorlac
