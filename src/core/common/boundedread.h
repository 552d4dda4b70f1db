#pragma once

#include <QByteArray>
#include <QFile>

namespace vorlac
{

// What is left of an open file, at most limit bytes. QIODevice::read(limit) reserves the whole
// limit up front (16 MiB for a statement of a few hundred bytes); this asks only for what the
// file holds, plus one byte so that a file that grew past the limit since it was measured still
// reads as too long.
inline QByteArray readAtMost(QFile &file, qint64 limit)
{
    const qint64 left = file.size() - file.pos();
    return file.read(qBound<qint64>(0, left + 1, limit));
}

} // namespace vorlac
