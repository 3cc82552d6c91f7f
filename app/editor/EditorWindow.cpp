#include "app/editor/EditorWindow.h"

#include "app/design/Appearance.h"
#include "app/editor/CanvasView.h"
#include "app/editor/EditorCommands.h"
#include "app/editor/EditorView.h"
#include "core/document/EditorDocument.h"
#include "core/model/FaceCover.h"
#include "core/model/StickerSource.h"
#include "core/render/DocumentOutput.h"
#include "core/render/Exporter.h"
#include "core/render/FileNaming.h"
#include "core/render/ImageLoading.h"
#include "core/settings/CaptureSettings.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QThreadPool>

#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cmath>

namespace lumivex {

namespace {

// Room the toolbar and the inspector take around the picture, in points.
constexpr double kPanelWidth = 339;
constexpr double kPanelHeight = 115;

QRect availableGeometry()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QSize availableArea()
{
    const QRect available = availableGeometry();
    if (available.isEmpty())
        return {1224, 765};
    return (QSizeF(available.size()) * 0.85).toSize();
}

// Shared by every editor window of the process, like the windows' stacking.
std::optional<QPoint>& cascadePoint()
{
    static std::optional<QPoint> point;
    return point;
}

// Face detection gets a thread of its own: its tile passes fill the global pool, and waiting for them from a
// thread of that same pool would hold one of its two or four threads idle.
QThreadPool& faceDetectionPool()
{
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool;
        p->setMaxThreadCount(1);
        return p;
    }();
    return *pool;
}

bool isImageSuffix(const QString& suffix)
{
    const QString s = suffix.toLower();
    return s == QLatin1String("png") || s == QLatin1String("jpg") || s == QLatin1String("jpeg");
}

} // namespace

EditorWindow::EditorWindow(const LoadedImage& loaded, QWidget* parent)
    : EditorWindow(loaded, Environment{}, parent)
{
}

