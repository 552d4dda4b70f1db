#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <functional>
#include <list>

// Answers the modal windows a test step opens and is its watchdog: while it lives it looks for
// modal windows every few milliseconds, runs the queued answer that expects each one, and closes
// (and fails the test on) a window nobody expected, one its answer left open, one still open
// after the timeout, and at its end any still open. An answer that never ran fails too.
// Watches nest: the newest one alive does the work (the one of a test, not its fixture's).
class DialogWatch
{
  public:
    explicit DialogWatch(std::chrono::milliseconds timeout = std::chrono::seconds(10)) : m_timeout(timeout)
    {
        m_marker.setObjectName(QStringLiteral("DialogWatch"));
        m_marker.setParent(qApp);
        m_timer.setSingleShot(true);
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }
    DialogWatch(const DialogWatch &) = delete;
    DialogWatch &operator=(const DialogWatch &) = delete;

    ~DialogWatch()
    {
        m_timer.stop();
        for (const Answer &a : m_answers)
            ADD_FAILURE() << "the dialog \"" << a.expected.toStdString() << "\" never opened";
        for (QWidget *w : modalWindows())
            fail(w, "is still open at the end of the step");
    }

    // fn answers the next modal window whose objectName or windowTitle is `expected` (any window
    // when it is empty); it must close that window. T: the class the window must be.
    template <typename T = QWidget, typename Fn> DialogWatch &answer(const QString &expected, Fn fn)
    {
        m_answers.push_back({expected, [fn](QWidget *w) {
                                 if (T *t = qobject_cast<T *>(w))
                                     fn(t);
                                 else
                                     ADD_FAILURE() << describe(w) << " is no " << T::staticMetaObject.className();
                             }});
        return *this;
    }

    // Lets the events run until every answer has run and no modal window is open, for dialogs
    // that open after the step's call has returned; gives up after the timeout.
    void wait()
    {
        (void)QTest::qWaitFor([this] { return m_answers.empty() && modalWindows().isEmpty(); }, int(m_timeout.count()));
    }

    static void close(QWidget *w)
    {
        if (auto *d = qobject_cast<QDialog *>(w))
            d->reject();
        if (w && w->isVisible())
            w->hide(); // a box without an escape button refuses reject(); hiding still ends its exec()
    }

    static std::string describe(const QWidget *w)
    {
        return "\"" + w->windowTitle().toStdString() + "\" (" + w->objectName().toStdString() + ")";
    }

  private:
    struct Answer {
        QString expected;
        std::function<void(QWidget *)> run;
    };
    struct Seen {
        QPointer<QWidget> window;
        QElapsedTimer since;
        bool busy = false, late = false;
    };

    // The topmost first.
    static QList<QWidget *> modalWindows()
    {
        QList<QWidget *> open;
        if (QWidget *top = QApplication::activeModalWidget())
            open << top;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->isModal() && !open.contains(w))
                open << w;
        return open;
    }

    static void fail(QWidget *w, const char *what)
    {
        ADD_FAILURE() << "the dialog " << describe(w) << " " << what;
        close(w);
    }

    void poll()
    {
        // A new timer each time: the running one would not fire inside a dialog an answer opens.
        m_timer.start();
        if (qApp->findChildren<QObject *>(m_marker.objectName(), Qt::FindDirectChildrenOnly).constLast() != &m_marker)
            return;
        const QList<QWidget *> open = modalWindows();
        m_seen.remove_if([&open](const Seen &s) { return !s.busy && !open.contains(s.window.data()); });
        for (QWidget *w : open) {
            auto s = std::find_if(m_seen.begin(), m_seen.end(), [w](const Seen &e) { return e.window == w; });
            if (s == m_seen.end()) {
                s = m_seen.insert(m_seen.end(), Seen{w, {}});
                handle(*s);
                if (!s->window || !s->window->isVisible())
                    m_seen.erase(s); // the same dialog may be opened again before the next look
                return;              // the answer may have changed what is open
            }
            if (!s->late && s->since.hasExpired(m_timeout.count())) {
                s->late = true;
                ADD_FAILURE() << "the dialog " << describe(w) << " was still open after " << m_timeout.count() << " ms";
                close(w);
            }
        }
    }

    void handle(Seen &seen)
    {
        seen.since.start();
        const QPointer<QWidget> w = seen.window;
        const auto a = std::find_if(m_answers.begin(), m_answers.end(), [&w](const Answer &e) {
            return e.expected.isEmpty() || e.expected == w->objectName() || e.expected == w->windowTitle();
        });
        if (a == m_answers.end())
            return fail(w, "opened unexpectedly");
        const Answer answer = *a;
        m_answers.erase(a);
        seen.busy = true; // list elements stay put while the answer's own dialogs come and go
        answer.run(w);
        seen.busy = false;
        if (w && w->isVisible() && !seen.late)
            fail(w, "stayed open after its answer");
    }

    std::chrono::milliseconds m_timeout;
    QObject m_marker; // among the application's children, in the order the watches were made
    QTimer m_timer;
    std::deque<Answer> m_answers;
    std::list<Seen> m_seen;
};
