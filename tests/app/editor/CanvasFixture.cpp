#include "CanvasFixture.h"

#include "support/TestImages.h"
#include "core/model/RGBAColor.h"

#include <QApplication>

namespace lumivex::test {

void CanvasFixture::SetUp()
{
    open(QSize(1000, 600), QSize(1056, 656));
}

void CanvasFixture::TearDown()
{
    m_canvas.reset();
    m_doc.reset();
    QApplication::processEvents();
}

void CanvasFixture::open(QSize imageSize, QSize viewSize)
{
    m_canvas.reset();
    m_doc = std::make_unique<EditorDocument>(
        LoadedImage{screenshotLikeImage(imageSize.width(), imageSize.height()), 1, QStringLiteral("test")});
    m_copiedRegions.clear();
    m_canvas = std::make_unique<CanvasView>(*m_doc, [this](const Rect& region) { m_copiedRegions.push_back(region); });
    m_canvas->resize(viewSize);
    m_canvas->show();
    QApplication::setActiveWindow(m_canvas.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_canvas.get()));
    QApplication::processEvents();
}

QPoint CanvasFixture::at(Point imagePoint) const
{
    return m_canvas->transform().toView(imagePoint).toPoint();
}

void CanvasFixture::press(Point p, Qt::KeyboardModifiers modifiers)
{
    QTest::mousePress(m_canvas.get(), Qt::LeftButton, modifiers, at(p));
}

void CanvasFixture::moveTo(Point p, Qt::KeyboardModifiers modifiers)
{
    // QTest::mouseMove carries no modifiers, and Shift matters while dragging.
    QMouseEvent move(QEvent::MouseMove, QPointF(at(p)), m_canvas->mapToGlobal(QPointF(at(p))), Qt::NoButton,
                     Qt::LeftButton, modifiers);
    QApplication::sendEvent(m_canvas.get(), &move);
}

void CanvasFixture::release(Point p, Qt::KeyboardModifiers modifiers)
{
    QTest::mouseRelease(m_canvas.get(), Qt::LeftButton, modifiers, at(p));
}

void CanvasFixture::dragFrom(Point from, Point to, Qt::KeyboardModifiers modifiers)
{
    press(from, modifiers);
    for (int step = 1; step <= 4; ++step) {
        const double f = step / 4.0;
        moveTo(Point(from.x + (to.x - from.x) * f, from.y + (to.y - from.y) * f), modifiers);
    }
    release(to, modifiers);
}

void CanvasFixture::click(Point p, Qt::KeyboardModifiers modifiers)
{
    press(p, modifiers);
    release(p, modifiers);
}

void CanvasFixture::doubleClick(Point p)
{
    click(p);
    QTest::mouseDClick(m_canvas.get(), Qt::LeftButton, {}, at(p));
    QTest::mouseRelease(m_canvas.get(), Qt::LeftButton, {}, at(p));
}

void CanvasFixture::hover(Point p)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(at(p)), m_canvas->mapToGlobal(QPointF(at(p))), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(m_canvas.get(), &move);
}

void CanvasFixture::key(Qt::Key key, Qt::KeyboardModifiers modifiers, bool autoRepeat)
{
    if (!autoRepeat) {
        QTest::keyClick(m_canvas.get(), key, modifiers);
        return;
    }
    QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(), true);
    QApplication::sendEvent(m_canvas.get(), &press);
}

void CanvasFixture::nativeKey(quint32 x11Keycode, int qtKey, const QString& text, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent press(QEvent::KeyPress, qtKey, modifiers, x11Keycode, 0, 0, text);
    QApplication::sendEvent(m_canvas.get(), &press);
}

Annotation CanvasFixture::onlyAnnotation() const
{
    EXPECT_EQ(annotations().size(), 1u);
    return annotations().empty() ? Annotation() : annotations().front();
}

Annotation CanvasFixture::place(Annotation annotation)
{
    m_doc->add(annotation);
    m_doc->select(std::nullopt);
    return *m_doc->annotation(annotation.id);
}

Annotation rectangleAt(const Rect& frame, bool filled)
{
    Annotation a(AnnotationKind::rectangle);
    a.frame = frame;
    if (filled)
        a.fillColor = RGBAColor::black;
    return a;
}

Annotation textAt(const Rect& frame, const QString& text)
{
    Annotation a(AnnotationKind::text);
    a.frame = frame;
    a.text = text;
    a.fontSize = 28;
    a.refreshTextFrame(false);
    return a;
}

Annotation arrowFrom(Point tail, Point head)
{
    Annotation a(AnnotationKind::arrow);
    a.points = {tail, head};
    return a;
}

} // namespace lumivex::test
