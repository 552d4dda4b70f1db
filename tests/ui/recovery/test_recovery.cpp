#include "rowname.h"
#include "testfiles.h"
#include "vorlacfixture.h"

#include "exercises/exercisearea.h"
#include "exercises/exercisecommands.h"
#include "panels/protractorpanel.h"
#include "recovery/recoverykeeper.h"
#include "recovery/setasidedialog.h"
#include "recovery/workwatcher.h"
#include "scene/protractorview.h"
#include "table/valuetable.h"
#include "undo/undohistory.h"
#include "window/toolbar.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>

#include <csignal>
#include <sys/mount.h>

using namespace vorlac;

namespace
{

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
    EXPECT_DOUBLE_EQ(r.work->work.scene.incidenceAngle, w.scene().incidenceAngle);

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

// A folder that becomes read-only under the test's feet: a tmpfs remounted read-only for root,
// who may write anywhere, its permissions otherwise.
struct FreezableFolder {
    explicit FreezableFolder(const QString &folder) : path(QFile::encodeName(folder))
    {
        QDir().mkpath(folder);
        mounted = ::geteuid() == 0 && ::mount("tmpfs", path.constData(), "tmpfs", 0, "size=8m") == 0;
    }
    ~FreezableFolder()
    {
        if (mounted)
            ::umount2(path.constData(), MNT_DETACH);
        else
            QFile::setPermissions(QFile::decodeName(path), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool usable() const { return mounted || ::geteuid() != 0; }
    bool freeze() const
    {
        if (mounted)
            return ::mount("tmpfs", path.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=8m") == 0;
        return QFile::setPermissions(QFile::decodeName(path), QFile::ReadOwner | QFile::ExeOwner);
    }
    QByteArray path;
    bool mounted = false;
};

// A folder nothing can be written to: one message in the whole run, the program goes on.
TEST_F(Recovery, AReadOnlyStateFolderGivesOneMessageAndTheProgramGoesOn)
{
    const FreezableFolder ro(dir.path() + "/lecture-seule");
    if (!ro.usable() || !ro.freeze())
        GTEST_SKIP() << "no read-only tmpfs can be mounted here";
    stateDir = dir.path() + "/lecture-seule/vorlac";
    Vorlac &w = window();
    for (int i = 0; i < 5; ++i) {
        w.valueTable().setTextMatrix(1, 0, QString::number(i));
        w.recovery().writeNow();
        w.recovery().waitForWrites();
    }
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Sauvegarde automatique impossible");
    EXPECT_EQ(messages[0].icon, QMessageBox::Warning);
    EXPECT_EQ(w.valueTable().TextMatrix(1, 0), "4");
}

// Work set aside is found again from the open dialog, listed newest first with what it holds,
// and opens in place of the whole current work, where undo stops.
TEST_F(Recovery, SetAsideWorkIsListedAndOpensFromTheOpenDialog)
{
    ASSERT_TRUE(QDir().mkpath(state()));
    RecoveryWork piece;
    piece.work.table.format = "##0.0";
    piece.work.scene.apexAngle = 60;
    piece.work.table.cells[3][1] = "12,5";
    piece.work.situationFileName = "/cours/prisme.P01";
    writeAll(state() + "/travail-5-annule-20250102-030405.vorlac-ecarte", *serialiseRecovery(piece));
    writeAll(state() + "/travail-6-abime-20250103-030405.vorlac-ecarte", "illisible");
    Vorlac &w = window();
    QStringList listed;
    w.recovery().showSetAsideDialog = [&listed](SetAsideDialog &d) {
        for (int i = 0; i < d.list()->topLevelItemCount(); ++i)
            listed << d.list()->topLevelItem(i)->text(1) + " | " + d.list()->topLevelItem(i)->text(2);
        d.accept(); // the first piece that can be opened is selected
    };
    dialogs.answer("ouvrir", [](QWidget *open) {
        auto *button = open->findChild<QPushButton *>("travailMisDeCote");
        ASSERT_NE(button, nullptr);
        button->click(); // the opening closes the dialog
    });
    w.toolbar().openButton()->click();
    EXPECT_EQ(listed, QStringList({"illisible : ne peut pas être ouvert | illisible",
                                   "situation prisme.P01 ; A = 60°, i = 36,0° ; 1 ligne de mesures | non restauré au "
                                   "démarrage"}));
    EXPECT_EQ(w.scene().apexAngle, 60);
    EXPECT_EQ(w.valueTable().TextMatrix(3, 1), "12,5");
    EXPECT_EQ(w.windowTitle(), "Le vorlac - /cours/prisme.P01");
    EXPECT_FALSE(w.undoHistory().canUndo());
}

// Set-aside pieces, readable or not, can be deleted for good, and only after a yes.
TEST_F(Recovery, ASetAsidePieceIsDeletedOnlyAfterAYes)
{
    ASSERT_TRUE(QDir().mkpath(state()));
    const QString unreadable = state() + "/travail-6-abime-20250103-030405.vorlac-ecarte";
    writeAll(unreadable, "illisible");
    writeAll(state() + "/travail-5-annule-20250102-030405.vorlac-ecarte", *serialiseRecovery(RecoveryWork{}));
    Vorlac &w = window();
    answers = {QMessageBox::Cancel, QMessageBox::Ok};
    QList<int> counts;
    w.recovery().showSetAsideDialog = [&](SetAsideDialog &d) {
        d.list()->setCurrentItem(d.list()->topLevelItem(0)); // the unreadable one, newest
        for (int i = 0; i < 2; ++i) {
            d.removeButton()->click();
            counts << d.list()->topLevelItemCount() << int(QFile::exists(unreadable));
        }
        d.reject();
    };
    EXPECT_EQ(w.recovery().chooseSetAside(&w), "");
    EXPECT_EQ(counts, QList<int>({2, 1, 1, 0}));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].title, "Supprimer le travail mis de côté");
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
    const char *sessionEnd;          // "": killed once its work is written; "renommage": see recoverychild
    bool readOnly;                   // the folder is read-only from the next start on
    std::vector<QStringList> starts; // what each later start answers (FICHIER: the file given)
    const char *messages;            // the titles of the last start's messages
    const char *screen;              // the last start shows "avant" the work, "neuf" a fresh start, or "fichier"
    int setAside;                    // files set aside at the end
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

TEST_P(KilledProgram, StartsAgainWithTheWorkOnScreenOfferedOnce)
{
    const KillRow &row = GetParam();
    QTemporaryDir tmp;
    const QString stateDir = tmp.filePath("etat"), program = tmp.filePath("programme") + "/";
    const QString given = program + "exercices/DEBUT.P01";
    copyFolder(QStringLiteral(VORLAC_SOURCE_DIR "/data/exercices"), program + "exercices");
    ASSERT_TRUE(QFile::copy(QStringLiteral(VORLAC_SOURCE_DIR "/data/VORLAC1.E01"), program + "VORLAC1.E01"));
    const FreezableFolder folder(stateDir);
    if (row.readOnly && !folder.usable())
        GTEST_SKIP() << "no tmpfs can be mounted here";

    QProcess session;
    session.start(QStringLiteral(VORLAC_RECOVERY_CHILD),
                  {"session", stateDir, program, tmp.filePath("avant"), row.sessionEnd});
    ASSERT_TRUE(session.waitForStarted(20000));
    QByteArray out;
    while (!*row.sessionEnd && !out.contains("PRET") && session.state() == QProcess::Running &&
           session.waitForReadyRead(60000))
        out += session.readAllStandardOutput();
    ASSERT_TRUE(*row.sessionEnd || out.contains("PRET")) << session.readAllStandardError().toStdString();
    if (!*row.sessionEnd) {
        ::kill(pid_t(session.processId()), SIGKILL);
    }
    ASSERT_TRUE(session.waitForFinished(60000));
    ASSERT_EQ(session.exitStatus(), QProcess::CrashExit);
    ASSERT_EQ(filesIn(stateDir, "*.vorlac-travail").size(), 1);
    if (*row.sessionEnd) { // killed at the rename: its temporary file is left
        ASSERT_EQ(filesIn(stateDir, "*.vorlac-travail.*").size(), 1);
    }
    if (row.readOnly) {
        ASSERT_TRUE(folder.freeze());
    }

    for (QStringList start : row.starts) {
        start.replaceInStrings("FICHIER", given);
        QProcess again;
        again.start(QStringLiteral(VORLAC_RECOVERY_CHILD),
                    QStringList{"restore", stateDir, program, tmp.filePath("apres")} + start);
        ASSERT_TRUE(again.waitForFinished(60000));
        if (start.value(3).isEmpty()) {
            ASSERT_EQ(again.exitCode(), 0) << again.readAllStandardError().toStdString();
        }
    }
    EXPECT_EQ(readAll(tmp.filePath("apres.messages")), QByteArray(row.messages));
    const QString texts = QString::fromUtf8(readAll(tmp.filePath("apres.textes")));
    const QByteArray before = readAll(tmp.filePath("avant")), after = readAll(tmp.filePath("apres"));
    const QByteArray screen(row.screen);
    if (screen == "avant") {
        EXPECT_TRUE(after == before) << "before:\n"
                                     << before.left(2000).toStdString() << "\nafter:\n"
                                     << after.left(2000).toStdString();
    } else { // a fresh start, or the file given over it: nothing of the restored work is left on screen
        EXPECT_TRUE(after.startsWith(screen == "neuf" ? "Le vorlac\n" : ("Le vorlac - " + given + "\n").toUtf8()) &&
                    !after.contains("Reponse : n = 1,52"))
            << after.left(300).toStdString();
    }
    const QStringList aside = filesIn(stateDir, "*.vorlac-ecarte");
    ASSERT_EQ(aside.size(), row.setAside);
    for (const QString &name : aside) { // the message said where it went
        EXPECT_TRUE(texts.contains(QDir(stateDir).filePath(name))) << texts.toStdString();
    }
    // Nothing else is left: no work to offer again, no lock, no temporary file; a read-only
    // folder keeps its work, and says so.
    QStringList left = QDir(stateDir).entryList(QDir::Files | QDir::Hidden);
    left.removeIf([](const QString &name) { return name.endsWith(".vorlac-ecarte"); });
    EXPECT_EQ(left.filter(".vorlac-travail").size(), row.readOnly ? 1 : 0) << left.join(' ').toStdString();
    if (!row.readOnly) {
        EXPECT_TRUE(left.isEmpty()) << left.join(' ').toStdString();
    }
    EXPECT_EQ(texts.contains("lecture seule"), row.readOnly);
}

const char *const kOneQuestion = "Restaurer le travail non enregistré";
const char *const kTwoQuestions = "Restaurer le travail non enregistré\nTravail non enregistré";

INSTANTIATE_TEST_SUITE_P(
    Rows, KilledProgram,
    ::testing::Values(
        KillRow{"RestoreWithOk", "", false, {{"ok"}}, kOneQuestion, "avant", 0},
        KillRow{"KeepAsideWithAnnuler", "", false, {{"annuler"}}, kOneQuestion, "neuf", 1},
        KillRow{"KeepRestoredOverAGivenFile", "", false, {{"ok", "garder", "FICHIER"}}, kTwoQuestions, "avant", 0},
        KillRow{"OpenTheGivenFile", "", false, {{"ok", "ouvrir", "FICHIER"}}, kTwoQuestions, "fichier", 1},
        KillRow{"KilledAtTheRename", "renommage", false, {{"ok"}}, kOneQuestion, "avant", 0},
        KillRow{"KilledDuringTheRestore", "", false, {{"ok", "", "", "effacement"}, {"ok"}}, kOneQuestion, "avant", 0},
        KillRow{"ReadOnlyFolder", "", true, {{"ok"}}, kOneQuestion, "avant", 0}),
    RowName());

} // namespace
