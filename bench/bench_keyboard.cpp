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
#include <vector>

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

// Counts the paint events each view receives, so that the benchmark shows every view was painted
// in the step and nothing more.
class PaintCounter : public QObject
{
  public:
    explicit PaintCounter(std::initializer_list<QWidget *> views) : m_views(views), m_counts(views.size())
    {
        for (QWidget *w : m_views)
            w->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            for (std::size_t k = 0; k < m_views.size(); ++k)
                m_counts[k] += m_views[k] == watched;
        return false;
    }
    double count(std::size_t k) const { return double(m_counts[k]); }

  private:
    std::vector<QWidget *> m_views;
    std::vector<long> m_counts;
};

// The same step with every view of the figure open: the projection, the magnifier, the
// measurements panel and the angle marks. The frame is finished as the program finishes it: the
// updates the step asked for are painted at once, each view once (the counters show it). The
// budget is 1 ms.
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
    const PaintCounter painted{view, window.projection().window(), window.magnifier().window(), &window.measurePanel()};
    int i = 0;
    for (auto _ : st) {
        const int key = (i++ & 1) ? Qt::Key_Left : Qt::Key_Right;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(lamp, &press);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    }
    window.figureOptions().setAngleMarks(false);
    const char *names[] = {"scene paints", "projection paints", "magnifier paints", "panel paints"};
    for (std::size_t k = 0; k < std::size(names); ++k)
        st.counters[names[k]] = benchmark::Counter(painted.count(k), benchmark::Counter::kAvgIterations);
    st.SetLabel(st.range(0) == 0 ? "monochromatic" : st.range(0) == 1 ? "five radiations" : "white light (preview)");
}
BENCHMARK(BM_LampKeyStepEveryView)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return runQtBenchmarks<QApplication>(argc, argv);
}
