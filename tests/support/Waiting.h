#pragma once
// Waiting in Qt Test programs for something that happens in the event loop,
// without fixed sleeps and with time-outs that a busy machine never reaches.
#include <QDeadlineTimer>
#include <QTest>

namespace quillory::testing {

// Long enough for any busy machine to deliver a signal or end a short task.
inline constexpr int kGenerousMs = 20000;

// Waits until done() holds and tells whether it did within timeoutMs. Each
// round handles every pending event, as the QTRY_ macros do; QTest::qWaitFor
// handles one batch per 10 ms sleep, far too slow for Qt WebEngine's traffic.
template <typename Predicate> bool WaitFor(Predicate done, int timeoutMs = kGenerousMs) {
    for (QDeadlineTimer deadline(timeoutMs); !done(); QTest::qWait(10)) {
        if (deadline.hasExpired())
            return false;
    }
    return true;
}

} // namespace quillory::testing
