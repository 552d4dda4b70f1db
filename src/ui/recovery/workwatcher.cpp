#include "recovery/workwatcher.h"

namespace vorlac
{

WorkWatcher::WorkWatcher(int quietMs, int longestMs, QObject *parent) : QObject(parent), m_schedule(quietMs, longestMs)
{
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::CoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &WorkWatcher::check);
}

void WorkWatcher::noteChange()
{
    if (m_suspended)
        return;
    const qint64 delay = m_schedule.change(m_clock.elapsed());
    if (delay >= 0)
        m_timer.start(int(delay));
}

void WorkWatcher::check()
{
    const qint64 delay = m_schedule.expire(m_clock.elapsed());
    if (delay > 0) {
        // Changes went on: wait for the rest of the quiet time, never past the longest wait.
        m_timer.start(int(delay));
        return;
    }
    emit settled();
}

} // namespace vorlac
