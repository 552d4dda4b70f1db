#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace vorlac
{

// The one way the program replaces a file: the bytes go to a temporary file beside it, are
// flushed and synced to the disk, and only then renamed over the target. Any failure (full disk,
// read-only folder, a target that is not a regular file) returns false and leaves the old file
// byte for byte as it was, and no new file where there was none. The caller shows its own message.
//
// A name that is a symbolic link writes the regular file the link leads to, and the link stays a
// link. A name that is, or leads to, anything else (a folder, a FIFO, a device, a link leading
// nowhere or round in a circle) is refused without being opened or replaced.
bool writeFileAtomically(const QString &path, const QByteArray &bytes);

// The same; on failure *reason (when given) receives why, for the caller's message.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *reason);

// Makes a write past the file-size limit (RLIMIT_FSIZE) fail with EFBIG, which the writer
// reports, instead of ending the process with SIGXFSZ in the middle of a save. Once, at start-up.
void ignoreFileSizeSignal();

// A system error number as the user reads it: what went wrong, in French, and what to do.
QString systemErrorText(int error);

struct FileBytes {
    QString path;
    QByteArray bytes;
};

// Several files replaced as one set (an exercise and the texts and situations it names): every
// file is written to a temporary beside it and synced before any is renamed, in the order given.
// On any failure, including a rename that fails half-way, every old file is put back byte for
// byte and no new file is left; the files' names follow the same rules as above.
bool writeFilesAtomically(const QList<FileBytes> &files, QString *reason = nullptr);

} // namespace vorlac
