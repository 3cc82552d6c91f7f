#pragma once

#include "app/editor/EditorStores.h"
#include "app/editor/Scheduler.h"
#include "core/analysis/FaceDetector.h"
#include "core/document/LoadedImage.h"
#include "core/geometry/Rect.h"

#include <QDateTime>
#include <QList>
#include <QMainWindow>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QUrl>
#include <QUuid>

#include <chrono>
#include <functional>
#include <optional>

namespace lumivex {

class CanvasView;
class EditorCommands;
class EditorDocument;
class EditorView;
class FaceCover;

// One editor window for one image. It owns the document, hosts the editor's layout and carries out what the
// layout asks of the window: copy to the clipboard (saving and closing as the settings say), save to a file,
// cover faces, and short status messages ("flashes") in the line under the title. The Edit menu and the keys
// act on the same commands.
class EditorWindow : public QMainWindow {
    Q_OBJECT

public:
    // What the window takes from the outside world; tests replace the timers, the stores, the clock and the
    // detector. Empty members mean the real thing.
    struct Environment {
        Scheduler* scheduler = nullptr;
        EditorStores stores;
        std::function<QDateTime()> now;
        std::function<FaceDetector::Detection(const QImage&)> detectFaces;
    };

    explicit EditorWindow(const LoadedImage& loaded, QWidget* parent = nullptr);
    EditorWindow(const LoadedImage& loaded, Environment environment, QWidget* parent = nullptr);
    ~EditorWindow() override;

    EditorDocument& document() const { return *m_document; }
    EditorView& view() const { return *m_view; }
    CanvasView& canvas() const;
    const EditorCommands& commands() const { return *m_commands; }
    // The status line under the title; empty when there is nothing to say.
    QString subtitle() const;

    // The first size of a window for a canvas of that many pixels: room for the picture at its point size plus
    // the panels around it, never smaller than 920 x 520 nor larger than `available`.
    static QSize initialSize(QSizeF canvasPixels, double pixelScale, QSize available);
    // Where a window of `frame` goes when the previous one went to `from` (none for the first): the first stays
    // where it is, each next one steps down and right, and one that would leave `available` starts again at its
    // top left. Also gives the point for the window after it.
    struct Placement {
        QPoint topLeft;
        QPoint next;
    };
    static Placement cascade(const QRect& frame, const std::optional<QPoint>& from, const QRect& available);
    static constexpr int cascadeStep = 26;

    // Copies the finished picture to the clipboard, saves it when the settings ask for it and closes the window
    // afterwards when they say so. Beeps when there is nothing to copy or the clipboard refuses it.
    void copy();
    // Asks for a file (PNG or JPEG, by its extension) in a dialog over this window and writes the picture.
    void save();
    // Adds the clipboard's image as a sticker; beeps when there is none.
    void paste();
    // Reads the text of a region (image pixels) or, without one, of the whole picture.
    void copyText(const std::optional<Rect>& region);
    // Finds the faces of the picture off the main thread and covers them in one step.
    void coverFaces(const FaceCover& cover);
    bool isCoveringFaces() const { return m_coveringFaces; }

    // A short message in the status line. With a duration it is cleared after it, unless a newer message
    // replaced it in the meantime; without one it stays until the next.
    void flash(const QString& message, std::optional<std::chrono::milliseconds> duration = std::chrono::seconds(2));

    static constexpr std::chrono::milliseconds closeAfterCopyDelay{350};

Q_SIGNALS:
    // Files dropped on the editor: they open in windows of their own, never in this document.
    void filesDropped(const QList<QUrl>& urls);
    // The window is closing; its owner lets go of it.
    void closed(lumivex::EditorWindow* window);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void place();
    void writeTo(QString path);
    void showAlert(const QString& message, const QString& detail);
    void finishCovering(const FaceCover& cover, const FaceDetector::Detection& detection);

    Environment m_environment;
    Scheduler& m_scheduler;
    EditorDocument* m_document = nullptr; // owned as a child
    EditorView* m_view = nullptr;
    EditorCommands* m_commands = nullptr; // owned as a child
    quint64 m_flashGeneration = 0;
    bool m_coveringFaces = false;
};

} // namespace lumivex
