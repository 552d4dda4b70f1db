// Arbitrary bytes as a record file: every record must read or be refused cleanly, and every
// text read must store again as the very same record prefix.
#include "common/codepage1252.h"
#include "common/recordfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const vorlac::RecordReader reader(bytes);
    const int count = reader.recordCount();
    if (count != static_cast<int>(size / vorlac::kRecordSize))
        std::abort();

    vorlac::RecordWriter writer;
    for (int n = 0; n <= count + 1; ++n) {
        vorlac::RecordError error = vorlac::RecordError::None;
        const std::optional<QString> text = reader.text(n, &error);
        if (n < 1 || n > count) {
            // Past the whole records: missing, or truncated when a partial tail is there.
            if (text || (error != vorlac::RecordError::Missing && error != vorlac::RecordError::Truncated))
                std::abort();
            continue;
        }
        if (!text) {
            if (error != vorlac::RecordError::BadLength)
                std::abort();
            continue;
        }
        if (!writer.append(*text))
            std::abort();
        // Length field and text come back byte for byte; only the filler may differ.
        const qsizetype stored = 2 + text->size();
        const QByteArray original = bytes.mid(static_cast<qsizetype>(n - 1) * vorlac::kRecordSize, stored);
        const QByteArray rewritten =
            writer.bytes().mid(static_cast<qsizetype>(writer.recordCount() - 1) * vorlac::kRecordSize, stored);
        if (original != rewritten)
            std::abort();
    }

    const vorlac::RecordReader again(writer.bytes());
    for (int n = 1; n <= again.recordCount(); ++n) {
        if (!again.text(n))
            std::abort();
    }
    // The code page alone round-trips any bytes.
    if (vorlac::toCp1252(vorlac::fromCp1252(bytes)) != bytes)
        std::abort();
    return 0;
}
