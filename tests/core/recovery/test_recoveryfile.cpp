#include "failingdisk.h"
#include "recovery/recoveryfile.h"
#include "recovery/recoverystore.h"
#include "rowname.h"
#include "testfiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <functional>
#include <limits>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace vorlac;

namespace
{

RecoveryWork fullWork(int lines = 100, int textBytes = 2000)
{
    RecoveryWork w;
    w.processId = 4242;
    w.savedAtMs = 1765300000123;
    Situation s;
    s.scene.prismMaterial = kCustomMaterial;
    s.scene.prismCauchyA = 1.5168123f;
    s.scene.prismCauchyB = 4200.5f;
    s.scene.incidenceAngle = 36.123456789012345; // more digits than the situation records keep
    s.scene.source = SourceType::WhiteLight;
    s.lines = QList<SituationRow>(lines);
    for (int r = 0; r < lines; ++r)
        for (int c = 0; c < ValueTable::kColumns; ++c)
            s.lines[r][std::size_t(c)] = QStringLiteral("%1,%2").arg(r).arg(c * 7);
    s.titles[2] = QStringLiteral("Déviation");
    s.formulas[3] = QStringLiteral("sin (C1) / sin (C2)");
    Work &k = w.work;
    k.scene = s.scene;
    k.table = tableOf(s, k.table);
    k.table.format = QStringLiteral("##0.0");
    k.situationFileName = QStringLiteral("/home/élève/prisme.P01");
    k.protractor.rotation = 1.25f;
    k.protractor.lineAngle = 0.5f;
    k.protractor.position = QPoint(120, -3);
    k.protractorShown = true;
    k.exercise.fileField = QStringLiteral("/usr/share/vorlac/EXO1.E01");
    k.exercise.folder = QStringLiteral("/usr/share/vorlac/");
    k.exercise.rtf = "{\\rtf1 " + QByteArray(textBytes, 'a') + "}";
    k.exercise.editable = true;
    k.exercise.edited = true;
    return w;
}

QByteArray bytesOf(const RecoveryWork &w)
{
    const std::optional<QByteArray> b = serialiseRecovery(w);
    EXPECT_TRUE(b.has_value());
    return b.value_or(QByteArray());
}

// --- Round trips ------------------------------------------------------------------------------

struct TripRow {
    const char *name;
    std::function<RecoveryWork()> make;
};
void PrintTo(const TripRow &row, std::ostream *os)
{
    *os << row.name;
}

class RecoveryRoundTrip : public ::testing::TestWithParam<TripRow>
{
};

TEST_P(RecoveryRoundTrip, GivesBackExactlyTheWork)
{
    const RecoveryWork w = GetParam().make();
    const RecoveryResult r = parseRecovery(bytesOf(w));
    ASSERT_EQ(r.failure, RecoveryFailure::None);
    EXPECT_TRUE(*r.work == w);
}

INSTANTIATE_TEST_SUITE_P(Rows, RecoveryRoundTrip,
                         ::testing::Values(TripRow{"FreshStart", [] { return RecoveryWork{}; }},
                                           TripRow{"Full101RowsWithEditedExercise", [] { return fullWork(); }},
                                           TripRow{"OneLine", [] { return fullWork(1); }}),
                         RowName());

TEST(RecoveryFile, RefusesWorkTheSituationCannotStore)
{
    RecoveryWork w;
    w.work.scene.apexAngle = 1;
    EXPECT_FALSE(serialiseRecovery(w).has_value());
    // The exact incidence is kept beside the situation: past the grazing angle it was read back,
    // then refused when the work was stored again.
    w = RecoveryWork{};
    w.work.scene.incidenceAngle = 10999.88;
    EXPECT_FALSE(serialiseRecovery(w).has_value());
}

TEST(RecoveryFile, SkipsASectionItDoesNotKnow)
{
    const RecoveryWork w = fullWork(3);
    QByteArray b = bytesOf(w);
    const QByteArray payload("later");
    QByteArray extra("NEW!");
    const quint32 len = qToLittleEndian(quint32(payload.size()));
    extra.append(reinterpret_cast<const char *>(&len), 4).append(payload);
    const quint16 crc = qToLittleEndian(qChecksum(payload));
    extra.append(reinterpret_cast<const char *>(&crc), 2);
    b.append(extra);
    qToLittleEndian(quint16(qFromLittleEndian<quint16>(b.constData() + 10) + 1), b.data() + 10);
    qToLittleEndian(quint32(b.size() - 16), b.data() + 12);
    const RecoveryResult r = parseRecovery(b);
    ASSERT_EQ(r.failure, RecoveryFailure::None);
    EXPECT_TRUE(*r.work == w);
}

// A text too large for the file is left out; the scene and the table still come back.
TEST(RecoveryFile, KeepsSceneAndTableWhenTheTextIsTooLarge)
{
    RecoveryWork w = fullWork(100, int(kRecoveryMaxBytes));
    w.work.draft = RecoveredDraft{};
    w.work.draft->set.statement = w.work.exercise.rtf;
    const std::optional<QByteArray> bytes = serialiseRecovery(w);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_LE(bytes->size(), kRecoveryMaxBytes);
    const RecoveryResult r = parseRecovery(*bytes);
    ASSERT_EQ(r.failure, RecoveryFailure::None);
    EXPECT_EQ(r.work->work.scene, w.work.scene);
    EXPECT_TRUE(r.work->work.table == w.work.table);
    EXPECT_EQ(r.work->work.exercise.fileField, w.work.exercise.fileField);
    EXPECT_TRUE(r.work->work.exercise.rtf.isEmpty());
}

// Files of version 1 (the scene and the table as a situation file's bytes, the numbers its
// records round apart) still read: one written by that version, from the fuzz corpus.
TEST(RecoveryFile, ReadsTheFirstVersion)
{
    const QByteArray file =
        readAll(QStringLiteral(VORLAC_SOURCE_DIR "/fuzz/corpus/recovery/a0315c5483b64248335843bc053147906825e32c"));
    ASSERT_EQ(qFromLittleEndian<quint16>(file.constData() + 9), 1); // after the corpus's own first byte
    const RecoveryResult r = parseRecovery(file.mid(1));
    ASSERT_EQ(r.failure, RecoveryFailure::None);
    EXPECT_EQ(r.work->work.scene.apexAngle, 60);
    EXPECT_EQ(r.work->work.scene.incidenceAngle, 42.968273042174459); // the exact section
    EXPECT_EQ(r.work->work.table.cells[0][2], QStringLiteral("sin i/sin r"));
    EXPECT_TRUE(r.work->work.situationFileName.endsWith(QStringLiteral("REFRAC.P01")));
    EXPECT_TRUE(r.work->work.exercise.fileField.endsWith(QStringLiteral("VORLAC1.E01")));
}

// --- Damage -------------------------------------------------------------------------------------

struct DamageRow {
    const char *name;
    std::function<void(QByteArray &)> damage;
    RecoveryFailure expected;
};
void PrintTo(const DamageRow &row, std::ostream *os)
{
    *os << row.name;
}

class RecoveryDamage : public ::testing::TestWithParam<DamageRow>
{
};

TEST_P(RecoveryDamage, IsRefusedWithItsReason)
{
    QByteArray b = bytesOf(fullWork(4, 50));
    GetParam().damage(b);
    const RecoveryResult r = parseRecovery(b);
    EXPECT_EQ(r.failure, GetParam().expected);
    EXPECT_FALSE(r.work.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RecoveryDamage,
    ::testing::Values(
        DamageRow{"Empty", [](QByteArray &b) { b.clear(); }, RecoveryFailure::NotOurs},
        DamageRow{"ASituationFile", [](QByteArray &b) { b = *serialiseSituation(Situation{}); },
                  RecoveryFailure::NotOurs},
        DamageRow{"CutInTheHeader", [](QByteArray &b) { b.truncate(12); }, RecoveryFailure::Damaged},
        DamageRow{"CutInTheLastSection", [](QByteArray &b) { b.chop(3); }, RecoveryFailure::Damaged},
        DamageRow{"MagicOnly", [](QByteArray &b) { b = QByteArray("VORLACRW"); }, RecoveryFailure::Damaged},
        DamageRow{"ByteFlippedInTheSituation", [](QByteArray &b) { b[200] = char(b[200] ^ 0x20); },
                  RecoveryFailure::Damaged},
        DamageRow{"ByteFlippedInTheLastSection", [](QByteArray &b) { b[b.size() - 20] = char(b[b.size() - 20] ^ 1); },
                  RecoveryFailure::Damaged},
        DamageRow{"SectionLengthPastTheEnd", [](QByteArray &b) { qToLittleEndian(quint32(0x7fffffff), b.data() + 20); },
                  RecoveryFailure::Damaged},
        DamageRow{"BodyLengthWrong", [](QByteArray &b) { b.append('x'); }, RecoveryFailure::Damaged},
        DamageRow{"TooManySections", [](QByteArray &b) { qToLittleEndian(quint16(9999), b.data() + 10); },
                  RecoveryFailure::Damaged},
        DamageRow{"ProtractorAtTheLowest32BitValue",
                  [](QByteArray &b) {
                      RecoveryWork w = fullWork(4, 50);
                      w.work.protractor.position = QPoint(std::numeric_limits<int>::min(), 0);
                      b = bytesOf(w);
                  },
                  RecoveryFailure::Damaged},
        DamageRow{"NewerFormat",
                  [](QByteArray &b) { qToLittleEndian(quint16(kRecoveryFormatVersion + 1), b.data() + 8); },
                  RecoveryFailure::NewerFormat}),
    RowName());

// --- The store and the writer --------------------------------------------------------------------

class RecoveryFolder : public ::testing::Test
{
  protected:
    void SetUp() override { ASSERT_TRUE(tmp.isValid()); }
    QString folder() const { return tmp.filePath(QStringLiteral("etat/vorlac")); }
    QTemporaryDir tmp;
};

TEST_F(RecoveryFolder, TwoRunningProgramsKeepTheirOwnAndOfferNeither)
{
    RecoveryStore a(folder(), 111), b(folder(), 222);
    ASSERT_TRUE(a.write(bytesOf(fullWork(2))));
    ASSERT_TRUE(b.write(bytesOf(fullWork(3))));
    EXPECT_NE(a.filePath(), b.filePath());
    EXPECT_EQ(parseRecovery(readAll(a.filePath())).work->work.table.cells.size() - 1, 2);
    EXPECT_EQ(parseRecovery(readAll(b.filePath())).work->work.table.cells.size() - 1, 3);
    // Both programs still hold their locks: a third one starting now offers nothing.
    RecoveryStore c(folder(), 333);
    EXPECT_TRUE(c.orphans().isEmpty());
}

TEST_F(RecoveryFolder, OffersTheFileOfAnEndedProgramOnceAndKeepsWhatIsSetAside)
{
    const QByteArray old = bytesOf(fullWork(2));
    {
        RecoveryStore ended(folder(), 111);
        ASSERT_TRUE(ended.write(old));
    } // the program is gone without a confirmed close: its lock is free, its file stays
    RecoveryStore now(folder(), 222);
    const QList<RecoveryOrphan> found = now.orphans();
    ASSERT_EQ(found.size(), 1);
    const QString aside = now.setAside(found[0].path, QStringLiteral("annule"));
    ASSERT_FALSE(aside.isEmpty());
    EXPECT_TRUE(readAll(aside) == old);
    EXPECT_FALSE(QFile::exists(found[0].path));
    EXPECT_TRUE(QDir(folder()).entryList({"*.verrou"}, QDir::Files).isEmpty()); // its lock went with it
    RecoveryStore later(folder(), 333);
    EXPECT_TRUE(later.orphans().isEmpty());
}

// A process id used again (a restarted container, a long uptime) must not write over the work
// that the ended program of that id left.
TEST_F(RecoveryFolder, AReusedProcessIdOffersTheEndedProgramsWorkAndWritesBeside)
{
    const QByteArray old = bytesOf(fullWork(2)), fresh = bytesOf(fullWork(3));
    {
        RecoveryStore ended(folder(), 111);
        ASSERT_TRUE(ended.write(old));
    }
    RecoveryStore again(folder(), 111);
    ASSERT_TRUE(again.write(fresh));
    const QList<RecoveryOrphan> found = again.orphans();
    ASSERT_EQ(found.size(), 1);
    EXPECT_TRUE(readAll(found[0].path) == old);
    EXPECT_NE(found[0].path, again.filePath());
    EXPECT_TRUE(again.adopt(found[0].path)); // restoring it replaces this program's own file only
    EXPECT_TRUE(readAll(again.filePath()) == old);
}

// At start-up what ended programs left besides their work goes; what running ones hold stays.
TEST_F(RecoveryFolder, SweepingRemovesOnlyWhatEndedProgramsLeft)
{
    RecoveryStore running(folder(), 111);
    ASSERT_TRUE(running.write(bytesOf(fullWork(2))));
    for (const int ended : {222, 333}) // never destroyed: the lock stays, as a killed program's does
        ASSERT_EQ(exitCodeInChild([&] { return (new RecoveryStore(folder(), ended))->write(bytesOf(fullWork(1))); }),
                  1);
    QFile::remove(folder() + "/travail-333.vorlac-travail");
    const QDir dir(folder());
    for (const char *name : {"travail-111.vorlac-travail.Ab12Cd", "travail-222.vorlac-travail.Ef34Gh",
                             "TEMPO.SPC.Ij56Kl", "TEMPO.SPC.Mn78Op"})
        writeAll(dir.filePath(name), "cut");
    QFile old(dir.filePath("TEMPO.SPC.Ij56Kl"));
    ASSERT_TRUE(old.open(QIODevice::ReadWrite));
    ASSERT_TRUE(old.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
    old.close();

    RecoveryStore starting(folder(), 444);
    starting.sweep();
    EXPECT_EQ(dir.entryList(QDir::Files, QDir::Name),
              QStringList({"TEMPO.SPC.Mn78Op", "travail-111.verrou", "travail-111.vorlac-travail",
                           "travail-111.vorlac-travail.Ab12Cd", "travail-222.vorlac-travail"}));
    const QList<RecoveryOrphan> found = starting.orphans();
    ASSERT_EQ(found.size(), 1);
    EXPECT_TRUE(found[0].path.endsWith("travail-222.vorlac-travail") && found[0].cleanable);
}

TEST_F(RecoveryFolder, TheWriterKeepsOnlyTheNewestWork)
{
    RecoveryStore store(folder(), 111);
    int writes = 0;
    {
        RecoveryWriter writer(store, [&writes](bool ok, const QString &) { writes += ok ? 1 : 100; });
        for (int lines = 1; lines <= 20; ++lines)
            writer.submit(bytesOf(fullWork(lines, 10)));
        writer.waitIdle();
    }
    EXPECT_GE(writes, 1);
    EXPECT_LE(writes, 20);
    EXPECT_EQ(parseRecovery(readAll(store.filePath())).work->work.table.cells.size() - 1, 20);
}

// A full disk or a file that may not grow: the write fails and the previous work stays whole.
class RecoveryFullDisk : public ::testing::TestWithParam<bool>
{
};

TEST_P(RecoveryFullDisk, LeavesThePreviousWorkWhole)
{
    failingdisk::FailingPlace place(GetParam());
    if (place.unavailable())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    const QString dir = QFileInfo(place.filePath(QStringLiteral("x"))).path();
    RecoveryStore store(dir, 111);
    const QByteArray first = bytesOf(fullWork(3, 100));
    ASSERT_TRUE(store.write(first));
    ASSERT_TRUE(place.prepare(4096));
    const int answer = place.run([&] { return store.write(bytesOf(fullWork(60, 60000))) ? 1 : 0; }, 30000);
    EXPECT_EQ(answer, 0);
    EXPECT_TRUE(readAll(store.filePath()) == first);
}

INSTANTIATE_TEST_SUITE_P(Rows, RecoveryFullDisk, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool> &i) {
                             return i.param ? std::string("FullDisk") : std::string("FileSizeLimit");
                         });

// A program killed while it writes: whatever moment the kill comes, the file holds one whole
// work, the one before or the one being written.
class RecoveryKilledWriting : public ::testing::TestWithParam<int>
{
};

TEST_P(RecoveryKilledWriting, LeavesOneWholeWork)
{
    QTemporaryDir tmp;
    const QString dir = tmp.path();
    const QByteArray a = bytesOf(fullWork(100, 400000)), b = bytesOf(fullWork(50, 800000));
    std::fflush(nullptr);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::alarm(30);
        RecoveryStore store(dir, 111);
        if (!store.write(a))
            ::_exit(1);
        [[maybe_unused]] const ssize_t n = ::write(ready[1], "r", 1);
        for (int i = 0;; ++i)
            store.write(i % 2 ? a : b);
    }
    char c;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ::usleep(useconds_t(GetParam()) * 1000);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    ASSERT_TRUE(WIFSIGNALED(status));
    const QByteArray left = readAll(dir + "/travail-111.vorlac-travail");
    EXPECT_TRUE(left == a || left == b) << "a cut or mixed file of " << left.size() << " bytes";
}

INSTANTIATE_TEST_SUITE_P(Rows, RecoveryKilledWriting, ::testing::Values(0, 1, 3, 7, 15, 40, 90),
                         [](const ::testing::TestParamInfo<int> &i) {
                             return "After" + std::to_string(i.param) + "ms";
                         });

} // namespace
