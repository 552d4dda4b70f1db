// Arbitrary bytes as an exercise file among others: every name resolved, read or kept for a
// rewrite stays inside the exercise's folder, and the user's file beside it is never read.
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

    const std::optional<vorlac::ExerciseFile> records = vorlac::parseExerciseFile(bytes);
    bool allInside = true;
    if (records)
        for (const QString &name :
             {records->statement, records->statementSituation, records->correction, records->correctionSituation}) {
            if (vorlac::isBlankRecord(name))
                continue;
            const QString resolved = vorlac::resolveExerciseName(folder, name);
            if (resolved.isEmpty() != !vorlac::storedNameProblem(folder, name).isEmpty())
                std::abort();
            if (!resolved.isEmpty() && !fuzzplace::inside(folder, resolved))
                std::abort();
            allInside = allInside && !resolved.isEmpty();
        }
    if (vorlac::readExerciseFile(path).has_value() != (records.has_value() && allInside))
        std::abort();

    vorlac::ExerciseSet set;
    if (vorlac::loadExerciseSet(path, &set)) {
        if (!allInside)
            std::abort();
        for (const QByteArray *text :
             {&set.statement, &set.correction, &set.statementSituation, &set.correctionSituation})
            if (text->contains("VICTIME"))
                std::abort();
    }
    const vorlac::ExerciseSetNames names = vorlac::namesForRewrite(path);
    for (const QString &name : {names.statement, names.statementSituation, names.correction, names.correctionSituation})
        if (!vorlac::storedNameProblem(folder, name).isEmpty())
            std::abort();
    fuzzplace::checkVictim();
    return 0;
}
