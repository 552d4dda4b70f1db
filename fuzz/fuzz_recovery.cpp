// Arbitrary bytes as a recovery file: parsing never fails unsafely, and accepted work stores
// again and reads back equal.
#include "recovery/recoveryfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const vorlac::RecoveryResult first = vorlac::parseRecovery(bytes);
    if (first.work.has_value() != (first.failure == vorlac::RecoveryFailure::None))
        std::abort();
    if (!first.work)
        return 0;
    const std::optional<QByteArray> stored = vorlac::serialiseRecovery(*first.work);
    if (!stored)
        std::abort();
    const vorlac::RecoveryResult second = vorlac::parseRecovery(*stored);
    if (!second.work || !(*second.work == *first.work))
        std::abort();
    return 0;
}
