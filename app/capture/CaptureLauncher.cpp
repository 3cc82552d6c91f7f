#include "app/capture/CaptureLauncher.h"

#include "app/capture/CaptureCoordinator.h"
#include "app/editor/EditorWindow.h"
#include "app/platform/CaptureBackend.h"
#include "core/render/Exporter.h"
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
    // A capture written to a file runs from a script or a key binding with nobody to close an alert.
    if (!m_command.outputPath.isEmpty())
        m_coordinator->setFailureHandler([](const CaptureError& error) {
            std::fprintf(stderr, "lumivex: %s\n", qPrintable(error.description()));
        });
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
    if (!m_command.outputPath.isEmpty()) {
        if (const std::optional<ExportError> error = Exporter::writeImage(result.image, result.scale, m_command.outputPath))
            std::fprintf(stderr, "lumivex: %s %s\n", qPrintable(error->message()), qPrintable(error->detail()));
        else
            m_wroteOutput = true;
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
    if (!m_command.outputPath.isEmpty() && delivered) {
        QCoreApplication::exit(m_wroteOutput ? 0 : 1);
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
