#pragma once

#include "app/editor/CanvasTextSession.h"
#include "app/editor/CanvasView.h"
#include "core/document/EditorDocument.h"
#include "core/geometry/Point.h"
#include "core/model/Annotation.h"

#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include <ostream>

namespace lumivex {

inline void PrintTo(const Rect& r, std::ostream* out) { *out << "(" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << ")"; }
inline void PrintTo(const Point& p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }

} // namespace lumivex

namespace lumivex::test {

// A canvas on a real document, shown offscreen and driven with real Qt mouse and key events. By default the
// 1000 x 600 picture fills a 1056 x 656 view at exactly one view point per image pixel, 28 points in from the
// edges, so view positions can be worked out by hand.
class CanvasFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Reopens with another picture size or view size.
    void open(QSize imageSize, QSize viewSize);

    EditorDocument& doc() { return *m_doc; }
    CanvasView& canvas() { return *m_canvas; }

    // The view position of an image point.
    QPoint at(Point imagePoint) const;

    void press(Point p, Qt::KeyboardModifiers modifiers = {});
    void moveTo(Point p, Qt::KeyboardModifiers modifiers = {});
    void release(Point p, Qt::KeyboardModifiers modifiers = {});
    // Press, several moves along the way, release.
    void dragFrom(Point from, Point to, Qt::KeyboardModifiers modifiers = {});
    void click(Point p, Qt::KeyboardModifiers modifiers = {});
    // Press, release, then the second press the platform reports as a double click, release.
    void doubleClick(Point p);
    // A mouse move with no button held (tracking).
    void hover(Point p);

    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}, bool autoRepeat = false);
    // A key press as an X11 keyboard reports it: the hardware keycode with whatever the layout makes of it.
    void nativeKey(quint32 x11Keycode, int qtKey, const QString& text, Qt::KeyboardModifiers modifiers = {});

    // Undo history.
    std::size_t undoCount() const { return m_doc->undoStack().undoSteps().size(); }
    QString lastUndoName() const { return m_doc->undoActionName(); }

    const std::vector<Annotation>& annotations() const { return m_doc->state().annotations; }
    // The only annotation; fails the test when there is not exactly one.
    Annotation onlyAnnotation() const;
    // Adds an annotation as one step outside any gesture, leaving nothing selected.
    Annotation place(Annotation annotation);
    InlineTextEditor* textEditor() const { return m_canvas->textSession().editor(); }
    // Regions the text-recognition tool handed over, in order.
    const std::vector<Rect>& copiedRegions() const { return m_copiedRegions; }

private:
    std::vector<Rect> m_copiedRegions;
    std::unique_ptr<EditorDocument> m_doc;
    std::unique_ptr<CanvasView> m_canvas;
};

Annotation rectangleAt(const Rect& frame, bool filled = false);
Annotation textAt(const Rect& frame, const QString& text);
Annotation arrowFrom(Point tail, Point head);

} // namespace lumivex::test
