// Start-up probe for bench/startup.sh: starts as the program does (or, with "plain", as a plain
// Qt window of the same size) and prints the wall-clock time, in nanoseconds since the epoch,
// at which the window's first frame was painted and handed to the display; then it ends.
#include "window/programsetup.h"
#include "window/vorlacwindow.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <memory>

namespace
{

// The first paint of the top-level window: the frame is flushed when the paint returns to the
// event loop, so the time is taken by a zero timer queued from inside it.
class FirstFrame : public QObject
{
  public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, watched, [] {
                timespec now{};
                clock_gettime(CLOCK_REALTIME, &now);
                std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

  private:
    bool m_seen = false;
};

} // namespace

int main(int argc, char **argv)
{
    const bool plain = argc > 1 && qstrcmp(argv[1], "plain") == 0;
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> window;
    if (plain) {
        window = std::make_unique<QWidget>();
        window->resize(786, 571);
        window->setWindowState(Qt::WindowMaximized);
    } else {
        vorlac::prepareApplication(app);
        window = std::make_unique<vorlac::Vorlac>();
    }
    FirstFrame first;
    window->installEventFilter(&first);
    window->show();
    return app.exec();
}
