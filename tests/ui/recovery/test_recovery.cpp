#include "rowname.h"
#include "testfiles.h"
#include "vorlacfixture.h"

#include "exercises/exercisecommands.h"
#include "recovery/recoverykeeper.h"
#include "recovery/workwatcher.h"
#include "simulator/exercisearea.h"
#include "simulator/protractorpanel.h"
#include "simulator/protractorview.h"
#include "table/valuetable.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <csignal>
#include <sys/mount.h>

using namespace vorlac;

namespace
{

const QString kQuestion = QStringLiteral("Restaurer le travail non enregistré");

QStringList filesIn(const QString &folder, const QString &pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files, QDir::Name);
}

// The work without what differs from one program to the next.
RecoveryWork comparable(RecoveryWork w)
{
    w.processId = 0;
    w.savedAtMs = 0;
    return w;
}

class Recovery : public VorlacFixture
{
  protected:
    QString state() const { return dir.path() + "/etat"; }

    // Changes of every kind, made through the owners the panels use.
    void changeEverything(Vorlac &w)
    {
        ValueTable &t = w.valueTable();
        t.setRows(101);
        for (int r = 1; r < 101; ++r)
            t.setTextMatrix(r, r % 7, QString::number(r) + ",5");
        t.setTitle(1, QStringLiteral("Déviation"));
        t.setColumnExpression(2, QStringLiteral("C1 * 2"));
        t.setTableNumberFormat(QStringLiteral("##0.0"));
        w.controller().setCustomMaterial(MaterialSide::Prism, 1.61f, 5100.25f);
        w.controller().setIncidenceAngle(41.123456789012345);
        w.controller().setBlackBackground(false);
        ProtractorState p;
        p.rotation = 2.5f;
        p.lineAngle = 0.75f;
        p.position = QPoint(90, 30);
        w.findChild<ProtractorPanel *>(QStringLiteral("Picture2"))->open();
        w.findChild<ProtractorView *>(QStringLiteral("picturap"))->setState(p);
    }
};

TEST_F(Recovery, RestoringGivesBackExactlyTheWorkOfAnotherWindow)
{
    Vorlac &first = window();
    changeEverything(first);
    const RecoveryWork before = first.recovery().capture();

    VorlacEnvironment env;
    env.programDirectory = dir.path() + "/";
    env.stateDirectory = dir.path() + "/etat2";
    env.endProgram = [] {};
    env.messenger.show = [](QWidget *, QMessageBox::Icon, const QString &, const QString &,
                            QMessageBox::StandardButtons) { return QMessageBox::Ok; };
    Vorlac second(env);
    second.recovery().restore(before);
    EXPECT_TRUE(comparable(second.recovery().capture()) == comparable(before));
    EXPECT_EQ(second.valueTable().TextMatrix(50, 1), first.valueTable().TextMatrix(50, 1));
}

TEST_F(Recovery, ChangesAreWrittenOnceSettledAndAConfirmedCloseRemovesThem)
{
    Vorlac &w = window();
    QSignalSpy written(&w.recovery(), &RecoveryKeeper::written);
    for (int i = 0; i < 50; ++i)
        w.controller().setIncidenceAngle(20 + i * 0.1); // a drag's worth of moves
    EXPECT_TRUE(w.recovery().watcher().pending());
    ASSERT_TRUE(written.wait(5000));
    EXPECT_EQ(written.count(), 1); // one write for the whole burst
    const QString file = w.recovery().store().filePath();
    const RecoveryResult r = parseRecovery(readAll(file));
    ASSERT_TRUE(r.work.has_value());
    EXPECT_DOUBLE_EQ(r.work->situation.scene.incidenceAngle, w.scene().incidenceAngle);

    answers = {QMessageBox::Cancel};
    w.close();
    EXPECT_TRUE(QFile::exists(file)); // a close not confirmed keeps it
    w.close();
    EXPECT_FALSE(QFile::exists(file));
}

struct BadFileRow {
    const char *name;
    QByteArray bytes;
};
void PrintTo(const BadFileRow &row, std::ostream *os)
{
    *os << row.name;
}

class DamagedRecovery : public Recovery, public ::testing::WithParamInterface<BadFileRow>
{
};

