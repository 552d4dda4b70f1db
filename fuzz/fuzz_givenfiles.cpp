// Arbitrary bytes as a command line (arguments split at NUL bytes) and, once, as the bytes of a
// file it names: sorting never fails unsafely, opens at most one situation or exercise (an
// absolute path; the window says when it is missing), and says in French what it refused.
#include "common/givenfiles.h"
#include "fuzzplace.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString folder = fuzzplace::place().folder;
    vorlac::writeFileAtomically(folder + QStringLiteral("/donne.P01"), bytes);
    QStringList arguments;
    for (const QByteArray &part : bytes.split('\0'))
        arguments << QString::fromUtf8(part);
    const vorlac::GivenFiles given = vorlac::sortGivenFiles(arguments, folder);
    if ((given.kind == vorlac::GivenFiles::Kind::None) != given.open.isEmpty())
        std::abort();
    if (!given.open.isEmpty() && !QFileInfo(given.open).isAbsolute())
        std::abort();
    if (given.refused.size() + (given.open.isEmpty() ? 0 : 1) > arguments.size())
        std::abort();
    if (!given.refused.isEmpty() && vorlac::refusedFilesText(given.refused).isEmpty())
        std::abort();
    fuzzplace::checkVictim();
    return 0;
}
