#pragma once

#include "core/document/LoadedImage.h"

#include <QMainWindow>
#include <QSize>

namespace lumivex {

class CanvasView;
class EditorCommands;
class EditorDocument;
struct Rect;

// One editor window for one image: it owns the document, shows it in the canvas and owns the editor's commands
// (undo, redo, copy, paste, delete, select all) as actions. The Edit menu shows them; Undo and Redo name the
// step they undo or redo.
class EditorWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit EditorWindow(const LoadedImage& loaded, QWidget* parent = nullptr);
    ~EditorWindow() override;

    EditorDocument& document() const { return *m_document; }
    CanvasView& canvas() const { return *m_canvas; }
    const EditorCommands& commands() const { return *m_commands; }

    // The first size of a window for a canvas of that many pixels: room for the picture at its point size plus
    // the panels around it, never smaller than 920 x 520 nor larger than `available`.
    static QSize initialSize(QSizeF canvasPixels, double pixelScale, QSize available);

    // Copies the finished picture to the clipboard; beeps when that fails.
    void copy();
    // Adds the clipboard's image as a sticker; beeps when there is none.
    void paste();

    // A short message under the canvas; cleared after `milliseconds` unless another one replaced it.
    void flash(const QString& message, int milliseconds = 2000);

private:
    void buildMenus();

    EditorDocument* m_document = nullptr; // owned as a child
    CanvasView* m_canvas = nullptr;
    EditorCommands* m_commands = nullptr; // owned as a child
};

} // namespace lumivex
