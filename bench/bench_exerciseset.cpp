// Saving an exercise whose statement is 20 KB (five files written, synced and renamed as one
// set) on the disk and on tmpfs, and checking a folder of 50 exercises.
#include "exercises/exerciseset.h"
#include "situations/situation.h"

#include "qtbenchmain.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>

namespace
{

vorlac::ExerciseSet sampleSet()
{
    vorlac::ExerciseSet set;
    set.title = QStringLiteral("Déviation minimale");
    set.notions = {QStringLiteral("réfraction ; "), QStringLiteral("déviation")};
    set.difficulty = 2;
    QByteArray body;
    while (body.size() < 20 * 1024)
        body += "{\\b Question} : le rayon arrive sous l'incidence {\\i i} = 30\\'b0 ; calculer "
                "{\\i r} et D.\\par\n";
    set.statement = "{\\rtf1\\ansi\\ansicpg1252\\deff0 " + body + "}";
    set.correction = "{\\rtf1\\ansi D = 37,2\\'b0\\par}";
    vorlac::Situation situation;
    set.statementSituation = *vorlac::serialiseSituation(situation);
    situation.lines = QList<vorlac::SituationRow>(100);
    set.correctionSituation = *vorlac::serialiseSituation(situation);
    return set;
}

void saveIn(benchmark::State &state, const QString &parent)
{
    QTemporaryDir dir(parent + QStringLiteral("/vorlac-bench-XXXXXX"));
    const vorlac::ExerciseSet set = sampleSet();
    const vorlac::ExerciseSetNames names = vorlac::freshExerciseNames(dir.path(), set.title);
    for (auto _ : state)
        if (!vorlac::saveExerciseSet(dir.path(), names, set).isEmpty())
            state.SkipWithError("save failed");
}

void BM_SaveExercise20KbDisk(benchmark::State &state)
{
    saveIn(state, QDir::tempPath());
}
BENCHMARK(BM_SaveExercise20KbDisk)->Unit(benchmark::kMillisecond);

void BM_SaveExercise20KbTmpfs(benchmark::State &state)
{
    if (!QDir(QStringLiteral("/dev/shm")).exists()) {
        state.SkipWithError("no /dev/shm");
        return;
    }
    saveIn(state, QStringLiteral("/dev/shm"));
}
BENCHMARK(BM_SaveExercise20KbTmpfs)->Unit(benchmark::kMillisecond);

void BM_CheckFolderOf50(benchmark::State &state)
{
    QTemporaryDir dir;
    vorlac::ExerciseSet set = sampleSet();
    for (int n = 0; n < 50; ++n) {
        set.title = QStringLiteral("Exercice %1").arg(n);
        vorlac::saveExerciseSet(dir.path(), vorlac::freshExerciseNames(dir.path(), set.title), set);
    }
    for (auto _ : state) {
        const vorlac::FolderCheck check = vorlac::checkExerciseFolder(dir.path());
        if (check.exercises != 50 || !check.problems.isEmpty())
            state.SkipWithError("unexpected check");
    }
}
BENCHMARK(BM_CheckFolderOf50)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return vorlac::runQtBenchmarks<QGuiApplication>(argc, argv);
}
