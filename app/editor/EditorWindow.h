#pragma once

#include "core/document/LoadedImage.h"

#include <QMainWindow>
#include <QSize>

class QAction;

namespace lumivex {

class CanvasView;
class EditorDocument;
struct Rect;

// One editor window for one image: it owns the document and shows it in the canvas. The Edit menu's Undo and
// Redo act on the document's history and name the step they undo or redo.
class EditorWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit EditorWindow(const LoadedImage& loaded, QWidget* parent = nullptr);
    ~EditorWindow() override;

    EditorDocument& document() const { return *m_document; }
    CanvasView& canvas() const { return *m_canvas; }
    QAction* undoAction() const { return m_undo; }
    QAction* redoAction() const { return m_redo; }

    // The first size of a window for a canvas of that many pixels: room for the picture at its point size plus
    // the panels around it, never smaller than 920 x 520 nor larger than `available`.
    static QSize initialSize(QSizeF canvasPixels, double pixelScale, QSize available);

    // Copies the finished picture to the clipboard (Ctrl+C on the canvas); beeps when that fails.
    void copy();

    // A short message under the canvas; cleared after `milliseconds` unless another one replaced it.
    void flash(const QString& message, int milliseconds = 2000);

private:
    void buildMenus();
    void refreshUndoActions();

    EditorDocument* m_document = nullptr; // owned as a child
    CanvasView* m_canvas = nullptr;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
};

} // namespace lumivex
