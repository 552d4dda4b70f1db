#include "../../failingdisk.h"
#include "../../rowname.h"
#include "common/atomicwrite.h"
#include "common/recordfile.h"
#include "situations/situationfile.h"

#include <QCryptographicHash>
#include <QDir>
#include <gtest/gtest.h>

#include <optional>

using namespace vorlac;

namespace
{

enum class Writer { Bytes, Situation, Marker };

QByteArray pattern(int size, char seed)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = static_cast<char>(seed + i % 61);
    return b;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What the writer is asked to write (`size` bytes, or data lines of a situation) and the file it
// should leave; the marker keeps the old bytes around its record 3.
struct Job {
    std::function<bool(const QString &)> write;
    QByteArray expected;
};

Job jobFor(Writer writer, int size, QByteArray old)
{
    switch (writer) {
    case Writer::Bytes: {
        const QByteArray bytes = pattern(size, 'n');
        return {[bytes](const QString &p) { return writeFileAtomically(p, bytes); }, bytes};
    }
    case Writer::Situation: {
        Situation s;
        s.lines = QList<SituationRow>(size);
        return {[s](const QString &p) { return writeSituationFile(p, s); }, *serialiseSituation(s)};
    }
    case Writer::Marker:
        old.append(QByteArray(std::max<qsizetype>(0, 384 - old.size()), '\0'));
        old.replace(256, kRecordSize, *encodeRecord(u"NON"));
        return {[](const QString &p) { return writeRecordInPlace(p, 3, QStringLiteral("NON")); }, old};
    }
    return {};
}

// Every entry of a folder with its kind and, for a regular file, its bytes' digest.
QStringList snapshot(const QString &folder)
{
    QStringList out;
    for (const QString &name :
         QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QString path = QDir(folder).filePath(name);
        struct stat st {
        };
        ::lstat(QFile::encodeName(path).constData(), &st);
        const QString kind =
            S_ISLNK(st.st_mode) ? QStringLiteral("link ") + QFileInfo(path).symLinkTarget()
            : S_ISREG(st.st_mode)
                ? QString::fromLatin1(QCryptographicHash::hash(readAll(path), QCryptographicHash::Md5).toHex())
                : QString::number(st.st_mode & S_IFMT);
        out << name + QLatin1Char(' ') + kind;
    }
    return out;
}

QString fileNameFor(Writer w)
{
    return w == Writer::Bytes       ? QStringLiteral("export.csv")
           : w == Writer::Situation ? QStringLiteral("eleve.P01")
                                    : QStringLiteral("TEMPO.SPC");
}

enum class Fault { FileSizeLimit, FullDisk };

struct FailRow {
    const char *name;
    Writer writer;
    Fault fault;
    int oldBytes; // the file already there; 0: none
    int size;     // bytes (Bytes) or data lines (Situation) written
    qint64 room;  // the file-size limit, or the disk space left free
    bool fits;    // enough room: the write must succeed
};

void PrintTo(const FailRow &row, std::ostream *os)
{
    *os << row.name;
}

class FailingWrite : public ::testing::TestWithParam<FailRow>
{
};

TEST_P(FailingWrite, LeavesTheOldFileByteForByteOrWritesItAll)
{
    const FailRow &row = GetParam();
    failingdisk::FailingPlace place(row.fault == Fault::FullDisk);
    if (place.unavailable())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    const QString path = place.filePath(fileNameFor(row.writer));
    const QString folder = QFileInfo(path).path();
    const QByteArray old = pattern(row.oldBytes, 'o');
    if (row.oldBytes > 0) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(old) == old.size());
    }
    const Job job = jobFor(row.writer, row.size, old);
    ASSERT_TRUE(place.prepare(row.room));
    const QStringList before = snapshot(folder);
    const int answer = place.run([&] { return job.write(path) ? 1 : 0; }, row.room);
    ASSERT_NE(answer, failingdisk::kChildDied);
    const bool wrote = answer == 1;
    if (row.fits) {
        EXPECT_TRUE(wrote);
        EXPECT_TRUE(readAll(path) == job.expected) << "new file differs";
        return;
    }
    EXPECT_FALSE(wrote);
    EXPECT_EQ(QFile::exists(path), row.oldBytes > 0);
    const QByteArray after = readAll(path);
    EXPECT_EQ(after.size(), old.size());
    EXPECT_TRUE(after == old) << "old file changed";
    EXPECT_EQ(snapshot(folder), before); // no temporary file left behind
}

