#include "recovery/settleschedule.h"
#include "rowname.h"

#include <algorithm>

using namespace vorlac;

namespace
{

// Changes every `everyMs` for `forMs`, then none, on a simulated clock whose timer runs out
// exactly when it was armed for. A kill may come at any moment: the work written then must
// miss at most the last 2 s of changes.
struct SettleRow {
    const char *name;
    int everyMs, forMs;
    int mostWrites; // a write costs the disk a sync: not more often than needed
};
void PrintTo(const SettleRow &row, std::ostream *os)
{
    *os << row.name;
}

class Settling : public ::testing::TestWithParam<SettleRow>
{
};

TEST_P(Settling, LosesAtMostTwoSecondsAtAnyMoment)
{
    const SettleRow &row = GetParam();
    SettleSchedule schedule(1000, 1500);
    qint64 due = -1, unwrittenSince = -1, worst = 0;
    int writes = 0;
    for (qint64 now = 0; now <= row.forMs + 5000; ++now) {
        if (now == due) {
            const qint64 again = schedule.expire(now);
            due = again > 0 ? now + again : -1;
            if (again == 0) {
                ++writes;
                unwrittenSince = -1;
            }
        }
        if (now <= row.forMs && now % row.everyMs == 0) {
            if (const qint64 delay = schedule.change(now); delay >= 0)
                due = now + delay;
            if (unwrittenSince < 0)
                unwrittenSince = now;
        }
        if (unwrittenSince >= 0)
            worst = std::max(worst, now - unwrittenSince);
    }
    EXPECT_LE(worst, 2000);
    EXPECT_GE(writes, 1);
    EXPECT_LE(writes, row.mostWrites);
    EXPECT_FALSE(schedule.armed());
}

INSTANTIATE_TEST_SUITE_P(Rows, Settling,
                         ::testing::Values(SettleRow{"TypingFor15s", 120, 15000, 15},
                                           SettleRow{"LampDragFor15s", 16, 15000, 15},
                                           SettleRow{"OneBurst", 10, 300, 1}, SettleRow{"OneChange", 1000, 0, 1}),
                         RowName());

} // namespace