EditorWindow::EditorWindow(const LoadedImage& loaded, Environment environment, QWidget* parent)
    : QMainWindow(parent)
    , m_environment(std::move(environment))
    , m_scheduler(m_environment.scheduler ? *m_environment.scheduler : Scheduler::system())
    , m_document(new EditorDocument(loaded, this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(m_document->name());
    setMinimumSize(900, 480);

    // Every callback holds the window weakly: the layout may outlive a closing window by a turn of the loop.
    const QPointer<EditorWindow> self(this);
    EditorView::Callbacks callbacks;
    callbacks.onSave = [self] {
        if (self)
            self->save();
    };
    callbacks.onCopy = [self] {
        if (self)
            self->copy();
    };
    callbacks.onCopyText = [self](const std::optional<Rect>& region) {
        if (self)
            self->copyText(region);
    };
    callbacks.onCoverFaces = [self](const FaceCover& cover) {
        if (self)
            self->coverFaces(cover);
    };
    callbacks.onDropURLs = [self](const QList<QUrl>& urls) {
        if (self)
            Q_EMIT self->filesDropped(urls);
    };
    m_view = new EditorView(*m_document, std::move(callbacks), m_scheduler, m_environment.stores);
    setCentralWidget(m_view);
    m_commands = new EditorCommands(*this, *m_document, canvas());
    buildMenus();
    Appearance::instance().style(this);

    const Rect canvasRect = m_document->state().canvasRect();
    resize(initialSize(QSizeF(canvasRect.width, canvasRect.height), m_document->pixelScale(), availableArea()));
    place();
    canvas().setFocus();
}

EditorWindow::~EditorWindow() = default;

CanvasView& EditorWindow::canvas() const
{
    return *m_view->canvas();
}

QString EditorWindow::subtitle() const
{
    return m_view->subtitle();
}

QSize EditorWindow::initialSize(QSizeF canvasPixels, double pixelScale, QSize available)
{
    const double scale = std::isfinite(pixelScale) && pixelScale > 0 ? pixelScale : 1.0;
    const auto fit = [](double wanted, double minimum, int maximum) {
        const double size = std::isfinite(wanted) ? std::max(wanted, minimum) : minimum;
        return int(std::lround(std::min(size, double(maximum))));
    };
    return {fit(canvasPixels.width() / scale + kPanelWidth, 920, available.width()),
            fit(canvasPixels.height() / scale + kPanelHeight, 520, available.height())};
}

EditorWindow::Placement EditorWindow::cascade(const QRect& frame, const std::optional<QPoint>& from,
                                              const QRect& available)
{
    QPoint topLeft = from.value_or(frame.topLeft());
    const QRect moved(topLeft, frame.size());
    if (from && !available.isEmpty() && !available.contains(moved))
        topLeft = available.topLeft();
    return {topLeft, topLeft + QPoint(cascadeStep, cascadeStep)};
}

void EditorWindow::place()
{
    const QRect available = availableGeometry();
    if (available.isEmpty())
        return;
    QRect frame(QPoint(), size());
    frame.moveCenter(available.center());
    const Placement placement = cascade(frame, cascadePoint(), available);
    move(placement.topLeft);
    cascadePoint() = placement.next;
}

void EditorWindow::buildMenus()
{
    QMenu* file = menuBar()->addMenu(tr("파일"));
    file->addAction(m_commands->save());
    QMenu* edit = menuBar()->addMenu(tr("편집"));
    edit->addActions({m_commands->undo(), m_commands->redo()});
    edit->addSeparator();
    edit->addActions({m_commands->copy(), m_commands->paste(), m_commands->remove(), m_commands->selectAll()});
    edit->addSeparator();
    edit->addAction(m_commands->copyAllText());
}

void EditorWindow::flash(const QString& message, std::optional<std::chrono::milliseconds> duration)
{
    const quint64 generation = ++m_flashGeneration;
    m_view->setSubtitle(message);
    if (!duration)
        return;
    m_scheduler.after(*duration, this, [this, generation] {
        if (m_flashGeneration == generation)
            m_view->setSubtitle(QString());
    });
}

void EditorWindow::copy()
{
    const auto image = DocumentOutput::renderFinalImage(*m_document);
    if (!image || !Exporter::copyToPasteboard(*image, m_document->pixelScale(), QGuiApplication::clipboard())) {
        QApplication::beep();
        return;
    }
    QString message = tr("클립보드에 복사됨");
    const QDateTime now = m_environment.now ? m_environment.now() : QDateTime::currentDateTime();
    if (const auto saved = m_environment.stores.captureSettings().autoSave(*image, m_document->pixelScale(), now))
        message = tr("클립보드에 복사됨 · %1 저장").arg(QFileInfo(*saved).fileName());
    flash(message);
    if (m_environment.stores.captureSettings().closeAfterCopy())
        m_scheduler.after(closeAfterCopyDelay, this, [this] { close(); });
}

void EditorWindow::save()
{
    // A dialog over this window only, so other editor windows stay usable while it is open.
    auto* dialog = new QFileDialog(this, tr("파일로 저장"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    const QString png = tr("PNG 이미지 (*.png)");
    const QString jpeg = tr("JPEG 이미지 (*.jpg *.jpeg)");
    dialog->setNameFilters({png, jpeg});
    dialog->setDefaultSuffix(QStringLiteral("png"));
    connect(dialog, &QFileDialog::filterSelected, dialog, [dialog, jpeg](const QString& filter) {
        dialog->setDefaultSuffix(filter == jpeg ? QStringLiteral("jpg") : QStringLiteral("png"));
    });
    if (const auto folder = m_environment.stores.captureSettings().usableSaveDirectory())
        dialog->setDirectory(*folder);
    dialog->selectFile(FileNaming::saveFileName(m_document->name(), QStringLiteral("png")));
    connect(dialog, &QFileDialog::fileSelected, this, [this, dialog](const QString& path) {
        // Only PNG and JPEG are written: any other ending gets the chosen format's, so the bytes always match
        // the name.
        QString target = path;
        if (!isImageSuffix(QFileInfo(target).suffix()))
            target += QLatin1Char('.') + dialog->defaultSuffix();
        writeTo(target);
    });
    dialog->open();
}

void EditorWindow::writeTo(QString path)
{
    if (const auto error = DocumentOutput::write(*m_document, path)) {
        showAlert(error->message(), error->detail());
        return;
    }
    flash(tr("저장됨 — %1").arg(QFileInfo(path).fileName()));
}

void EditorWindow::showAlert(const QString& message, const QString& detail)
{
    auto* alert = new QMessageBox(QMessageBox::Warning, windowTitle(), message, QMessageBox::Ok, this);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setWindowModality(Qt::WindowModal);
    alert->setInformativeText(detail);
    alert->open();
}

void EditorWindow::paste()
{
    const auto loaded = ImageLoading::load(QGuiApplication::clipboard());
    if (!loaded) {
        QApplication::beep();
        return;
    }
    m_document->addSticker(StickerSource::image(StickerImage::make(loaded->image, loaded->name)));
}

void EditorWindow::copyText(const std::optional<Rect>&)
{
    flash(tr("텍스트 인식은 아직 준비되지 않았습니다"));
}

void EditorWindow::coverFaces(const FaceCover& cover)
{
    // One search at a time: a second one would cover every face twice.
    if (m_coveringFaces) {
        QApplication::beep();
        return;
    }
    m_coveringFaces = true;
    m_document->setTool(Tool::select);
    const QImage image = m_document->state().image;
    auto detect = m_environment.detectFaces;
    if (!detect)
        detect = [](const QImage& picture) { return FaceDetector::detectFaces(picture, true); };
    const QPointer<EditorWindow> self(this);
    (void)QtConcurrent::run(&faceDetectionPool(), [self, image, detect = std::move(detect), cover] {
        const FaceDetector::Detection detection = detect(image);
        // Back on the main thread; a window closed in the meantime no longer wants the result.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, cover, detection] {
                if (self)
                    self->finishCovering(cover, detection);
            },
            Qt::QueuedConnection);
    });
}

void EditorWindow::finishCovering(const FaceCover& cover, const FaceDetector::Detection& detection)
{
    m_coveringFaces = false;
    if (detection.error) {
        showAlert(tr("얼굴을 찾지 못했습니다"), *detection.error);
        return;
    }
    if (detection.faces.empty()) {
        showAlert(tr("얼굴을 찾지 못했습니다"),
                  tr("옆모습·뒷모습·아주 작은 얼굴은 감지되지 않을 수 있습니다. 도형이나 블러 도구로 직접 가려 주세요."));
        return;
    }
    m_document->cover(detection.faces, cover);
    flash(tr("얼굴 %1개를 가렸습니다 — 놓친 얼굴은 직접 가려 주세요").arg(detection.faces.size()));
}

void EditorWindow::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        Q_EMIT closed(this);
}

} // namespace lumivex
