#include "app/editor/Scheduler.h"

#include <QTimer>

namespace lumivex {

namespace {

class SystemScheduler : public Scheduler {
public:
    void after(std::chrono::milliseconds delay, QObject* context, std::function<void()> task) override
    {
        QTimer::singleShot(delay, context, std::move(task));
    }
};

} // namespace

Scheduler& Scheduler::system()
{
    static SystemScheduler scheduler;
    return scheduler;
}

} // namespace lumivex
