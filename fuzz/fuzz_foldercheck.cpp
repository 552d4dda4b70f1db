// Arbitrary bytes as the one exercise file of a folder: the check reads without failing
// unsafely, changes nothing, names every problem against that file, and names a name leading
// outside the folder.
#include "exercises/exercisefile.h"
#include "exercises/exerciseset.h"
#include "fuzzplace.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString folder = fuzzplace::place().folder;
    const QString path = folder + QStringLiteral("/FUZZ.E01");
    if (!vorlac::writeFileAtomically(path, bytes))
        std::abort();

    const vorlac::FolderCheck check = vorlac::checkExerciseFolder(folder);
    if (check.exercises != 1)
        std::abort();
    for (const QString &line : check.problems)
        if (!line.startsWith(QStringLiteral("FUZZ.E01 : ")))
            std::abort();
    const std::optional<vorlac::ExerciseFile> records = vorlac::parseExerciseFile(bytes);
    if (records && !vorlac::namesProblem(folder, *records).isEmpty() &&
        !check.problems.join(QLatin1Char('\n')).contains(QStringLiteral("hors du dossier")))
        std::abort();
    if (vorlac::folderCheckLines(folder, check).size() < 3)
        std::abort();
    fuzzplace::checkVictim();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.readAll() != bytes)
        std::abort();
    return 0;
}
