// The unsaved work of a full table (101 grid rows, every cell filled, formulas, an edited
// exercise text): what the window's thread pays to capture and store it (also during a lamp
// drag), and what the writer's thread pays to put it on the disk (synced).
#include "exercises/exercisearea.h"
#include "qtbenchmain.h"
#include "recovery/recoveryfile.h"
#include "recovery/recoverykeeper.h"
#include "recovery/recoverystore.h"
#include "recovery/workwatcher.h"
#include "scene/scenecontroller.h"
#include "table/valuetable.h"
#include "window/vorlacwindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextEdit>
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

namespace
{

void fillTable(vorlac::ValueTable &t)
{
    t.setRows(vorlac::ValueTable::kMaxRows);
    for (int r = 1; r < t.Rows(); ++r)
        for (int c = 0; c < vorlac::ValueTable::kColumns; ++c)
            t.setTextMatrix(r, c,
                            QStringLiteral("%1,%2").arg(1000 + r * 7 + c).arg(r * 13 % 1000, 3, 10, QLatin1Char('0')));
    for (int c = 0; c < vorlac::ValueTable::kColumns; ++c)
        t.setColumnExpression(c, QStringLiteral("sin (C1) / sin (C2) * 1.5"));
}

vorlac::RecoveryWork fullWork()
{
    vorlac::RecoveryWork recovery;
    vorlac::Work &w = recovery.work;
    w.table.cells.resize(101);
    for (int r = 1; r < 101; ++r)
        for (int c = 0; c < vorlac::ValueTable::kColumns; ++c)
            w.table.cells[std::size_t(r)][std::size_t(c)] =
                QStringLiteral("%1,%2").arg(1000 + r * 7 + c - 7).arg((r - 1) * 13 % 1000, 3, 10, QLatin1Char('0'));
    for (auto &f : w.table.expressions)
        f = QStringLiteral("sin (C1) / sin (C2) * 1.5");
    w.table.format = QStringLiteral("########0.000");
    w.exercise.fileField = QStringLiteral("/usr/share/vorlac/VORLAC1.E01");
    w.exercise.rtf = "{\\rtf1\\ansi " + QByteArray(4000, 'x') + "}";
    w.exercise.edited = true;
    return recovery;
}

// On the window's thread, each time the work settles.
void BM_SerialiseFullRecovery(benchmark::State &state)
{
    const vorlac::RecoveryWork w = fullWork();
    for (auto _ : state)
        benchmark::DoNotOptimize(vorlac::serialiseRecovery(w));
}
BENCHMARK(BM_SerialiseFullRecovery)->Unit(benchmark::kMicrosecond);

// The same from the real window: reading the table, the scene and the exercise, then storing.
void BM_CaptureAndSerialiseFromWindow(benchmark::State &state)
{
    QTemporaryDir dir;
    vorlac::VorlacEnvironment env;
    env.programDirectory = dir.path() + "/";
    env.stateDirectory = dir.path() + "/etat";
    vorlac::Vorlac window(env);
    fillTable(window.valueTable());
    for (auto _ : state)
        benchmark::DoNotOptimize(vorlac::serialiseRecovery(window.recovery().capture()));
}
BENCHMARK(BM_CaptureAndSerialiseFromWindow)->Unit(benchmark::kMicrosecond);

// During a lamp drag in white light, with a full table and an exercise text open: what one
// settling costs the window's thread between two mouse moves (the moves are not counted). The
// work settles at most every 1.5 s of a drag, and the capture must stay under 1 ms.
void BM_CaptureDuringLampDrag(benchmark::State &state)
{
    QTemporaryDir dir;
    vorlac::VorlacEnvironment env;
    env.programDirectory = dir.path() + "/";
    env.stateDirectory = dir.path() + "/etat";
    vorlac::Vorlac window(env);
    fillTable(window.valueTable());
    window.exercises().fileField()->setText(QStringLiteral("VORLAC1.E01"));
    window.exercises().text()->setPlainText(QString(4000, QLatin1Char('x')));
    vorlac::SceneController &scene = window.controller();
    scene.setSource(vorlac::SourceType::WhiteLight);
    int move = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const int step = move % 40 < 20 ? move % 40 : 40 - move % 40; // back and forth
        ++move;
        scene.dragLamp(Qt::LeftButton, 60 + step * 0.37, 200 - step * 0.91);
        state.ResumeTiming();
        benchmark::DoNotOptimize(vorlac::serialiseRecovery(window.recovery().capture()));
    }
    scene.releaseLamp();
}
BENCHMARK(BM_CaptureDuringLampDrag)->Unit(benchmark::kMicrosecond);

// On the writer's thread: the atomic write with its sync, on the disk of the build folder (a
// temporary folder may be in memory and would not sync anything).
void BM_WriteFullRecoveryFile(benchmark::State &state)
{
    QTemporaryDir dir(QDir::current().filePath(QStringLiteral("bench-recovery-XXXXXX")));
    vorlac::RecoveryStore store(dir.path(), 1);
    const vorlac::RecoveryWork w = fullWork();
    for (auto _ : state) {
        if (!store.write(*vorlac::serialiseRecovery(w)))
            state.SkipWithError("write failed");
    }
    state.counters["bytes"] = double(vorlac::serialiseRecovery(w)->size());
}
BENCHMARK(BM_WriteFullRecoveryFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor the disk sets: the same bytes written once and synced, with no temporary file and
// no rename (and so no safety against a cut).
void BM_PlainWriteAndSyncSameBytes(benchmark::State &state)
{
    QTemporaryDir dir(QDir::current().filePath(QStringLiteral("bench-recovery-XXXXXX")));
    const QByteArray bytes = *vorlac::serialiseRecovery(fullWork());
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("plain")));
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size() || ::fsync(fd) != 0)
            state.SkipWithError("write failed");
        ::close(fd);
    }
}
BENCHMARK(BM_PlainWriteAndSyncSameBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

// Reading it back at start-up.
void BM_ParseFullRecovery(benchmark::State &state)
{
    const QByteArray bytes = *vorlac::serialiseRecovery(fullWork());
    for (auto _ : state)
        benchmark::DoNotOptimize(vorlac::parseRecovery(bytes));
}
BENCHMARK(BM_ParseFullRecovery)->Unit(benchmark::kMicrosecond);

// What every change costs while the pupil drags the lamp or types.
void BM_NoteChange(benchmark::State &state)
{
    vorlac::WorkWatcher watcher(1000, 1500);
    for (auto _ : state)
        watcher.noteChange();
}
BENCHMARK(BM_NoteChange)->Unit(benchmark::kNanosecond);

} // namespace

int main(int argc, char **argv)
{
    return vorlac::runQtBenchmarks<QApplication>(argc, argv);
}
