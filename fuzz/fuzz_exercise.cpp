// Arbitrary bytes as an exercise file: reading never fails unsafely, and what was read stores
// again and reads back the same.
#include "exercises/exercisefile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::optional<vorlac::ExerciseFile> first = vorlac::parseExerciseFile(bytes);
    if (!first)
        return 0;
    const int lit = first->litPictures();
    if (lit < 0 || lit > 3)
        std::abort();
    const std::optional<QByteArray> stored = vorlac::serialiseExerciseFile(*first);
    if (!stored)
        std::abort(); // every text read from a record fits in a record
    const std::optional<vorlac::ExerciseFile> second = vorlac::parseExerciseFile(*stored);
    if (!second || second->statement != first->statement || second->notions != first->notions ||
        second->title != first->title || second->corrected() != first->corrected() ||
        second->difficulty != first->difficulty)
        std::abort();
    return 0;
}
