// Opening an exercise as the pupil does: a 20 KB statement read into the text box, its situation
// applied, the scene redrawn.
#include "exercises/exercisecommands.h"
#include "exercises/exercisefile.h"
#include "exercises/exercisetext.h"
#include "qtbenchmain.h"
#include "situations/situationfile.h"
#include "window/vorlacwindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <benchmark/benchmark.h>

namespace
{

void BM_OpenExercise(benchmark::State &state)
{
    QTemporaryDir dir;
    QTextDocument statement;
    QTextCursor cursor(&statement);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    while (statement.characterCount() < 20000) {
        cursor.insertText(QStringLiteral("Mesurer l'angle de déviation D pour i = 40°. "), bold);
        cursor.insertText(QStringLiteral("Relever r et r' au rapporteur, puis vérifier que r + r' = A.\n"),
                          QTextCharFormat());
    }
    vorlac::writeRtfFile(dir.filePath(QStringLiteral("E.RTF")), statement);
    vorlac::Situation a, b;
    a.scene.apexAngle = 60;
    b.scene.apexAngle = 30;
    vorlac::writeSituationFile(dir.filePath(QStringLiteral("A.P01")), a);
    vorlac::writeSituationFile(dir.filePath(QStringLiteral("B.P01")), b);
    for (const char *name : {"A", "B"}) {
        QFile f(dir.filePath(QString::fromLatin1(name) + QStringLiteral(".E01")));
        f.open(QIODevice::WriteOnly);
        f.write(*vorlac::serialiseExerciseFile(
            {QStringLiteral("E.RTF"), QString::fromLatin1(name) + QStringLiteral(".P01"), {}, {}, {}, {}, {}, {}}));
    }

    vorlac::VorlacEnvironment env;
    env.programDirectory = dir.path() + QStringLiteral("/");
    vorlac::Vorlac window(env);
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        window.exerciseCommands().openExerciseFile(
            dir.filePath(flip ? QStringLiteral("A.E01") : QStringLiteral("B.E01")));
    }
}
BENCHMARK(BM_OpenExercise)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return vorlac::runQtBenchmarks<QApplication>(argc, argv);
}
