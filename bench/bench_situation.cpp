// Saving and loading a full situation (101 grid rows, every cell filled), without the disk.
#include "qtbenchmain.h"
#include "situations/situation.h"
#include "situations/situationbinder.h"
#include "window/vorlacwindow.h"

#include <QApplication>
#include <QDir>
#include <benchmark/benchmark.h>

namespace
{

vorlac::Situation fullSituation()
{
    vorlac::Situation s;
    s.scene.prismMaterial = vorlac::kCustomMaterial;
    s.scene.prismCauchyA = 1.5168f;
    s.scene.prismCauchyB = 4200.0f;
    s.scene.incidenceAngle = -12.345678901234;
    s.lines = QList<vorlac::SituationRow>(100);
    for (int r = 0; r < 100; ++r) {
        for (int c = 0; c < vorlac::ValueTable::kColumns; ++c)
            s.lines[r][std::size_t(c)] =
                QStringLiteral("%1,%2").arg(1000 + r * 7 + c).arg(r * 13 % 1000, 3, 10, QLatin1Char('0'));
    }
    for (auto &f : s.formulas)
        f = QStringLiteral("sin (C1) / sin (C2) * 1.5");
    return s;
}

void BM_SerialiseFullSituation(benchmark::State &state)
{
    const vorlac::Situation s = fullSituation();
    for (auto _ : state)
        benchmark::DoNotOptimize(vorlac::serialiseSituation(s));
}
BENCHMARK(BM_SerialiseFullSituation)->Unit(benchmark::kMicrosecond);

void BM_ParseFullSituation(benchmark::State &state)
{
    const QByteArray bytes = *vorlac::serialiseSituation(fullSituation());
    for (auto _ : state)
        benchmark::DoNotOptimize(vorlac::parseSituation(bytes));
}
BENCHMARK(BM_ParseFullSituation)->Unit(benchmark::kMicrosecond);

// Applying to the main window: scene, panels, one scene and one white-light redraw, the table.
// Two situations alternate so that every apply changes everything.
void BM_ApplyFullSituationToWindow(benchmark::State &state)
{
    vorlac::VorlacEnvironment env;
    env.programDirectory = QDir::tempPath() + QStringLiteral("/");
    vorlac::Vorlac window(env);
    vorlac::Situation a = fullSituation();
    a.scene.source = vorlac::SourceType::WhiteLight;
    vorlac::Situation b = fullSituation();
    b.scene.apexAngle = 30;
    b.scene.prismMaterial = 3;
    b.scene.prismCauchyA = vorlac::kMaterials[3].cauchyA;
    b.scene.prismCauchyB = vorlac::kMaterials[3].cauchyB;
    b.scene.source = vorlac::SourceType::WhiteLight;
    b.lines[5][3] = QStringLiteral("9,999");
    bool flip = false;
    for (auto _ : state) {
        window.situations().applySituation(flip ? a : b);
        flip = !flip;
    }
}
BENCHMARK(BM_ApplyFullSituationToWindow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return vorlac::runQtBenchmarks<QApplication>(argc, argv);
}
