#include "app/shell/Application.h"

#include "app/capture/CaptureCoordinator.h"
#include "app/design/Appearance.h"
#include "app/editor/DropHelper.h"
#include "app/editor/EditorWindow.h"
#include "app/hotkeys/HotKeyCenter.h"
#include "app/hotkeys/HotKeyLaunchWarning.h"
#include "app/platform/HotKeyBackend.h"
#include "app/platform/Platform.h"
#include "app/shell/CaptureFlow.h"
#include "app/shell/InstanceService.h"
#include "app/shell/LaunchRequest.h"
#include "app/shell/LoginItem.h"
#include "app/shell/MainMenu.h"
#include "app/shell/Relaunch.h"
#include "app/shell/StatusMenu.h"
#include "app/windows/SettingsWindow.h"
#include "app/windows/StartWindow.h"
#include "core/document/EditorDocument.h"
#include "core/render/Exporter.h"
#include "core/render/FileNaming.h"
#include "core/render/ImageLoading.h"
#include "core/settings/CaptureSettings.h"
#include "core/settings/KeyValueStore.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDialog>
#include <QMainWindow>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QIcon>
#include <QImageReader>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cstdio>

// The application icon lives in this static library; nothing else would pull its resources into the program.
static void initApplicationResources()
{
    Q_INIT_RESOURCE(app);
}

namespace lumivex {

namespace {

constexpr char loginItemConfiguredKey[] = "lumivex.loginItemConfigured";

// The windows and dialogs the user sees; not the tray icon's own embedded widget or open menus.
QList<QWidget*> visibleWindows()
{
    QList<QWidget*> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && (qobject_cast<QMainWindow*>(window) || qobject_cast<QDialog*>(window)))
            windows.append(window);
    }
    return windows;
}

QStringList localPaths(const QList<QUrl>& urls)
{
    QStringList paths;
    for (const QUrl& url : urls)
        paths.append(url.toLocalFile());
    return paths;
}

} // namespace

Application::Application(CaptureSettings& settings, std::unique_ptr<CaptureFlow> capture,
                         std::unique_ptr<HotKeyBackend> hotKeyBackend, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_capture(std::move(capture))
    , m_hotKeyBackend(std::move(hotKeyBackend))
{
    initApplicationResources();
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/app/lumivex.svg")));
}

Application::Application(CaptureSettings& settings, std::unique_ptr<CaptureFlow> capture, QObject* parent)
    : Application(settings, std::move(capture), HotKeyBackend::create(Platform::kind()), parent)
{
}

StartWindow* Application::startWindow() const
{
    return m_startWindow;
}

SettingsWindow* Application::settingsWindow() const
{
    return m_settingsWindow;
}

Application::~Application()
{
    for (const QPointer<EditorWindow>& editor : m_editors)
        delete editor.data();
    delete m_startWindow.data();
    delete m_settingsWindow.data();
    delete m_trayMenu;
}

void Application::launch(const LaunchRequest& request)
{
    followAppearance();
    configureLoginItemOnce();
    m_settings.importXnapperSettingsOnce(nullptr); // no other tool's store exists on Linux
    m_capture->setPresenter([this](const CaptureResult& result) { presentCapture(result); });
    const QPointer<Application> self(this);
    auto handler = [self](HotKeyAction action) {
        if (self)
            self->runHotKey(action);
    };
    m_hotKeys = new HotKeyCenter(m_settings, std::move(m_hotKeyBackend), handler, this);
    createTray();

    const bool opened = open(request.files);
    if (request.capture)
        m_capture->start(request.capture->kind);
    if (request.openClipboard)
        openFromClipboard();
    if (!request.loginItem && !opened && !request.capture && !request.openClipboard)
        showWelcome();
    QTimer::singleShot(0, this, &Application::warnAboutFailedHotKeys);
}

bool Application::serveOn(const QDBusConnection& bus)
{
    const QPointer<Application> self(this);
    InstanceService::Handlers handlers;
    handlers.capture = [self](CaptureCommand::Kind kind) {
        if (self)
            self->m_capture->start(kind);
    };
    handlers.openClipboard = [self] {
        if (self)
            self->openFromClipboard();
    };
    handlers.openFiles = [self](const QStringList& paths) {
        if (self && !self->open(paths))
            self->reopen(); // nothing loaded: at least show the user where they are
    };
    handlers.showStartWindow = [self] {
        if (self)
            self->reopen();
    };
    handlers.captureTo = [self](const CaptureCommand& command, std::function<void(const QString&)> done) {
        if (self)
            self->m_capture->runForwarded(command, std::move(done));
        else
            done(QStringLiteral("Lumivex is quitting"));
    };
    m_instance = new InstanceService(std::move(handlers), this);
    if (m_instance->claim(bus))
        return true;
    delete m_instance;
    m_instance = nullptr;
    return false;
}

void Application::followAppearance()
{
    const auto apply = [this] {
        switch (m_settings.appearanceMode()) {
        case AppearanceMode::system:
            Appearance::instance().setOverride(std::nullopt);
            break;
        case AppearanceMode::light:
            Appearance::instance().setOverride(ColorScheme::light);
            break;
        case AppearanceMode::dark:
            Appearance::instance().setOverride(ColorScheme::dark);
            break;
        }
    };
    apply();
    connect(&m_settings, &CaptureSettings::changed, this, apply);
}

void Application::configureLoginItemOnce()
{
    KeyValueStore& store = m_settings.defaults();
    if (store.boolValue(QLatin1String(loginItemConfiguredKey)))
        return;
    LoginItem::set(true, LoginItem::currentProgram()); // a failure leaves it off; the user can switch it on
    store.setBool(QLatin1String(loginItemConfiguredKey), true);
}

void Application::createTray()
{
    m_trayMenu = new QMenu();
    connect(m_trayMenu, &QMenu::aboutToShow, this, &Application::rebuildTrayMenu);
    rebuildTrayMenu();
    m_tray = new QSystemTrayIcon(QIcon(QStringLiteral(":/app/lumivex.svg")), this);
    m_tray->setToolTip(QStringLiteral("Lumivex"));
    m_tray->setContextMenu(m_trayMenu);
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
            reopen();
    });
    m_tray->show();
}

