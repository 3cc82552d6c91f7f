#pragma once

#include "app/editor/Scheduler.h"

#include <QPointer>

#include <algorithm>
#include <vector>

namespace lumivex::test {

// Delayed tasks that run only when the test moves time on, in the order they fall due.
class ManualScheduler : public Scheduler {
public:
    void after(std::chrono::milliseconds delay, QObject* context, std::function<void()> task) override
    {
        m_tasks.push_back({m_now + delay, m_sequence++, context, std::move(task)});
    }

    void advance(std::chrono::milliseconds by)
    {
        const auto target = m_now + by;
        for (;;) {
            const auto next = std::min_element(m_tasks.begin(), m_tasks.end(), [](const Task& a, const Task& b) {
                return a.due != b.due ? a.due < b.due : a.sequence < b.sequence;
            });
            if (next == m_tasks.end() || next->due > target)
                break;
            Task task = std::move(*next);
            m_tasks.erase(next);
            m_now = task.due;
            if (task.context)
                task.run();
        }
        m_now = target;
    }

    std::size_t pending() const { return m_tasks.size(); }

private:
    struct Task {
        std::chrono::milliseconds due;
        quint64 sequence;
        QPointer<QObject> context;
        std::function<void()> run;
    };
    std::chrono::milliseconds m_now{0};
    quint64 m_sequence = 0;
    std::vector<Task> m_tasks;
};

} // namespace lumivex::test
