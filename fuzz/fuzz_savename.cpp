// An arbitrary typed name and current folder for the save command: a name built is the folder's
// or the typed path's, has a non-blank file-name part without a dot, and ends with ".P01".
#include "situations/situationnames.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The typed text, then after the first NUL byte the folder.
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype cut = bytes.indexOf('\0');
    const QString typed = QString::fromUtf8(cut < 0 ? bytes : bytes.left(cut));
    const QString folder = cut < 0 ? QStringLiteral("/F") : QString::fromUtf8(bytes.mid(cut + 1));
    const std::optional<QString> name = vorlac::buildSaveName(typed, folder);
    if (!name)
        return 0;
    if (!name->endsWith(vorlac::kSituationExtension))
        std::abort();
    const QString part = vorlac::fileNamePart(*name);
    const QString stem = part.chopped(vorlac::kSituationExtension.size());
    if (stem.trimmed().isEmpty() || stem.contains(u'.'))
        std::abort();
    // A typed name without a separator goes into the folder.
    if (vorlac::lastSeparator(typed.trimmed()) < 0 && *name != vorlac::joinFolder(folder, part))
        std::abort();
    return 0;
}
