#include "common/recordfile.h"
#include "rowname.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>

namespace
{

using vorlac::RecordError;
using vorlac::RecordReader;
using vorlac::RecordWriter;

// Recognisable bytes, none of them zero, so that a stray zero fill shows.
QByteArray filler(int size)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = static_cast<char>(1 + i % 251);
    return b;
}

class RecordRoundTrip : public ::testing::TestWithParam<QString>
{
};

TEST_P(RecordRoundTrip, WriterLayoutAndReaderAgree)
{
    const QString text = GetParam();
    RecordWriter writer;
    ASSERT_TRUE(writer.append(QStringLiteral("VORLAC")));
    ASSERT_TRUE(writer.append(text));
    ASSERT_FALSE(writer.failed());
    const QByteArray bytes = writer.bytes();
    ASSERT_EQ(bytes.size(), 256);
    const int n = static_cast<unsigned char>(bytes[128]) | (static_cast<unsigned char>(bytes[129]) << 8);
    EXPECT_EQ(n, text.size());
    EXPECT_EQ(bytes.mid(130 + n), QByteArray(126 - n, '\0'));

    const RecordReader reader(bytes);
    EXPECT_EQ(reader.recordCount(), 2);
    EXPECT_EQ(reader.text(1), QStringLiteral("VORLAC"));
    RecordError error = RecordError::Missing;
    EXPECT_EQ(reader.text(2, &error), text);
    EXPECT_EQ(error, RecordError::None);
}

INSTANTIATE_TEST_SUITE_P(Rows, RecordRoundTrip,
                         ::testing::Values(QString(), QStringLiteral(" 45"), QStringLiteral("Verre Crown"),
                                           QStringLiteral("lumière €œ «1,5»"), QString(126, u'x'),
                                           QString(125, u'é') + QChar(0x81), QStringLiteral("a\0b")));

struct RefusedRow {
    QString text;
    RecordError error;
};

void PrintTo(const RefusedRow &r, std::ostream *os)
{
    *os << r.text.size() << " characters from " << codePoint(r.text.front().unicode()) << " error " << int(r.error);
}

class RecordRefused : public ::testing::TestWithParam<RefusedRow>
{
};

TEST_P(RecordRefused, NothingIsAppendedAndTheFailureSticks)
{
    RecordWriter writer;
    ASSERT_TRUE(writer.append(QStringLiteral("VORLAC")));
    EXPECT_FALSE(writer.append(GetParam().text));
    EXPECT_EQ(writer.lastError(), GetParam().error);
    EXPECT_TRUE(writer.failed());
    EXPECT_EQ(writer.recordCount(), 1);
    EXPECT_EQ(writer.bytes().size(), 128);
    ASSERT_TRUE(writer.append(QStringLiteral("ok")));
    EXPECT_TRUE(writer.failed());
}

INSTANTIATE_TEST_SUITE_P(Rows, RecordRefused,
                         ::testing::Values(RefusedRow{QString(127, u'x'), RecordError::TooLong},
                                           RefusedRow{QString(500, u'x'), RecordError::TooLong},
                                           RefusedRow{QStringLiteral("λ"), RecordError::Unrepresentable}),
                         RowName());

struct ReadRow {
    QByteArray bytes;
    int record;
    RecordError error;
};

QByteArray recordWithLength(int lo, int hi)
{
    QByteArray r(128, 'z');
    r[0] = static_cast<char>(lo);
    r[1] = static_cast<char>(hi);
    return r;
}

void PrintTo(const ReadRow &r, std::ostream *os)
{
    *os << r.bytes.size() << " bytes length "
        << (r.bytes.size() >= 2 ? quint8(r.bytes[0]) + 256 * quint8(r.bytes[1]) : -1) << " record " << r.record
        << " error " << int(r.error);
}

class RecordRead : public ::testing::TestWithParam<ReadRow>
{
};

