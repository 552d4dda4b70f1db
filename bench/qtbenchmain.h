#pragma once

#include <QByteArray>
#include <benchmark/benchmark.h>

namespace vorlac
{

// The main of a benchmark that needs a Qt application object: App is QCoreApplication,
// QGuiApplication or QApplication; anything that paints runs on the offscreen platform.
template <typename App> int runQtBenchmarks(int argc, char **argv, bool offscreen = true)
{
    if (offscreen)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace vorlac
