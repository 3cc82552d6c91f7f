#include "app/editor/EditorWindow.h"

#include "app/editor/CanvasView.h"
#include "app/editor/EditorCommands.h"
#include "core/document/EditorDocument.h"
#include "core/model/StickerSource.h"
#include "core/render/DocumentOutput.h"
#include "core/render/Exporter.h"
#include "core/render/ImageLoading.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
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
    setCentralWidget(m_canvas);
    m_commands = new EditorCommands(*this, *m_document, *m_canvas);
    buildMenus();

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
    edit->addActions({m_commands->undo(), m_commands->redo()});
    edit->addSeparator();
    edit->addActions({m_commands->copy(), m_commands->paste(), m_commands->remove(), m_commands->selectAll()});
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

void EditorWindow::paste()
{
    const auto loaded = ImageLoading::load(QGuiApplication::clipboard());
    if (!loaded) {
        QApplication::beep();
        return;
    }
    m_document->addSticker(StickerSource::image(StickerImage::make(loaded->image, loaded->name)));
}

void EditorWindow::flash(const QString& message, int milliseconds)
{
    statusBar()->showMessage(message, milliseconds);
}

} // namespace lumivex