// A situation of 13 data lines is 14 848 bytes, under the 16 KiB buffer of QSaveFile.
const FailRow kFailRows[] = {
    {"BytesUnderBufferPastLimit", Writer::Bytes, Fault::FileSizeLimit, 3000, 10000, 4096, false},
    {"BytesOverBufferPastLimit", Writer::Bytes, Fault::FileSizeLimit, 3000, 100000, 20000, false},
    {"BytesNoRoomAtAll", Writer::Bytes, Fault::FileSizeLimit, 3000, 100, 0, false},
    {"BytesWithinLimit", Writer::Bytes, Fault::FileSizeLimit, 3000, 10000, 65536, true},
    {"Situation13LinesPastLimit", Writer::Situation, Fault::FileSizeLimit, 20000, 13, 8192, false},
    {"Situation100LinesPastLimit", Writer::Situation, Fault::FileSizeLimit, 20000, 100, 65536, false},
    {"Situation13LinesWithinLimit", Writer::Situation, Fault::FileSizeLimit, 20000, 13, 1 << 20, true},
    {"NewMarkerPastLimit", Writer::Marker, Fault::FileSizeLimit, 0, 0, 100, false},
    {"BigMarkerPastLimit", Writer::Marker, Fault::FileSizeLimit, 40000, 0, 20000, false},
    {"MarkerWithinLimit", Writer::Marker, Fault::FileSizeLimit, 300, 0, 4096, true},
    {"BytesUnderBufferDiskFull", Writer::Bytes, Fault::FullDisk, 3000, 10000, 4096, false},
    {"BytesOverBufferDiskFull", Writer::Bytes, Fault::FullDisk, 3000, 40000, 8192, false},
    {"BytesOnSmallDisk", Writer::Bytes, Fault::FullDisk, 3000, 10000, 16384, true},
    {"Situation13LinesDiskFull", Writer::Situation, Fault::FullDisk, 5000, 13, 8192, false},
    {"Situation100LinesDiskFull", Writer::Situation, Fault::FullDisk, 5000, 100, 32768, false},
    {"NewMarkerDiskFull", Writer::Marker, Fault::FullDisk, 0, 0, 0, false},
    {"OldMarkerDiskFull", Writer::Marker, Fault::FullDisk, 3000, 0, 0, false},
};

INSTANTIATE_TEST_SUITE_P(Rows, FailingWrite, ::testing::ValuesIn(kFailRows),
                         [](const auto &row) { return std::string(row.param.name); });

// The reason a failed write gives is French and says what to do; a file-size limit makes the
// write fail instead of ending the program.
struct ReasonRow {
    const char *name;
    int fault; // 0 file-size limit, 1 full disk, 2 read-only disk
    const char *says;
};
void PrintTo(const ReasonRow &row, std::ostream *os)
{
    *os << row.name;
}
class WriteFailureReason : public ::testing::TestWithParam<ReasonRow>
{
};

TEST_P(WriteFailureReason, IsFrenchAndSaysWhatToDo)
{
    const ReasonRow &row = GetParam();
    const QString says = QString::fromUtf8(row.says);
    const QByteArray bytes = pattern(100000, 'b');
    if (row.fault == 0) {
        QTemporaryDir dir;
        const auto write = [&] {
            ignoreFileSizeSignal();
            QString reason;
            return !writeFileAtomically(dir.filePath(QStringLiteral("gros.rtf")), bytes, &reason) &&
                           reason.contains(says)
                       ? 1
                       : 0;
        };
        EXPECT_EQ(failingdisk::inChild(write, 8192, false, true), 1);
        return;
    }
    failingdisk::SmallDisk disk;
    if (!disk.isMounted())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    ASSERT_TRUE(row.fault == 1 ? disk.fillLeaving(4096) : disk.remountReadOnly());
    QString reason;
    EXPECT_FALSE(writeFileAtomically(disk.filePath(QStringLiteral("eleve.P01")), bytes, &reason));
    EXPECT_TRUE(reason.contains(says)) << reason.toStdString();
}

const ReasonRow kReasonRows[] = {
    {"FileSizeLimitUnderTheDefaultSignal", 0, "le fichier dépasse la taille permise : "},
    {"FullDisk", 1, "le disque est plein : libérer de la place"},
    {"ReadOnlyDisk", 2, "le disque est en lecture seule : enregistrer sur un autre disque"},
};
INSTANTIATE_TEST_SUITE_P(Rows, WriteFailureReason, ::testing::ValuesIn(kReasonRows), RowName());

