#pragma once

#include "core/document/BlurCache.h"
#include "core/document/CanvasPadding.h"
#include "core/document/CanvasRatio.h"
#include "core/document/EditorState.h"
#include "core/document/LoadedImage.h"
#include "core/document/RecognizedText.h"
#include "core/document/TextReader.h"
#include "core/document/TextScan.h"
#include "core/document/UndoStack.h"
#include "core/geometry/Point.h"
#include "core/geometry/Rect.h"
#include "core/geometry/Size.h"
#include "core/model/Annotation.h"
#include "core/model/AnnotationKind.h"
#include "core/model/FaceCover.h"
#include "core/model/StickerSource.h"
#include "core/model/Tool.h"
#include "core/model/ToolStyle.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QUuid>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace lumivex {

// One open image: the undoable content (EditorState) plus the editing context that is never undone
// (selection, tool, style, crop draft).
//
// Every content change goes through one of three doors, each recording at most one undo step, and only
// when the content really changed:
// - a one-shot change (perform and the named operations);
// - a coalesced change (style, padding, text box room), where changes with the same key less than a
//   second apart form one step;
// - an interaction bracket (beginInteraction ... endInteraction) around a drag or a text edit. While it is
//   open, every content change, through any door and from any caller, becomes part of its one step.
//
// Each published property emits its change signal right after its own assignment. The tool and style
// reactions (clearing the selection, tool defaults, restyling the selected object) run after that, so a
// listener always sees the new tool or style when the reactions' own signals arrive. Main thread only.
class EditorDocument : public QObject {
    Q_OBJECT

public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    using StateChange = std::function<void(EditorState&)>;
    using AnnotationChange = std::function<void(Annotation&)>;
    // Receives the text (or why there is none), always on the main thread, even after the document is gone.
    using TextCompletion = std::function<void(const TextResult& result)>;

    // The last whole-picture recognition: the content that was read and its text.
    struct ScannedText {
        EditorState state;
        RecognizedText text;
    };

    // Changes with the same key closer together than this form one undo step (a sliding window).
    static constexpr std::chrono::milliseconds coalescingWindow{1000};

    explicit EditorDocument(const LoadedImage& loaded, QObject* parent = nullptr);

    // Image pixels per style point: the longer image side / 1000, never below 1.
    static double unitForImageSize(Size imageSize);

    const QString& name() const { return m_name; }
    double pixelScale() const { return m_pixelScale; }
    double unit() const { return m_unit; }

    // ---- published properties
    const EditorState& state() const { return m_state; }
    const std::optional<QUuid>& selection() const { return m_selection; }
    Tool tool() const { return m_tool; }
    void setTool(Tool tool);
    const ToolStyle& style() const { return m_style; }
    // Restyles the selected object as one coalesced undo step per burst.
    void setStyle(const ToolStyle& style);
    bool stickyTool() const { return m_stickyTool; }
    void setStickyTool(bool sticky);
    const std::optional<Rect>& cropDraft() const { return m_cropDraft; }
    // The canvas edits the draft directly; drafts are never undone.
    void setCropDraft(const std::optional<Rect>& draft);

    // True when the style was last read back from a selected object (the next new object then first
    // gets the tool's fill and line-width defaults back).
    bool styleSyncedFromSelection() const { return m_styleSyncedFromSelection; }

    // ---- queries
    std::optional<Annotation> annotation(const QUuid& id) const;
    std::optional<Annotation> selectedAnnotation() const;
    // The topmost object under the point.
    std::optional<Annotation> hitTest(Point point, double tolerance) const;
    const CanvasPadding& padding() const { return m_state.padding; }
    const CanvasRatio& ratio() const { return m_state.ratio; }
    // What the canvas draws: in crop mode the whole image with its annotations but without framing.
    EditorState displayState() const;

    // ---- selection, tool and style
    // Selects the object with that id (and shows its style), or clears the selection when none has it.
    void select(const std::optional<QUuid>& id);
    // A new object of the kind in the current style; nothing is added.
    Annotation makeAnnotation(AnnotationKind kind) const;
    void prepareForCreation();
    // Steps the line width or font size of the selected object's kind (or the tool's) to the next level.
    void cycleSizeLevel();

    // ---- content operations
    // Appends on top and selects it (without reading its style back; it was made from the style).
    void add(const Annotation& annotation);
    void addSticker(const StickerSource& source);
    void deleteSelected();
    void bringToFront();
    void sendToBack();
    void setPadding(const CanvasPadding& padding);
    void setRatio(const CanvasRatio& ratio);
    // The selected text box's extra room beyond its measured text; the box keeps its centre.
    void setSelectedTextExtra(Size extra);
    void applyCrop();
    void cancelCrop();
    void resetCrop();
    void perform(const QString& name, const StateChange& change);
    // Covers every face (rectangles in image pixels) on top of everything as one undo step, then clears the
    // selection. Nothing happens when FaceCover::covers() makes no cover.
    void cover(const std::vector<Rect>& faces, const FaceCover& with);

