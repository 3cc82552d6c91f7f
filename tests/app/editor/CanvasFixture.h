#pragma once

#include "app/editor/CanvasTextSession.h"
#include "app/editor/CanvasView.h"
#include "core/document/EditorDocument.h"
#include "core/model/Annotation.h"
#include "core/model/RGBAColor.h"
#include "core/model/Tool.h"
#include "samples/TestImages.h"
#include "support/AnnotationBuilders.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace lumivex::test {

// A canvas on a real document, shown offscreen and driven with real Qt events. By default the 1000 x 600 picture
// fills a 1056 x 656 view at one view point per pixel, 28 points in from the edges.
class CanvasFixture : public ::testing::Test {
protected:
    void SetUp() override { open(QSize(1000, 600)); }
    void TearDown() override
    {
        m_canvas.reset();
        m_doc.reset();
        QApplication::processEvents();
    }
    void open(QSize imageSize)
    {
        m_canvas.reset();
        m_doc = std::make_unique<EditorDocument>(
            LoadedImage{screenshotLikeImage(imageSize.width(), imageSize.height()), 1, QStringLiteral("test")});
        m_copiedRegions.clear();
        m_canvas = std::make_unique<CanvasView>(*m_doc, [this](const Rect& r) { m_copiedRegions.push_back(r); });
        m_canvas->resize(1056, 656);
        m_canvas->show();
        QApplication::setActiveWindow(m_canvas.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_canvas.get()));
    }

    EditorDocument& doc() { return *m_doc; }
    CanvasView& canvas() { return *m_canvas; }
    QPoint at(Point p) const { return m_canvas->transform().toView(p).toPoint(); }

    void press(Point p, Qt::KeyboardModifiers m = {}) { QTest::mousePress(m_canvas.get(), Qt::LeftButton, m, at(p)); }
    void release(Point p, Qt::KeyboardModifiers m = {}) { QTest::mouseRelease(m_canvas.get(), Qt::LeftButton, m, at(p)); }
    // QTest::mouseMove carries no modifiers, and Shift matters while dragging.
    void moveTo(Point p, Qt::KeyboardModifiers m = {}, Qt::MouseButtons held = Qt::LeftButton)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(at(p)), m_canvas->mapToGlobal(QPointF(at(p))), Qt::NoButton, held, m);
        QApplication::sendEvent(m_canvas.get(), &move);
    }
    void hover(Point p) { moveTo(p, {}, Qt::NoButton); }
    void dragFrom(Point from, Point to, Qt::KeyboardModifiers m = {})
    {
        press(from, m);
        for (int step = 1; step <= 4; ++step)
            moveTo(from + (to - from) * (step / 4.0), m);
        release(to, m);
    }
    void click(Point p, Qt::KeyboardModifiers m = {})
    {
        press(p, m);
        release(p, m);
    }
    void doubleClick(Point p)
    {
        click(p);
        QTest::mouseDClick(m_canvas.get(), Qt::LeftButton, {}, at(p));
        QTest::mouseRelease(m_canvas.get(), Qt::LeftButton, {}, at(p));
    }
    void key(Qt::Key key, Qt::KeyboardModifiers m = {}, bool autoRepeat = false)
    {
        if (!autoRepeat)
            return QTest::keyClick(m_canvas.get(), key, m);
        QKeyEvent press(QEvent::KeyPress, key, m, QString(), true);
        QApplication::sendEvent(m_canvas.get(), &press);
    }
    // A key press as an X11 keyboard reports it: the hardware keycode and what the layout makes of it.
    void nativeKey(quint32 x11Keycode, int qtKey, const QString& text, Qt::KeyboardModifiers m = {})
    {
        QKeyEvent press(QEvent::KeyPress, qtKey, m, x11Keycode, 0, 0, text);
        QApplication::sendEvent(m_canvas.get(), &press);
    }

    std::size_t undoCount() const { return m_doc->undoStack().undoSteps().size(); }
    QString lastUndoName() const { return m_doc->undoActionName(); }
    const std::vector<Annotation>& annotations() const { return m_doc->state().annotations; }
    Annotation onlyAnnotation() const
    {
        EXPECT_EQ(annotations().size(), 1u);
        return annotations().empty() ? Annotation() : annotations().front();
    }
    // Adds an annotation as one step outside any gesture, leaving nothing selected.
    Annotation place(Annotation a)
    {
        m_doc->add(a);
        m_doc->select(std::nullopt);
        return *m_doc->annotation(a.id);
    }
    InlineTextEditor* textEditor() const { return m_canvas->textSession().editor(); }
    const std::vector<Rect>& copiedRegions() const { return m_copiedRegions; }

private:
    std::vector<Rect> m_copiedRegions;
    std::unique_ptr<EditorDocument> m_doc;
    std::unique_ptr<CanvasView> m_canvas;
};

// A 28-pixel text box with its top-left corner at `origin`.
inline Annotation textAt(Point origin, const QString& text) { return textBox(text, 28, origin); }

} // namespace lumivex::test
