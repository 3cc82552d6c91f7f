#pragma once

#include <QObject>

#include <chrono>
#include <functional>

namespace lumivex {

// Runs short delayed tasks on the main thread: clearing a status message, closing after a copy, hiding a banner.
// Windows take one so that tests can move time by hand instead of sleeping.
class Scheduler {
public:
    virtual ~Scheduler() = default;

    // Runs `task` after `delay` on the main thread, unless `context` has been destroyed by then (the owner is held
    // weakly). A task that must not act after a newer event checks a generation number of its own.
    virtual void after(std::chrono::milliseconds delay, QObject* context, std::function<void()> task) = 0;

    // Qt's timers.
    static Scheduler& system();
};

} // namespace lumivex
