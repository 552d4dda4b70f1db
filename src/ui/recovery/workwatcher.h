#pragma once

#include "recovery/settleschedule.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace vorlac
{

// Turns the change notifications of the program's parts into one "the work has settled"
// signal, when the SettleSchedule says so: `quietMs` after the last change, or at the latest
// `longestMs` after the first one not yet written (typing or a lamp drag that never pauses).
// A change costs a clock read and no timer restart, so it can follow every mouse move.
//
// A new source of changes is one line: watcher.watch(sender, &Sender::itsSignal).
class WorkWatcher : public QObject
{
    Q_OBJECT
  public:
    WorkWatcher(int quietMs, int longestMs, QObject *parent = nullptr);

    template <typename Sender, typename Signal> void watch(const Sender *sender, Signal signal)
    {
        connect(sender, signal, this, &WorkWatcher::noteChange);
    }

    void noteChange();
    // While suspended (the work is being replaced as a whole) changes are not noted.
    void setSuspended(bool suspended) { m_suspended = suspended; }
    bool pending() const { return m_timer.isActive(); }
    int quietMs() const { return m_schedule.quietMs(); }

  signals:
    void settled();

  private:
    void check();

    SettleSchedule m_schedule;
    bool m_suspended = false;
    QTimer m_timer;
    QElapsedTimer m_clock;
};

} // namespace vorlac
