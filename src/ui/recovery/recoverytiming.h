#pragma once

namespace vorlac
{

// When the unsaved work is written (see SettleSchedule).
struct RecoveryTiming {
    int quietMs = 1000;   // this long after the last change...
    int longestMs = 1500; // ...or this long after the first change not yet written, so that
                          // typing or a drag that never pauses is on the disk within 2 s
};

} // namespace vorlac
