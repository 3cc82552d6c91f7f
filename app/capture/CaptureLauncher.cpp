#include "app/capture/CaptureLauncher.h"

#include "app/capture/CaptureCoordinator.h"
#include "app/capture/CaptureDelivery.h"
#include "app/editor/EditorWindow.h"
#include "app/platform/CaptureBackend.h"
#include "core/render/FileNaming.h"

#include <QApplication>
#include <QDateTime>
#include <QTimer>
#include <QWidget>

#include <algorithm>

#include <cstdio>

namespace lumivex {

CaptureLauncher::CaptureLauncher(CaptureCommand command, QObject* parent)
    : QObject(parent)
    , m_command(std::move(command))
    , m_backend(CaptureBackend::create(Platform::kind()))
    , m_coordinator(new CaptureCoordinator(*m_backend, this))
{
    m_coordinator->setOnCaptured([this](const CaptureResult& result) { deliver(result); });
    connect(m_coordinator, &CaptureCoordinator::captureEnded, this, &CaptureLauncher::end);
}

CaptureLauncher::~CaptureLauncher()
{
    // The coordinator refers to the backend: it goes first.
    delete m_coordinator;
}

void CaptureLauncher::start()
{
    QTimer::singleShot(0, this, [this] {
        // Told before the overlay is up, so that no one picks an area that could not be saved.
        if (const QString problem = CaptureDelivery::outputProblem(m_command); !problem.isEmpty()) {
            std::fprintf(stderr, "lumivex: %s\n", qPrintable(problem));
            QCoreApplication::exit(1);
            return;
        }
        switch (m_command.kind) {
        case CaptureCommand::Kind::area:
            m_coordinator->startOverlay(CaptureSession::Mode::area);
            break;
        case CaptureCommand::Kind::window:
            m_coordinator->startOverlay(CaptureSession::Mode::window);
            break;
        case CaptureCommand::Kind::fullscreen:
            m_coordinator->captureFullScreen();
            break;
        }
    });
}

void CaptureLauncher::deliver(const CaptureResult& result)
{
    if (!m_command.opensEditor()) {
        if (const QString failure = CaptureDelivery::deliver(m_command, result.image, result.scale); !failure.isEmpty())
            std::fprintf(stderr, "lumivex: %s\n", qPrintable(failure));
        else
            m_delivered = true;
        return;
    }
    const LoadedImage loaded{result.image, result.scale, FileNaming::captureName(QDateTime::currentDateTime())};
    auto* editor = new EditorWindow(loaded);
    editor->show();
    editor->raise();
    editor->activateWindow();
}

void CaptureLauncher::end(bool delivered)
{
    if (!m_command.opensEditor() && delivered) {
        if (m_command.toClipboard && m_delivered)
            CaptureDelivery::exitWhenClipboardTaken();
        else
            QCoreApplication::exit(m_delivered ? 0 : 1);
        return;
    }
    if (!delivered && !anyWindowOpen())
        QCoreApplication::exit(1);
}

bool CaptureLauncher::anyWindowOpen()
{
    const QList<QWidget*> windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [](QWidget* w) { return w->isVisible(); });
}

} // namespace lumivex
