// Opening the course and showing its first page, as "Voir le cours" does (target: 50 ms).
#include "help/chmbrowser.h"
#include "help/chmfile.h"
#include "help/helpviewer.h"
#include "qtbenchmain.h"

#include <QApplication>
#include <QTextBrowser>
#include <benchmark/benchmark.h>

#include <filesystem>

namespace
{

QString coursePath()
{
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
    return QString::fromStdString((exe.parent_path().parent_path() / "Dadevedozoz.chm").string());
}

void BM_OpenCourseFile(benchmark::State &state)
{
    const QString path = coursePath();
    for (auto _ : state) {
        vorlac::ChmFile file;
        if (!file.open(path))
            state.SkipWithError("course missing");
        benchmark::DoNotOptimize(file.read(file.defaultTopic()));
    }
}
BENCHMARK(BM_OpenCourseFile)->Unit(benchmark::kMillisecond);

void BM_OpenCourseAndShowFirstPage(benchmark::State &state)
{
    const QString path = coursePath();
    for (auto _ : state) {
        auto file = std::make_unique<vorlac::ChmFile>();
        if (!file->open(path))
            state.SkipWithError("course missing");
        vorlac::HelpViewer viewer(std::move(file));
        viewer.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(viewer.browser()->document()->pageCount());
    }
}
BENCHMARK(BM_OpenCourseAndShowFirstPage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return vorlac::runQtBenchmarks<QApplication>(argc, argv);
}
