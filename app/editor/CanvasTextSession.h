#pragma once

#include "app/editor/CanvasTransform.h"
#include "app/editor/InlineTextEditor.h"
#include "core/model/Annotation.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QUuid>

#include <functional>
#include <optional>

class QWidget;

namespace lumivex {

class EditorDocument;

// Editing one text annotation in place. The inline field sits exactly over the box; the renderer keeps drawing
// the box, its background and outline, but not the glyphs, which the field shows instead. The whole edit is one
// interaction of the document: every keystroke reaches the annotation at once, and finishing records one undo
// step ("추가" for a new text, "텍스트 편집" for a changed one, "삭제" for an existing text emptied) or none.
class CanvasTextSession : public QObject {
    Q_OBJECT

public:
    using TransformSource = std::function<CanvasTransform()>;

    CanvasTextSession(EditorDocument& document, QWidget& canvas, TransformSource transform);
    ~CanvasTextSession() override;

    bool isOpen() const { return m_editor != nullptr; }
    std::optional<QUuid> editingID() const { return m_editingID; }
    InlineTextEditor* editor() const { return m_editor; }
    // The texts the canvas must draw without glyphs.
    const QSet<QUuid>& glyphHiddenIDs() const { return m_glyphHiddenIDs; }

    // Opens the field over the text annotation. A new text's interaction was already begun by its creation.
    void begin(const QUuid& id, bool isNew);
    // Closes the field, keeping (commit) or dropping the edit. Nothing happens when no field is open.
    void finish(bool commit);
    // Places the field over the annotation again (after a zoom, a text or style change, a language change).
    void reposition();

    // The placeholder for the current input language: "가" for Korean, otherwise "A".
    static QString currentPlaceholder();

Q_SIGNALS:
    // The field closed; the canvas redraws and takes the keyboard back when `takeFocus`.
    void finished(bool takeFocus);

private:
    void position(InlineTextEditor& editor, const Annotation& annotation);
    void textChanged();
    void record(const QUuid& id, const QString& text, bool wasNew);

    EditorDocument& m_doc;
    QWidget& m_canvas;
    TransformSource m_transform;
    QPointer<InlineTextEditor> m_editor;
    std::optional<QUuid> m_editingID;
    bool m_editingIsNew = false;
    QSet<QUuid> m_glyphHiddenIDs;
    QMetaObject::Connection m_inputSourceObserver;
};

} // namespace lumivex
