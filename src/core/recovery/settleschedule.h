#pragma once

#include <QtGlobal>

namespace vorlac
{

// When changes to the work count as settled, so that the work is written: `quietMs` after the
// last change, and never later than `longestMs` after the first change not yet written, so that
// changes that never pause (typing, a long drag) are still written every `longestMs`. Times are
// in milliseconds on any steady clock; the caller owns the timer.
class SettleSchedule
{
  public:
    SettleSchedule(int quietMs, int longestMs) : m_quietMs(quietMs), m_longestMs(longestMs) {}

    // A change at now. Returns the delay to arm the timer with, or -1 when it is armed already.
    qint64 change(qint64 now);
    // The timer armed by change() or by an earlier expire() ran out at now. Returns 0 when the
    // work has settled (the timer stays unarmed), else the delay to arm it with again.
    qint64 expire(qint64 now);

    bool armed() const { return m_armed; }
    int quietMs() const { return m_quietMs; }
    int longestMs() const { return m_longestMs; }

  private:
    int m_quietMs;
    int m_longestMs;
    bool m_armed = false;
    qint64 m_first = 0; // the first change not yet written
    qint64 m_last = 0;
};

} // namespace vorlac
