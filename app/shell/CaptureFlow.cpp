#include "app/shell/CaptureFlow.h"

#include "app/capture/CaptureCoordinator.h"
#include "app/capture/CaptureDelivery.h"
#include "app/editor/EditorWindow.h"
#include "app/platform/CaptureBackend.h"
#include "core/render/FileNaming.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace lumivex {

namespace {

bool anyEditorOpen()
{
    const QList<QWidget*> windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(),
                       [](QWidget* w) { return w->isVisible() && qobject_cast<EditorWindow*>(w); });
}

} // namespace

CaptureFlow::CaptureFlow(std::unique_ptr<CaptureBackend> backend, QObject* parent)
    : QObject(parent)
    , m_backend(std::move(backend))
    , m_coordinator(new CaptureCoordinator(*m_backend, this))
{
    connect(m_coordinator, &CaptureCoordinator::captured, this, &CaptureFlow::deliver);
    connect(m_coordinator, &CaptureCoordinator::failed, this, &CaptureFlow::report);
}

CaptureFlow::~CaptureFlow()
{
    delete m_coordinator;
}

void CaptureFlow::start(CaptureCommand::Kind kind)
{
    switch (kind) {
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
}

void CaptureFlow::runCommand(const CaptureCommand& command)
{
    m_command = command;
    connect(m_coordinator, &CaptureCoordinator::captureEnded, this, &CaptureFlow::endCommand,
            Qt::SingleShotConnection);
    QTimer::singleShot(0, this, [this] {
        if (const QString problem = CaptureDelivery::outputProblem(m_command); !problem.isEmpty()) {
            std::fprintf(stderr, "lumivex: %s\n", qPrintable(problem));
            QCoreApplication::exit(1);
            return;
        }
        start(m_command.kind);
    });
}

void CaptureFlow::runForwarded(const CaptureCommand& command, std::function<void(const QString&)> done)
{
    if (m_coordinator->isBusy()) {
        done(tr("다른 캡처가 진행 중입니다"));
        return;
    }
    if (const QString problem = CaptureDelivery::outputProblem(command); !problem.isEmpty()) {
        done(problem);
        return;
    }
    m_command = command;
    m_delivered = false;
    m_failure.clear();
    connect(m_coordinator, &CaptureCoordinator::captureEnded, this, [this, done](bool) {
        const QString failure = m_delivered ? QString() : (m_failure.isEmpty() ? tr("캡처가 취소되었습니다") : m_failure);
        // Later captures of this process open editors again.
        m_command = CaptureCommand();
        done(failure);
    }, Qt::SingleShotConnection);
    start(command.kind);
}

void CaptureFlow::deliver(const CaptureResult& result)
{
    if (!m_command.opensEditor()) {
        if (const QString failure = CaptureDelivery::deliver(m_command, result.image, result.scale); !failure.isEmpty()) {
            std::fprintf(stderr, "lumivex: %s\n", qPrintable(failure));
            m_failure = failure;
        } else {
            m_delivered = true;
        }
        return;
    }
    if (m_presenter) {
        m_presenter(result);
        return;
    }
    auto* editor = new EditorWindow(LoadedImage{result.image, result.scale,
                                                FileNaming::captureName(QDateTime::currentDateTime())});
    editor->show();
    editor->raise();
    editor->activateWindow();
    Q_EMIT editorOpened(editor);
}

void CaptureFlow::report(const CaptureError& error)
{
    // A capture written to a file or the clipboard runs from a script or a key binding, with nobody to close an
    // alert.
    if (!m_command.opensEditor()) {
        std::fprintf(stderr, "lumivex: %s\n", qPrintable(error.description()));
        m_failure = error.description();
        return;
    }
    // Capture texts keep the coordinator's translation context, where the translation tables have them.
    const bool permission = error.kind() == CaptureError::Kind::permissionDenied;
    auto* box = new QMessageBox(QMessageBox::Warning, QString(),
                                permission ? CaptureCoordinator::tr("화면 기록 권한이 필요합니다")
                                           : CaptureCoordinator::tr("캡처하지 못했습니다"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (!permission) {
        box->setInformativeText(error.description());
        box->addButton(QMessageBox::Ok);
    } else {
        box->setInformativeText(
            CaptureCoordinator::tr("데스크톱의 개인정보 보호 설정에서 Lumivex의 화면 캡처를 허용한 뒤, 다시 시도하세요."));
        if (const QUrl settingsUrl = m_backend->settingsUrl(); !settingsUrl.isEmpty()) {
            QPushButton* open = box->addButton(CaptureCoordinator::tr("시스템 설정 열기"), QMessageBox::AcceptRole);
            connect(open, &QPushButton::clicked, this, [settingsUrl] { QDesktopServices::openUrl(settingsUrl); });
        }
        box->addButton(CaptureCoordinator::tr("닫기"), QMessageBox::RejectRole);
    }
    // Shown without blocking: hot keys and other windows keep working while it is up.
    m_alert = box;
    box->open();
}

void CaptureFlow::endCommand(bool delivered)
{
    if (!m_command.opensEditor() && delivered) {
        if (m_command.toClipboard && m_delivered)
            CaptureDelivery::exitWhenClipboardTaken();
        else
            QCoreApplication::exit(m_delivered ? 0 : 1);
        return;
    }
    if (delivered || anyEditorOpen())
        return;
    // Nothing to show for the command: the application ends with 1, once the user has read why.
    if (m_alert)
        connect(m_alert, &QDialog::finished, qApp, [] { QCoreApplication::exit(1); });
    else
        QCoreApplication::exit(1);
}

} // namespace lumivex