TEST_P(DamagedRecovery, IsSetAsideWithOneMessageAndTheProgramStartsAsUsual)
{
    ASSERT_TRUE(QDir().mkpath(state()));
    writeAll(state() + "/travail-999999.vorlac-travail", GetParam().bytes);
    Vorlac &w = window();
    w.offerRecovery();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Travail non récupérable");
    EXPECT_EQ(messages[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(filesIn(state(), "*.vorlac-travail").isEmpty());
    const QStringList aside = filesIn(state(), "*.vorlac-ecarte");
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(readAll(state() + "/" + aside[0]) == GetParam().bytes);
    EXPECT_EQ(w.scene(), SceneState{});
    w.offerRecovery(); // nothing is offered twice
    EXPECT_EQ(messages.size(), 1u);
}

QByteArray cutWork()
{
    QByteArray b = *serialiseRecovery(RecoveryWork{});
    b.chop(40);
    return b;
}

QByteArray newerWork()
{
    QByteArray b = *serialiseRecovery(RecoveryWork{});
    b[8] = 9;
    return b;
}

INSTANTIATE_TEST_SUITE_P(Rows, DamagedRecovery,
                         ::testing::Values(BadFileRow{"Garbage", QByteArray(3000, '\xa7')},
                                           BadFileRow{"Empty", QByteArray()}, BadFileRow{"CutShort", cutWork()},
                                           BadFileRow{"NewerFormat", newerWork()}),
                         RowName());

// A folder nothing can be written to: one message in the whole run, the program goes on.
TEST_F(Recovery, AReadOnlyStateFolderGivesOneMessageAndTheProgramGoesOn)
{
    const QString ro = dir.path() + "/lecture-seule";
    ASSERT_TRUE(QDir().mkpath(ro));
    bool mounted = false;
    if (::geteuid() == 0)
        mounted = ::mount("tmpfs", QFile::encodeName(ro).constData(), "tmpfs", MS_RDONLY, "size=64k") == 0;
    else
        QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (::geteuid() == 0 && !mounted)
        GTEST_SKIP() << "no read-only tmpfs can be mounted here";
    stateDir = ro + "/vorlac";
    Vorlac &w = window();
    for (int i = 0; i < 5; ++i) {
        w.valueTable().setTextMatrix(1, 0, QString::number(i));
        w.recovery().writeNow();
        w.recovery().waitForWrites();
    }
    if (mounted)
        ::umount2(QFile::encodeName(ro).constData(), MNT_DETACH);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Sauvegarde automatique impossible");
    EXPECT_EQ(messages[0].icon, QMessageBox::Warning);
    EXPECT_EQ(w.valueTable().TextMatrix(1, 0), "4");
}

TEST(WorkWatcherTest, SettlesOnceAfterABurstAndAgainAfterTheNext)
{
    WorkWatcher watcher(30, 10000);
    QSignalSpy settled(&watcher, &WorkWatcher::settled);
    for (int burst = 1; burst <= 2; ++burst) {
        for (int i = 0; i < 100; ++i)
            watcher.noteChange();
        ASSERT_TRUE(settled.wait(5000));
        QTest::qWait(100);
        EXPECT_EQ(settled.count(), burst);
    }
    watcher.setSuspended(true);
    watcher.noteChange();
    EXPECT_FALSE(watcher.pending());
}

// --- The real thing: a separate program killed as a power cut would, then started again. ---

struct KillRow {
    const char *name;
    bool accept;
};
void PrintTo(const KillRow &row, std::ostream *os)
{
    *os << row.name;
}

class KilledProgram : public ::testing::TestWithParam<KillRow>
{
};

void copyFolder(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + "/" + QDir(from).relativeFilePath(src);
        QDir().mkpath(QFileInfo(dst).path());
        QFile::copy(src, dst);
    }
}

TEST_P(KilledProgram, StartsAgainWithTheWorkOnScreen)
{
    QTemporaryDir tmp;
    const QString stateDir = tmp.filePath("etat"), program = tmp.filePath("programme") + "/";
    copyFolder(QStringLiteral(VORLAC_SOURCE_DIR "/data/exercices"), program + "exercices");
    ASSERT_TRUE(QFile::copy(QStringLiteral(VORLAC_SOURCE_DIR "/data/VORLAC1.E01"), program + "VORLAC1.E01"));

    QProcess session;
    session.start(QStringLiteral(VORLAC_RECOVERY_CHILD), {"session", stateDir, program, tmp.filePath("avant")});
    ASSERT_TRUE(session.waitForStarted(20000));
    QByteArray out;
    while (!out.contains("PRET") && session.state() == QProcess::Running && session.waitForReadyRead(60000))
        out += session.readAllStandardOutput();
    ASSERT_TRUE(out.contains("PRET")) << session.readAllStandardError().toStdString();
    ::kill(pid_t(session.processId()), SIGKILL);
    ASSERT_TRUE(session.waitForFinished(20000));
    ASSERT_EQ(filesIn(stateDir, "*.vorlac-travail").size(), 1);

    QProcess again;
    again.start(QStringLiteral(VORLAC_RECOVERY_CHILD),
                {"restore", stateDir, program, tmp.filePath("apres"), GetParam().accept ? "ok" : "annuler"});
    ASSERT_TRUE(again.waitForFinished(60000));
    ASSERT_EQ(again.exitCode(), 0) << again.readAllStandardError().toStdString();
    EXPECT_EQ(readAll(tmp.filePath("apres.messages")), kQuestion.toUtf8());
    const QByteArray before = readAll(tmp.filePath("avant")), after = readAll(tmp.filePath("apres"));
    if (GetParam().accept) {
        EXPECT_TRUE(after == before) << "before:\n"
                                     << before.left(2000).toStdString() << "\nafter:\n"
                                     << after.left(2000).toStdString();
        EXPECT_TRUE(filesIn(stateDir, "*.vorlac-ecarte").isEmpty());
    } else {
        EXPECT_TRUE(after != before);
        EXPECT_TRUE(after.startsWith("Le vorlac\n")); // as a fresh start
        EXPECT_EQ(filesIn(stateDir, "*.vorlac-ecarte").size(), 1);
    }
    // The second program closed confirmed: nothing is left to offer.
    EXPECT_TRUE(filesIn(stateDir, "*.vorlac-travail").isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Rows, KilledProgram,
                         ::testing::Values(KillRow{"RestoreWithOk", true}, KillRow{"KeepAsideWithAnnuler", false}),
                         RowName());

} // namespace
