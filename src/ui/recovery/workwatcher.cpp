#include "recovery/workwatcher.h"

namespace vorlac
{

WorkWatcher::WorkWatcher(int quietMs, int longestMs, QObject *parent)
    : QObject(parent), m_quietMs(quietMs), m_longestMs(longestMs)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::CoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &WorkWatcher::check);
}

void WorkWatcher::noteChange()
{
    if (m_suspended)
        return;
    m_sinceLast.start();
    if (m_timer.isActive())
        return;
    m_sinceFirst.start();
    m_timer.start(m_quietMs);
}

void WorkWatcher::check()
{
    const qint64 quiet = m_sinceLast.elapsed();
    const qint64 waited = m_sinceFirst.elapsed();
    if (quiet < m_quietMs && waited < m_longestMs) {
        // Changes went on: wait for the rest of the quiet time, never past the longest wait.
        m_timer.start(int(qMin<qint64>(m_quietMs - quiet, m_longestMs - waited)));
        return;
    }
    emit settled();
}

} // namespace vorlac