TEST_P(RecordRead, ReportsWhyARecordCannotBeRead)
{
    const RecordReader reader(GetParam().bytes);
    RecordError error = RecordError::None;
    const std::optional<QString> text = reader.text(GetParam().record, &error);
    EXPECT_EQ(error, GetParam().error);
    EXPECT_EQ(text.has_value(), GetParam().error == RecordError::None);
    EXPECT_EQ(reader.status(GetParam().record), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RecordRead,
    ::testing::Values(ReadRow{recordWithLength(126, 0), 1, RecordError::None},
                      ReadRow{recordWithLength(127, 0), 1, RecordError::BadLength},
                      ReadRow{recordWithLength(200, 0), 1, RecordError::BadLength},
                      ReadRow{recordWithLength(3, 1), 1, RecordError::BadLength}, // 259
                      ReadRow{recordWithLength(255, 255), 1, RecordError::BadLength},
                      ReadRow{QByteArray(), 1, RecordError::Missing},
                      ReadRow{recordWithLength(3, 0), 2, RecordError::Missing},
                      ReadRow{recordWithLength(3, 0), 0, RecordError::Missing},
                      ReadRow{recordWithLength(3, 0), -5, RecordError::Missing},
                      ReadRow{recordWithLength(3, 0), 2147483647, RecordError::Missing},
                      ReadRow{recordWithLength(3, 0).left(5), 1, RecordError::Truncated},
                      ReadRow{recordWithLength(3, 0) + QByteArray(127, '\0'), 2, RecordError::Truncated},
                      ReadRow{recordWithLength(3, 0) + QByteArray(128, '\0'), 2, RecordError::None}),
    RowName());

// Initial size of the marker file before record 3 is written; -1 = no file.
class WriteInPlace : public ::testing::TestWithParam<int>
{
};

TEST_P(WriteInPlace, OnlyRecordThreeChanges)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("TEMPO.SPC"));
    const int initial = GetParam();
    const QByteArray before = filler(std::max(initial, 0));
    if (initial >= 0)
        writeAll(path, before);

    ASSERT_TRUE(vorlac::writeRecordInPlace(path, 3, QStringLiteral("OUI")));
    QByteArray after = readAll(path);
    ASSERT_EQ(after.size(), std::max(initial, 384));
    EXPECT_EQ(after.mid(256, 5), QByteArray("\x03\x00OUI", 5));
    EXPECT_EQ(after.mid(261, 123), QByteArray(123, '\0'));
    const int kept = std::min(std::max(initial, 0), 256);
    EXPECT_EQ(after.left(kept), before.left(kept));
    EXPECT_EQ(after.mid(kept, 256 - kept), QByteArray(256 - kept, '\0'));
    if (initial > 384) {
        EXPECT_EQ(after.mid(384), before.mid(384));
    }

    ASSERT_TRUE(vorlac::writeRecordInPlace(path, 3, QStringLiteral("NON")));
    after = readAll(path);
    EXPECT_EQ(after.size(), std::max(initial, 384));
    EXPECT_EQ(after.mid(256, 5), QByteArray("\x03\x00NON", 5));
    EXPECT_EQ(vorlac::readRecordFromFile(path, 3), QStringLiteral("NON"));
}

INSTANTIATE_TEST_SUITE_P(Sizes, WriteInPlace, ::testing::Values(-1, 0, 100, 256, 300, 384, 1000));

TEST(WriteInPlace, FailsUnderAPathThatIsNotADirectory)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("plain"));
    writeAll(file, "abc");
    EXPECT_FALSE(vorlac::writeRecordInPlace(file + QStringLiteral("/TEMPO.SPC"), 3, QStringLiteral("OUI")));
    EXPECT_EQ(readAll(file), QByteArray("abc"));
}

TEST(WriteInPlace, RefusedTextOrNumberDoesNotCreateTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TEMPO.SPC"));
    EXPECT_FALSE(vorlac::writeRecordInPlace(path, 3, QString(127, u'x')));
    EXPECT_FALSE(vorlac::writeRecordInPlace(path, 3, QStringLiteral("λ")));
    EXPECT_FALSE(vorlac::writeRecordInPlace(path, 0, QStringLiteral("OUI")));
    EXPECT_FALSE(QFile::exists(path));
}

// A record that cannot reach the file (a full disk, here a file that may not grow past `limit`
// bytes) is reported as a failure, whether nothing or only its start could be written.
TEST(WriteInPlace, ReportsAWriteThatCannotBeCompleted)
{
    for (const rlim_t limit : {rlim_t{128}, rlim_t{300}}) {
        SCOPED_TRACE(limit);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("TEMPO.SPC"));
        writeAll(path, filler(128));
        const int code = exitCodeInChild([&] {
            ::signal(SIGXFSZ, SIG_IGN); // the write fails with EFBIG instead of ending the child
            const rlimit fileSize{limit, limit};
            if (::setrlimit(RLIMIT_FSIZE, &fileSize) != 0)
                return 2;
            return vorlac::writeRecordInPlace(path, 3, QStringLiteral("OUI")) ? 1 : 0;
        });
        EXPECT_EQ(code, 0) << "1: the write was reported done";
        EXPECT_EQ(readAll(path).left(128), filler(128));
    }
}

TEST(ReadRecordFromFile, ReportsMissingFileAndRecords)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("S.P01"));
    RecordError error = RecordError::None;
    EXPECT_FALSE(vorlac::readRecordFromFile(path, 1, &error));
    EXPECT_EQ(error, RecordError::NoFile);
    EXPECT_FALSE(QFile::exists(path));

    RecordWriter writer;
    writer.append(QStringLiteral("VORLAC"));
    writer.append(QStringLiteral(" 45"));
    writeAll(path, writer.bytes() + recordWithLength(200, 0) + QByteArray(10, '\0'));
    EXPECT_EQ(vorlac::readRecordFromFile(path, 2, &error), QStringLiteral(" 45"));
    EXPECT_EQ(error, RecordError::None);
    EXPECT_FALSE(vorlac::readRecordFromFile(path, 3, &error));
    EXPECT_EQ(error, RecordError::BadLength);
    EXPECT_FALSE(vorlac::readRecordFromFile(path, 4, &error));
    EXPECT_EQ(error, RecordError::Truncated);
    EXPECT_FALSE(vorlac::readRecordFromFile(path, 5, &error));
    EXPECT_EQ(error, RecordError::Missing);
    EXPECT_FALSE(vorlac::readRecordFromFile(dir.path(), 1, &error));
    EXPECT_EQ(error, RecordError::FileFailure);
}

} // namespace
