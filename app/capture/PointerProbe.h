#pragma once

#include "app/platform/DisplayShot.h"
#include "core/geometry/Point.h"

#include <QList>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

namespace lumivex {

// Finds the pointer where the platform does not tell (Wayland tells it only to the window under it): covers
// every display with a window showing that display's frozen picture, undimmed, so nothing visibly changes, and
// waits until the pointer enters one of them. Gives up after the patience, counted from the moment every window
// has been painted (a busy compositor may take longer than that to map them), when the desktop has no pointer.
class PointerProbe : public QObject {
    Q_OBJECT

public:
    // The pointer in top-left global space, or nothing; called once, unless `context` is gone by then.
    using Found = std::function<void(std::optional<Point>)>;

    static void locate(const QList<DisplayShot>& shots, std::chrono::milliseconds patience, QObject* context,
                       Found found);

private:
    PointerProbe(const QList<DisplayShot>& shots, std::chrono::milliseconds patience, QObject* context, Found found);
    void report(std::optional<Point> pointer);
    void windowPainted();

    std::vector<std::unique_ptr<QWidget>> m_windows;
    QTimer m_patience;
    QTimer m_limit;
    std::chrono::milliseconds m_patienceLength;
    Found m_found;
    size_t m_painted = 0;
    bool m_reported = false;
};

} // namespace lumivex
