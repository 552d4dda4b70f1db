#include "common/atomicwrite.h"

#include <QFileInfo>
#include <QSaveFile>

#include <unistd.h>

namespace vorlac {

bool writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        return false;
    const QFileInfo target(path);
    if (target.exists() && !target.isFile())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // QSaveFile::commit() reports success after a failed final flush: check each step here.
    if (file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}

} // namespace vorlac
