// Bytes as a recovery file: parsing never fails unsafely, and accepted work stores again and
// reads back equal. Random bytes never match a section's CRC, so the input is read as a recipe:
// with its first byte even, the rest is a header's version and sections (tag, length, payload)
// that the target wraps into a valid container, CRCs and lengths included; with it odd, the rest
// is the file as it is, for the checks of the container itself.
#include "recovery/recoveryfile.h"

#include <QtEndian>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{

QByteArray container(QByteArrayView recipe)
{
    QByteArray body;
    quint16 sections = 0;
    qsizetype pos = 2;
    while (pos + 8 <= recipe.size()) {
        const quint32 length = qFromLittleEndian<quint32>(recipe.data() + pos + 4);
        const qsizetype n = qMin(qsizetype(length), recipe.size() - pos - 8);
        const QByteArrayView payload = recipe.sliced(pos + 8, n);
        body.append(recipe.sliced(pos, 4));
        const quint32 size = qToLittleEndian(quint32(n));
        body.append(reinterpret_cast<const char *>(&size), 4);
        body.append(payload);
        const quint16 crc = qToLittleEndian(qChecksum(payload));
        body.append(reinterpret_cast<const char *>(&crc), 2);
        pos += 8 + n;
        ++sections;
    }
    QByteArray bytes("VORLACRW");
    const quint16 version = recipe.size() >= 2 ? qFromLittleEndian<quint16>(recipe.data()) : 0;
    const quint16 head[2] = {qToLittleEndian(version), qToLittleEndian(sections)};
    bytes.append(reinterpret_cast<const char *>(head), 4);
    const quint32 length = qToLittleEndian(quint32(body.size()));
    bytes.append(reinterpret_cast<const char *>(&length), 4);
    return bytes + body;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArrayView rest(reinterpret_cast<const char *>(data) + 1, static_cast<qsizetype>(size - 1));
    const QByteArray bytes = data[0] % 2 ? rest.toByteArray() : container(rest);
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