enum class Target { Fifo, LinkToNullDevice, LinkToFifo, LinkLeadingNowhere, Folder, ReadOnlyFolder, LinkToRegularFile };

const char *const kWriterNames[] = {"Bytes", "Situation", "Marker"};
const char *const kTargetNames[] = {"Fifo",   "LinkToNullDevice", "LinkToFifo",       "LinkLeadingNowhere",
                                    "Folder", "ReadOnlyFolder",   "LinkToRegularFile"};
void PrintTo(Writer w, std::ostream *os)
{
    *os << kWriterNames[int(w)];
}
void PrintTo(Target t, std::ostream *os)
{
    *os << kTargetNames[int(t)];
}

class OddTarget : public ::testing::TestWithParam<std::tuple<Writer, Target>>
{
};

TEST_P(OddTarget, IsRefusedAndLeftAsItWas)
{
    const auto [writer, target] = GetParam();
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("sub/") + fileNameFor(writer));
    const QString sub = tmp.filePath(QStringLiteral("sub"));
    const auto there = [&](const QString &name) { return QFile::encodeName(QDir(sub).filePath(name)); };
    ASSERT_TRUE(QDir().mkdir(sub));
    const QByteArray old = pattern(500, 'o');
    const auto writeOld = [&](const QString &p) {
        QFile f(p);
        return f.open(QIODevice::WriteOnly) && f.write(old) == old.size();
    };
    const QByteArray file = QFile::encodeName(path);
    switch (target) {
    case Target::Fifo:
        ASSERT_EQ(::mkfifo(file.constData(), 0644), 0);
        break;
    case Target::LinkToNullDevice:
        // A device node of /dev/null's numbers: a fault here must not replace the real one.
        if (::mknod(there(QStringLiteral("null")).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            GTEST_SKIP() << "device nodes cannot be made here";
        ASSERT_EQ(::symlink(there(QStringLiteral("null")).constData(), file.constData()), 0);
        break;
    case Target::LinkToFifo:
        ASSERT_EQ(::mkfifo(there(QStringLiteral("tube")).constData(), 0644), 0);
        ASSERT_EQ(::symlink("tube", file.constData()), 0);
        break;
    case Target::LinkLeadingNowhere:
        ASSERT_EQ(::symlink("absent", file.constData()), 0);
        break;
    case Target::Folder:
        ASSERT_TRUE(QDir().mkdir(path));
        break;
    case Target::ReadOnlyFolder:
        ASSERT_TRUE(writeOld(path));
        ASSERT_EQ(::chmod(QFile::encodeName(tmp.path()).constData(), 0755), 0);
        ASSERT_EQ(::chmod(file.constData(), 0666), 0); // only the folder forbids
        ASSERT_EQ(::chmod(QFile::encodeName(sub).constData(), 0555), 0);
        break;
    case Target::LinkToRegularFile:
        ASSERT_TRUE(writeOld(QDir(sub).filePath(QStringLiteral("real"))));
        ASSERT_EQ(::symlink("real", file.constData()), 0);
        break;
    }
    const QStringList before = snapshot(sub);
    const Job job = jobFor(writer, 13, old);
    const bool asNobody = target == Target::ReadOnlyFolder;
    const int answer = failingdisk::inChild([&] { return job.write(path) ? 1 : 0; }, RLIM_INFINITY, asNobody);
    ::chmod(QFile::encodeName(sub).constData(), 0755);
    if (target == Target::LinkToRegularFile) {
        // The link is followed: the file it leads to is replaced, the link stays.
        EXPECT_EQ(answer, 1);
        EXPECT_TRUE(QFileInfo(path).isSymLink());
        EXPECT_TRUE(readAll(QDir(sub).filePath(QStringLiteral("real"))) == job.expected) << "target not written";
        EXPECT_EQ(snapshot(sub).size(), before.size());
        return;
    }
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(snapshot(sub), before);
}

INSTANTIATE_TEST_SUITE_P(Rows, OddTarget,
                         ::testing::Combine(::testing::Values(Writer::Bytes, Writer::Situation, Writer::Marker),
                                            ::testing::Values(Target::Fifo, Target::LinkToNullDevice,
                                                              Target::LinkToFifo, Target::LinkLeadingNowhere,
                                                              Target::Folder, Target::ReadOnlyFolder,
                                                              Target::LinkToRegularFile)),
                         [](const auto &row) {
                             return std::string(kWriterNames[int(std::get<0>(row.param))]) +
                                    kTargetNames[int(std::get<1>(row.param))];
                         });

} // namespace
