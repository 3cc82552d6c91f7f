#pragma once

#include "ChildProcess.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace lumivex::test {

// A private Wayland desktop from ../shared/wayland-stack: headless sway (pixman), its own session bus and the
// real xdg-desktop-portal with the wlroots and gtk backends (and the KDE one with kglobalaccel for global
// shortcuts). Started in the constructor, stopped in the destructor.
class WaylandStack {
public:
    struct Output {
        QSize size; // pixels
        int scale = 1;
    };
    // Outputs left to right, top-aligned; with global shortcuts the KDE portal backend and kglobalaccel run too.
    explicit WaylandStack(QList<Output> outputs = {{{1920, 1080}, 1}, {{1280, 720}, 2}}, bool globalShortcuts = false);
    ~WaylandStack();
    WaylandStack(const WaylandStack&) = delete;
    WaylandStack& operator=(const WaylandStack&) = delete;

    // Where the stack's scripts are; empty when this checkout has none beside it.
    static QString scriptsFolder();
    bool isRunning() const { return m_running; }
    QString errorString() const { return m_error; }

    // The caller's environment pointed at this desktop (Qt on Wayland, no X display), plus changes
    // ("NAME=value" sets, "NAME" removes).
    QStringList environmentList(const QStringList& changes = {}) const;
    QString value(const QString& name) const; // a variable of the stack's own environment
    ChildProcess::Result run(const QString& program, const QStringList& arguments, int timeoutMs = 20000) const;

    // Output n (from 0): its name and its place in the layout, in points.
    QString outputName(int index) const { return QStringLiteral("HEADLESS-%1").arg(index + 1); }
    QRect outputGeometry(int index) const;
    QSize layoutSize() const;

    // A window of vertical stripes filling output n, up on the screen when this returns true.
    bool showStripes(int output, const QList<QColor>& colors);
    // What the compositor shows on output n, at its own pixel size (grim -o).
    QImage grabOutput(int output) const;
    // Steps for vptr (abs X Y W H | down | up | sleep MS), with `abs` taking layout points.
    ChildProcess::Result pointer(const QStringList& steps) const;
    // A virtual pointer resting at a point until the returned process is stopped: without one the desktop has
    // no pointer at all, and no window learns where it is.
    std::unique_ptr<ChildProcess> holdPointer(QPoint at) const;
    QStringList pointerAt(QPoint at) const; // the abs step for that point
    // The outputs on which the process has a full-screen window, one entry per window (sway's tree).
    QStringList fullScreenOutputsOf(qint64 pid) const;

private:
    bool start();
    bool waitForStripes(int output, const QList<QColor>& colors) const;

    QList<Output> m_outputs;
    bool m_globalShortcuts;
    QTemporaryDir m_directory;
    QStringList m_environment;
    bool m_running = false;
    QString m_error;
    std::vector<std::unique_ptr<ChildProcess>> m_windows;
};

} // namespace lumivex::test
