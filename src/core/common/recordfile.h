#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>
#include <utility>

namespace vorlac
{

// Fixed-record text files (situations, exercises, the running marker): records of 128 bytes
// numbered from 1, record k at offset (k - 1) * 128, each a 16-bit little-endian length n
// (at most 126), n bytes of Windows-1252 text, then filler (written as zeros, never read).

inline constexpr int kRecordSize = 128;
inline constexpr int kMaxRecordText = kRecordSize - 2;

enum class RecordError {
    None,
    TooLong,         // writing: the text needs more than 126 bytes
    Unrepresentable, // writing: a character has no Windows-1252 byte
    Missing,         // reading: the record starts at or after the end of the data (or number < 1)
    Truncated,       // reading: the data ends inside the record
    BadLength,       // reading: the length field exceeds 126
    NoFile,          // file access: no file at that path
    FileFailure,     // file access: the file could not be opened, read or written
};

// The 128 bytes of one record holding text, or nullopt (and *error) if the text cannot be
// stored. Never truncates.
std::optional<QByteArray> encodeRecord(QStringView text, RecordError *error = nullptr);

// Builds a whole file in memory, one record after the other.
class RecordWriter
{
  public:
    // Adds the next record. A text that cannot be stored adds nothing and returns false; the
    // record numbering of the rest would then be off by one, so callers abandon the file.
    bool append(const QString &text);

    int recordCount() const { return static_cast<int>(m_bytes.size() / kRecordSize); }
    QByteArray bytes() const { return m_bytes; }
    // True once any append() was refused; lets a caller append everything and check once.
    bool failed() const { return m_failed; }
    RecordError lastError() const { return m_lastError; }

  private:
    QByteArray m_bytes;
    bool m_failed = false;
    RecordError m_lastError = RecordError::None;
};

// Reads records out of the bytes of a whole file. Safe on any bytes.
class RecordReader
{
  public:
    explicit RecordReader(QByteArray bytes) : m_bytes(std::move(bytes)) {}

    // Number of complete records; a trailing partial record is not counted.
    int recordCount() const { return static_cast<int>(m_bytes.size() / kRecordSize); }
    // None, Missing, Truncated or BadLength for that record.
    RecordError status(int recordNumber) const;
    // The record's text, or nullopt with the reason in *error.
    std::optional<QString> text(int recordNumber, RecordError *error = nullptr) const;

  private:
    QByteArray m_bytes;
};

// The highest record number writeRecordInPlace accepts: it holds the whole file in memory.
inline constexpr int kMaxInPlaceRecord = 8192;

// Writes one whole record into the file at its place: creates the file if absent, never
// truncates it, extends it with zeros if it is shorter, leaves every other byte alone. The file
// is rewritten through writeFileAtomically, so a failure leaves it as it was (or absent). False
// on any failure (unwritable place, a name that is not a regular file, text that cannot be
// stored, record number outside 1..kMaxInPlaceRecord); never throws.
bool writeRecordInPlace(const QString &path, int recordNumber, const QString &text);

// One record read from a file without loading the rest. nullopt with the reason in *error
// (NoFile, FileFailure, Missing, Truncated, BadLength). Never creates the file.
std::optional<QString> readRecordFromFile(const QString &path, int recordNumber, RecordError *error = nullptr);

} // namespace vorlac
