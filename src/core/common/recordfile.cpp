#include "common/recordfile.h"

#include "common/atomicwrite.h"
#include "common/codepage1252.h"

#include <QFile>
#include <QFileInfo>

namespace vorlac
{

namespace
{

void setError(RecordError *error, RecordError value)
{
    if (error)
        *error = value;
}

// available: bytes present from the start of the record to the end of the data.
std::optional<QString> decodeRecord(const char *record, qint64 available, RecordError *error)
{
    if (available <= 0) {
        setError(error, RecordError::Missing);
        return std::nullopt;
    }
    if (available < kRecordSize) {
        setError(error, RecordError::Truncated);
        return std::nullopt;
    }
    const auto *bytes = reinterpret_cast<const unsigned char *>(record);
    const int length = bytes[0] | (bytes[1] << 8);
    if (length > kMaxRecordText) {
        setError(error, RecordError::BadLength);
        return std::nullopt;
    }
    setError(error, RecordError::None);
    return fromCp1252(QByteArrayView(record + 2, length));
}

qint64 recordOffset(int recordNumber)
{
    return (static_cast<qint64>(recordNumber) - 1) * kRecordSize;
}

} // namespace

std::optional<QByteArray> encodeRecord(QStringView text, RecordError *error)
{
    bool ok = false;
    const QByteArray encoded = toCp1252(text, &ok);
    if (!ok) {
        setError(error, RecordError::Unrepresentable);
        return std::nullopt;
    }
    if (encoded.size() > kMaxRecordText) {
        setError(error, RecordError::TooLong);
        return std::nullopt;
    }
    QByteArray record(kRecordSize, '\0');
    record[0] = static_cast<char>(encoded.size() & 0xff);
    record[1] = static_cast<char>((encoded.size() >> 8) & 0xff);
    record.replace(2, encoded.size(), encoded);
    setError(error, RecordError::None);
    return record;
}

bool RecordWriter::append(const QString &text)
{
    const std::optional<QByteArray> record = encodeRecord(text, &m_lastError);
    if (!record) {
        m_failed = true;
        return false;
    }
    m_bytes.append(*record);
    return true;
}

RecordError RecordReader::status(int recordNumber) const
{
    RecordError error = RecordError::None;
    text(recordNumber, &error);
    return error;
}

std::optional<QString> RecordReader::text(int recordNumber, RecordError *error) const
{
    if (recordNumber < 1) {
        setError(error, RecordError::Missing);
        return std::nullopt;
    }
    const qint64 offset = recordOffset(recordNumber);
    const qint64 available = qMin<qint64>(m_bytes.size() - offset, kRecordSize);
    return decodeRecord(available > 0 ? m_bytes.constData() + offset : nullptr, available, error);
}

bool writeRecordInPlace(const QString &path, int recordNumber, const QString &text)
{
    if (recordNumber < 1 || recordNumber > kMaxInPlaceRecord)
        return false;
    const std::optional<QByteArray> record = encodeRecord(text);
    if (!record)
        return false;
    QByteArray bytes;
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink()) {
        // Opening a FIFO could block; the atomic writer refuses such names anyway.
        if (!info.isFile())
            return false;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return false;
    }
    const qint64 offset = recordOffset(recordNumber);
    if (bytes.size() < offset + kRecordSize)
        bytes.append(QByteArray(offset + kRecordSize - bytes.size(), '\0'));
    bytes.replace(offset, kRecordSize, *record);
    // The whole file is replaced at once: a full disk leaves the old file, or none, never a cut one.
    return writeFileAtomically(path, bytes);
}

std::optional<QString> readRecordFromFile(const QString &path, int recordNumber, RecordError *error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        setError(error, RecordError::NoFile);
        return std::nullopt;
    }
    if (info.isDir()) {
        setError(error, RecordError::FileFailure);
        return std::nullopt;
    }
    if (recordNumber < 1) {
        setError(error, RecordError::Missing);
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, RecordError::FileFailure);
        return std::nullopt;
    }
    const qint64 offset = recordOffset(recordNumber);
    if (offset >= file.size())
        return decodeRecord(nullptr, 0, error);
    char record[kRecordSize];
    if (!file.seek(offset)) {
        setError(error, RecordError::FileFailure);
        return std::nullopt;
    }
    const qint64 got = file.read(record, kRecordSize);
    if (got < 0) {
        setError(error, RecordError::FileFailure);
        return std::nullopt;
    }
    return decodeRecord(record, got, error);
}

} // namespace vorlac
