// Arbitrary bytes as the contents of a recovery folder: files, locks, folders and links with
// names and contents from the input. Sweeping, offering, setting aside and adopting never fail
// unsafely, only ever name files of the folder, and never touch the file beside it.
#include "common/boundedread.h"
#include "fuzzplace.h"
#include "recovery/recoveryfile.h"
#include "recovery/recoverystore.h"

#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace
{

// Takes n bytes of the input (fewer at its end).
QByteArray take(const std::uint8_t *&data, std::size_t &size, std::size_t n)
{
    n = n < size ? n : size;
    const QByteArray out(reinterpret_cast<const char *>(data), static_cast<qsizetype>(n));
    data += n;
    size -= n;
    return out;
}

bool inFolder(const QString &folder, const QString &path)
{
    return QFileInfo(path).absolutePath() == QDir(folder).absolutePath();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString folder = QDir(fuzzplace::place().top.path()).filePath(QStringLiteral("travail"));
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    // Each entry: kind, name length, name, content length (2 bytes), content.
    for (int entries = 0; size > 2 && entries < 12; ++entries) {
        const int kind = take(data, size, 1)[0] & 3;
        const QByteArray nameLength = take(data, size, 1);
        QByteArray name = take(data, size, nameLength.isEmpty() ? 0 : std::size_t(quint8(nameLength[0])));
        name.replace('/', '_').replace('\0', '_');
        const QByteArray length = take(data, size, 2);
        const std::size_t n = length.size() == 2 ? std::size_t(quint8(length[0]) | quint8(length[1]) << 8) : 0;
        const QByteArray content = take(data, size, n);
        if (name.isEmpty() || name == "." || name == "..")
            continue;
        // Joined by hand: QDir::filePath takes a name starting with ':' for a resource path and
        // returns it alone, which then named a file of the working folder.
        const QString path = folder + QLatin1Char('/') + QString::fromUtf8(name);
        // A link an earlier entry made under the same name is replaced, not written through:
        // the atomic writer follows links, and the harness must not write the victim itself.
        QFile::remove(path);
        if (kind == 0)
            vorlac::writeFileAtomically(path, content);
        else if (kind == 1)
            QDir().mkpath(path);
        else if (kind == 2)
            QFile::link(fuzzplace::place().victim, path);
        else
            // Any target, but within the scratch place: a link the program writes through
            // must not reach the machine's own files.
            QFile::link(fuzzplace::place().top.path() + QLatin1Char('/') +
                            QString::fromUtf8(content).replace(QLatin1String(".."), QLatin1String("__")),
                        path);
    }

    {
        vorlac::RecoveryStore store(folder, qint64(::getpid()));
        store.sweep();
        int n = 0;
        for (const vorlac::RecoveryOrphan &orphan : store.orphans()) {
            if (!inFolder(folder, orphan.path))
                std::abort();
            QFile file(orphan.path);
            if (file.open(QIODevice::ReadOnly))
                vorlac::parseRecovery(vorlac::readAtMost(file, vorlac::kRecoveryMaxBytes + 1));
            const QString aside = ++n % 2 ? store.setAside(orphan.path, QStringLiteral("abime")) : QString();
            if (!aside.isEmpty() && !inFolder(folder, aside))
                std::abort();
            if (aside.isEmpty() && n % 2 == 0)
                store.adopt(orphan.path);
        }
        store.dropOrphanLocks();
        for (const vorlac::SetAsidePiece &piece : store.setAsidePieces())
            if (!inFolder(folder, piece.path))
                std::abort();
        store.write("x");
        store.discard();
    }
    fuzzplace::checkVictim();
    return 0;
}