void Application::rebuildTrayMenu()
{
    StatusMenu::rebuild(*m_trayMenu, m_settings,
                        {[this](HotKeyAction action) { runHotKey(action); }, [this] { openFile(); },
                         [this] { showSettings(); }, [this] { showWelcome(); }, [this] { quit(); }});
}

void Application::installMenus(QMainWindow& window)
{
    MainMenu::Actions actions;
    actions.showSettings = [this] { showSettings(); };
    actions.sendToBackground = [this] { sendToBackground(); };
    actions.captureArea = [this] { captureArea(); };
    actions.captureWindow = [this] { captureWindow(); };
    actions.captureFullScreen = [this] { captureFullScreen(); };
    actions.openFromClipboard = [this] { openFromClipboard(); };
    actions.openFile = [this] { openFile(); };
    MainMenu::install(window, actions);
}

void Application::acceptDrops(QWidget& window)
{
    window.setAcceptDrops(true);
    window.installEventFilter(this);
}

bool Application::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!DropHelper::fileUrls(drag->mimeData()).isEmpty()) {
            drag->acceptProposedAction();
            return true;
        }
    } else if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList paths = localPaths(DropHelper::fileUrls(drop->mimeData()));
        if (!paths.isEmpty()) {
            drop->acceptProposedAction();
            // Opened after the drop has finished, so the source is not kept waiting on image decoding.
            QTimer::singleShot(0, this, [this, paths] { open(paths); });
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void Application::captureArea()
{
    m_capture->start(CaptureCommand::Kind::area);
}

void Application::captureWindow()
{
    m_capture->start(CaptureCommand::Kind::window);
}

void Application::captureFullScreen()
{
    m_capture->start(CaptureCommand::Kind::fullscreen);
}

void Application::runHotKey(HotKeyAction action)
{
    switch (action) {
    case HotKeyAction::area:
        captureArea();
        break;
    case HotKeyAction::window:
        captureWindow();
        break;
    case HotKeyAction::fullScreen:
        captureFullScreen();
        break;
    case HotKeyAction::clipboard:
        openFromClipboard();
        break;
    }
}

void Application::openFromClipboard()
{
    const std::optional<LoadedImage> image = ImageLoading::load(QGuiApplication::clipboard());
    if (!image) {
        QApplication::beep();
        alert(tr("클립보드에 이미지가 없습니다"), tr("스크린샷을 클립보드로 복사한 뒤 다시 시도하세요."));
        return;
    }
    LoadedImage named = *image;
    named.name = FileNaming::captureName(QDateTime::currentDateTime());
    present(named);
}

void Application::openFile()
{
    auto* dialog = new QFileDialog(nullptr, tr("파일 열기…"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFiles);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns.append(QStringLiteral("*.") + QString::fromLatin1(format));
    dialog->setNameFilters({tr("이미지 (%1)").arg(patterns.join(QLatin1Char(' '))), tr("모든 파일 (*)")});
    connect(dialog, &QFileDialog::filesSelected, this, [this](const QStringList& files) { open(files); });
    Appearance::instance().style(dialog);
    // Not modal to anything: shortcuts and other windows keep working while it is up.
    dialog->show();
    bringToFront(*dialog);
}

bool Application::open(const QStringList& paths)
{
    bool opened = false;
    for (const QString& path : paths) {
        const ImageLoading::LoadResult loaded = ImageLoading::loadFile(path);
        if (const auto* error = std::get_if<LoadError>(&loaded)) {
            std::fprintf(stderr, "lumivex: %s %s\n", qPrintable(error->message()), qPrintable(error->detail()));
            continue;
        }
        present(std::get<LoadedImage>(loaded));
        opened = true;
    }
    return opened;
}

EditorWindow* Application::present(const LoadedImage& image)
{
    if (m_startWindow)
        m_startWindow->close();
    auto* editor = new EditorWindow(image);
    installMenus(*editor);
    acceptDrops(*editor);
    m_editors.append(editor);
    connect(editor, &QObject::destroyed, this, [this] { m_editors.removeAll(nullptr); });
    editor->show();
    bringToFront(*editor);
    // The text in the picture is read in the background from the start, so copying it later is instant.
    editor->document().scanText();
    return editor;
}

void Application::presentCapture(const CaptureResult& result)
{
    if (m_settings.autoCopyAfterCapture())
        Exporter::copyToPasteboard(result.image, result.scale, QGuiApplication::clipboard());
    present(LoadedImage{result.image, result.scale, FileNaming::captureName(QDateTime::currentDateTime())});
}

QList<EditorWindow*> Application::editors() const
{
    QList<EditorWindow*> list;
    for (const QPointer<EditorWindow>& editor : m_editors) {
        if (editor)
            list.append(editor);
    }
    return list;
}

EditorWindow* Application::frontEditor() const
{
    for (EditorWindow* editor : editors()) {
        if (editor->isActiveWindow())
            return editor;
    }
    return nullptr;
}

void Application::showSettings()
{
    if (!m_settingsWindow) {
        SettingsWindow::Services services;
        services.loginItemEnabled = [] { return LoginItem::isEnabled(); };
        services.setLoginItem = [](bool enabled) { return LoginItem::set(enabled, LoginItem::currentProgram()); };
        services.relaunch = [this] { relaunch(); };
        services.settingsUrl = QUrl(); // X11 needs no permission; the portal has no settings page to open
        // X11 needs no permission; the portal asks at each capture, so there is nothing to grant beforehand.
        services.permissionGranted = [] { return true; };
        m_settingsWindow = new SettingsWindow(m_settings, *m_hotKeys, services);
        m_settingsWindow->setAttribute(Qt::WA_DeleteOnClose);
        installMenus(*m_settingsWindow);
        Appearance::instance().style(m_settingsWindow);
        m_settingsWindow->move(m_settingsWindow->screen()->availableGeometry().center() - m_settingsWindow->rect().center());
    }
    m_settingsWindow->show();
    bringToFront(*m_settingsWindow);
}

void Application::showWelcome()
{
    if (!m_startWindow) {
        StartWindow::Callbacks callbacks;
        callbacks.captureArea = [this] { captureArea(); };
        callbacks.captureFullScreen = [this] { captureFullScreen(); };
        callbacks.openClipboard = [this] { openFromClipboard(); };
        callbacks.openFile = [this] { openFile(); };
        callbacks.openFiles = [this](const QStringList& paths) { open(paths); };
        m_startWindow = new StartWindow(m_settings, callbacks);
        m_startWindow->setAttribute(Qt::WA_DeleteOnClose);
        installMenus(*m_startWindow);
        Appearance::instance().style(m_startWindow);
        m_startWindow->adjustSize();
        m_startWindow->move(m_startWindow->screen()->availableGeometry().center() - m_startWindow->rect().center());
    }
    m_startWindow->show();
    bringToFront(*m_startWindow);
}

void Application::reopen()
{
    bool shown = false;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        // Windows that Ctrl+Q hid come back; menus, the tray's own widgets and dialogs that ended stay away.
        const bool ours = qobject_cast<EditorWindow*>(window) || window == m_startWindow || window == m_settingsWindow;
        if (!ours)
            continue;
        if (window->isHidden())
            window->show();
        shown = true;
        bringToFront(*window);
    }
    if (!shown)
        showWelcome();
}

void Application::sendToBackground()
{
    for (QWidget* window : visibleWindows())
        window->hide();
}

void Application::quit(int exitCode)
{
    if (m_quitting)
        return;
    m_quitting = true;
    if (m_tray)
        m_tray->hide();
    // Closing (not deleting) gives every window the chance its owner expects; what is copied stays on the
    // clipboard until the application object hands it over.
    for (QWidget* window : visibleWindows())
        window->close();
    QCoreApplication::exit(exitCode);
}

void Application::relaunch()
{
    if (!Relaunch::startHelper())
        std::fprintf(stderr, "lumivex: could not start /bin/sh to relaunch\n");
    quit();
}

void Application::warnAboutFailedHotKeys()
{
    const std::optional<HotKeyLaunchWarning> warning = HotKeyLaunchWarning::build(m_hotKeys->failed(), m_settings);
    if (!warning)
        return;
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Lumivex"), warning->message);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setInformativeText(warning->informativeText);
    QPushButton* settings = box->addButton(warning->openSettingsButton, QMessageBox::AcceptRole);
    box->addButton(warning->closeButton, QMessageBox::RejectRole);
    connect(settings, &QPushButton::clicked, this, &Application::showSettings);
    Appearance::instance().style(box);
    box->show();
    Q_EMIT alerted(warning->message);
}

void Application::alert(const QString& message, const QString& informativeText)
{
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Lumivex"), message, QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setInformativeText(informativeText);
    Appearance::instance().style(box);
    box->show();
    bringToFront(*box);
    Q_EMIT alerted(message);
}

void Application::bringToFront(QWidget& window)
{
    window.raise();
    window.activateWindow();
}

} // namespace lumivex
