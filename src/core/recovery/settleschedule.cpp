#include "recovery/settleschedule.h"

#include <algorithm>

namespace vorlac
{

qint64 SettleSchedule::change(qint64 now)
{
    m_last = now;
    if (m_armed)
        return -1; // a change costs no timer restart: expire() looks at the time of the last one
    m_armed = true;
    m_first = now;
    return std::min(m_quietMs, m_longestMs);
}

qint64 SettleSchedule::expire(qint64 now)
{
    const qint64 quietLeft = m_last + m_quietMs - now;
    const qint64 longestLeft = m_first + m_longestMs - now;
    if (quietLeft > 0 && longestLeft > 0)
        return std::min(quietLeft, longestLeft);
    m_armed = false;
    return 0;
}

} // namespace vorlac
