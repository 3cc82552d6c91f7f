#include "app/editor/EditorWindow.h"

#include "app/editor/CanvasView.h"
#include "core/document/EditorDocument.h"
#include "core/render/DocumentOutput.h"
#include "core/render/Exporter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

#include <algorithm>
#include <cmath>

namespace lumivex {

namespace {

// Room the toolbar and the inspector take around the picture, in points.
constexpr double kPanelWidth = 339;
constexpr double kPanelHeight = 115;

QSize availableArea()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {1224, 765};
    return (QSizeF(screen->availableGeometry().size()) * 0.85).toSize();
}

} // namespace

EditorWindow::EditorWindow(const LoadedImage& loaded, QWidget* parent)
    : QMainWindow(parent)
    , m_document(new EditorDocument(loaded, this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(m_document->name());
    setMinimumSize(900, 480);

    m_canvas = new CanvasView(*m_document, [this](const Rect&) {
        flash(tr("텍스트 인식은 아직 준비되지 않았습니다"));
    });
    m_canvas->setCopyHandler([this] { copy(); });
    setCentralWidget(m_canvas);
    buildMenus();
    connect(m_document, &EditorDocument::undoStackChanged, this, &EditorWindow::refreshUndoActions);
    refreshUndoActions();

    const Rect canvasRect = m_document->state().canvasRect();
    resize(initialSize(QSizeF(canvasRect.width, canvasRect.height), m_document->pixelScale(), availableArea()));
}

EditorWindow::~EditorWindow() = default;

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

void EditorWindow::buildMenus()
{
    QMenu* edit = menuBar()->addMenu(tr("편집"));
    m_undo = edit->addAction(tr("실행 취소"));
    m_undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(m_undo, &QAction::triggered, m_document, &EditorDocument::undo);
    m_redo = edit->addAction(tr("다시 실행"));
    m_redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(m_redo, &QAction::triggered, m_document, &EditorDocument::redo);
}

void EditorWindow::refreshUndoActions()
{
    const auto named = [](const QString& command, const QString& step) {
        return step.isEmpty() ? command : command + QLatin1Char(' ') + step;
    };
    m_undo->setEnabled(m_document->canUndo());
    m_undo->setText(named(tr("실행 취소"), m_document->undoActionName()));
    m_redo->setEnabled(m_document->canRedo());
    m_redo->setText(named(tr("다시 실행"), m_document->redoActionName()));
}

void EditorWindow::copy()
{
    const auto image = DocumentOutput::renderFinalImage(*m_document);
    if (!image || !Exporter::copyToPasteboard(*image, m_document->pixelScale(), QGuiApplication::clipboard())) {
        QApplication::beep();
        return;
    }
    flash(tr("클립보드에 복사됨"));
}

void EditorWindow::flash(const QString& message, int milliseconds)
{
    statusBar()->showMessage(message, milliseconds);
}

} // namespace lumivex
