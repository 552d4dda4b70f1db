// One lamp key step as the pupil makes it: the key event to the lamp, the scene's redraw, and the
// view's finished frame (painted at once), for each source. The white-light release, which
// redraws the 401 rays, is measured with the picture at ratio 2 in bench_render.
#include "model/scenestate.h"
#include "panels/measurepanel.h"
#include "projection/magnifiercommands.h"
#include "projection/magnifierwindow.h"
#include "projection/projectioncommands.h"
#include "projection/projectionwindow.h"
#include "qtbenchmain.h"
#include "scene/figureoptions.h"
#include "scene/scenecontroller.h"
#include "scene/sceneframe.h"
#include "scene/sceneview.h"
#include "window/vorlacwindow.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>

using namespace vorlac;

namespace
{

void BM_LampKeyStep(benchmark::State &st)
{
    VorlacEnvironment env;
    env.programDirectory = QDir::tempPath() + QStringLiteral("/");
    env.messenger.show = [](auto &&...) { return QMessageBox::Ok; };
    Vorlac window(env);
    window.show();
    window.controller().setSource(static_cast<SourceType>(st.range(0)));
    SceneView *view = window.sceneFrame().view();
    QWidget *lamp = view->lamp();
    QApplication::processEvents();
    int i = 0;
    for (auto _ : st) {
        // Right and left in turn, so the lamp stays where the pupil works.
        const int key = (i++ & 1) ? Qt::Key_Left : Qt::Key_Right;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(lamp, &press);
        view->repaint();
    }
    st.SetLabel(st.range(0) == 0 ? "monochromatic" : st.range(0) == 1 ? "five radiations" : "white light (preview)");
}
BENCHMARK(BM_LampKeyStep)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// The same step with every view of the figure open: the projection (1280 x 1024 here), the
// magnifier, the measurements panel and the angle marks, each painted in the step. The budget is
// 1 ms.
void BM_LampKeyStepEveryView(benchmark::State &st)
{
    VorlacEnvironment env;
    env.programDirectory = QDir::tempPath() + QStringLiteral("/");
    env.messenger.show = [](auto &&...) { return QMessageBox::Ok; };
    Vorlac window(env);
    window.show();
    window.controller().setSource(static_cast<SourceType>(st.range(0)));
    window.projection().toggle();
    window.magnifier().action()->trigger();
    window.measurePanel().show();
    window.figureOptions().setAngleMarks(true);
    SceneView *view = window.sceneFrame().view();
    QWidget *lamp = view->lamp();
    QApplication::processEvents();
    int i = 0;
    for (auto _ : st) {
        const int key = (i++ & 1) ? Qt::Key_Left : Qt::Key_Right;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(lamp, &press);
        view->repaint();
        window.projection().window()->repaint();
        window.magnifier().window()->repaint();
        window.measurePanel().repaint();
    }
    window.figureOptions().setAngleMarks(false);
    st.SetLabel(st.range(0) == 0 ? "monochromatic" : st.range(0) == 1 ? "five radiations" : "white light (preview)");
}
BENCHMARK(BM_LampKeyStepEveryView)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return runQtBenchmarks<QApplication>(argc, argv);
}