    // ---- text in the picture
    const TextScan& textScan() const { return m_textScan; }
    // The last text copied out of this picture; the editor window sets it, the document only keeps it.
    const std::optional<QString>& copiedText() const { return m_copiedText; }
    void setCopiedText(const std::optional<QString>& text);
    const std::optional<ScannedText>& scannedText() const { return m_scannedText; }
    // Whole-picture requests waiting for the running background scan.
    std::size_t scanWaiterCount() const { return m_scanWaiters.size(); }

    // Starts the background scan of the whole visible picture, once per document: textScan goes from idle to
    // scanning, then to found or none. Later edits do not scan again.
    void scanText();
    // Reads the whole visible picture (no region) or a rectangle in image pixels from the flattened picture, on a
    // background thread. A whole-picture request is answered at once from the last whole-picture result while the
    // content is unchanged, and waits for a running background scan so it can take the scan's result.
    void recognizeText(const std::optional<Rect>& region, TextCompletion completion);

    // What this document reads text with; without one, the default (and without that, requests fail).
    void setTextReader(std::shared_ptr<const TextReader> reader);
    // The reader of every document that has none of its own; the application sets it once at start.
    static void setDefaultTextReader(std::shared_ptr<const TextReader> reader);

    // ---- interaction bracket: live, unrecorded changes, one step at the end
    void beginInteraction();
    bool isInteracting() const { return m_interactionStart.has_value(); }
    void modify(const QUuid& id, const AnnotationChange& change);
    void addTransient(const Annotation& annotation);
    void removeTransient(const QUuid& id);
    void endInteraction(const QString& name);
    void cancelInteraction();

    // ---- undo (disabled while an interaction is open, so a half-done drag is never mixed into history)
    bool canUndo() const;
    bool canRedo() const;
    QString undoActionName() const;
    QString redoActionName() const;
    void undo();
    void redo();
    const UndoStack& undoStack() const { return m_undoStack; }

    // The time source of the coalescing window; tests inject their own.
    void setClock(Clock clock);

    // The blurred patches of this document's blur regions; the base image never changes, so they stay valid.
    // The renderer fills it (the finished picture: DocumentOutput, core/render).
    BlurCache& blurCache() const { return m_blurCache; }

Q_SIGNALS:
    void stateChanged();
    void selectionChanged();
    void toolChanged();
    void styleChanged();
    void stickyToolChanged();
    void cropDraftChanged();
    void textScanChanged();
    void copiedTextChanged();
    // canUndo, canRedo or one of the action names may have changed.
    void undoStackChanged();

private:
    struct Coalesced {
        QString key;
        std::chrono::steady_clock::time_point time;
    };

    void toolDidChange(Tool old);
    void styleDidChange(const ToolStyle& old);
    void applyToolDefaults();
    void assignStyleWhileSyncing(const ToolStyle& style);
    void syncArrowBendFromSelection();
    void fixSelection();
    void setSelection(const std::optional<QUuid>& id);
    void selectAdded(const QUuid& id);

    void changeState(const StateChange& change);
    void commit(EditorState before, const QString& name);
    void applyCoalesced(const QString& key, const QString& name, const StateChange& change);
    void registerUndoStep(EditorState snapshot, const QString& name);
    void runUndoStep(UndoStack::Step&& step);
    using Iterator = std::vector<Annotation>::iterator;
    // Moves the selected object within the drawing order as one step (nothing when the order stays).
    void restackSelected(const QString& name,
                         const std::function<void(Iterator begin, Iterator selected, Iterator end)>& move);
    // Replaces the first object with that id through a coalesced change.
    void replaceCoalesced(const Annotation& changed, const QString& key, const QString& name);

    int indexOf(const QUuid& id) const;

    void runRecognition(const std::optional<Rect>& region, TextCompletion completion);
    void finishScan(const TextResult& result);
    void setTextScan(const TextScan& scan);

    QString m_name;
    double m_pixelScale = 1;
    double m_unit = 1;
    UndoStack m_undoStack;
    mutable BlurCache m_blurCache; // a cache: filling it does not change the document
    EditorState m_state;
    std::optional<QUuid> m_selection;
    Tool m_tool = Tool::select;
    ToolStyle m_style;
    bool m_stickyTool = true;
    std::optional<Rect> m_cropDraft;
    bool m_syncingStyle = false;
    bool m_styleSyncedFromSelection = false;
    std::optional<EditorState> m_interactionStart;
    std::optional<Coalesced> m_lastCoalesced;
    Clock m_clock;
    TextScan m_textScan;
    std::optional<QString> m_copiedText;
    std::optional<ScannedText> m_scannedText;
    std::vector<std::function<void()>> m_scanWaiters;
    std::shared_ptr<const TextReader> m_textReader;
};

} // namespace lumivex
