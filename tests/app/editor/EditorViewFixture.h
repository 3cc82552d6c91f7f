#pragma once

#include "app/design/DesignSegmented.h"
#include "app/design/DesignSlider.h"
#include "app/editor/CanvasView.h"
#include "app/editor/EditorView.h"
#include "app/editor/InspectorView.h"
#include "app/editor/ToolbarView.h"
#include "ManualScheduler.h"
#include "TestStores.h"
#include "core/document/EditorDocument.h"
#include "samples/TestImages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace lumivex::test {

// Adds (and selects) an object of the kind in the document's style.
inline QUuid addShape(EditorDocument& doc, AnnotationKind kind, Rect frame)
{
    Annotation a = doc.makeAnnotation(kind);
    a.frame = frame;
    if (kind == AnnotationKind::arrow)
        a.points = {frame.origin(), Point(frame.maxX(), frame.maxY())};
    doc.add(a);
    return a.id;
}

// The editor's layout over a real document, shown offscreen and driven with real Qt events.
class EditorViewFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_doc = std::make_unique<EditorDocument>(
            LoadedImage{screenshotLikeImage(1000, 600), 1, QStringLiteral("shot")});
        m_view = std::make_unique<EditorView>(*m_doc, callbacks(), m_scheduler, m_stores.stores());
        m_view->resize(1300, 860);
        m_view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
    }
    void TearDown() override
    {
        m_view.reset();
        m_doc.reset();
        QApplication::processEvents();
    }
    virtual EditorView::Callbacks callbacks() { return {}; }

    EditorDocument& doc() { return *m_doc; }
    EditorView& view() { return *m_view; }
    InspectorView& inspector() { return *m_view->inspector(); }

    // Lets deferred deletions and layouts run.
    static void settle()
    {
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }

    // Every text the inspector shows now: labels, buttons, sliders, choices.
    QStringList inspectorTexts()
    {
        settle();
        QStringList texts;
        for (const QWidget* widget : inspector().widget()->findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(&inspector()))
                continue;
            if (const auto* label = qobject_cast<const QLabel*>(widget))
                texts << label->text();
            else if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
                texts << button->text();
            else if (const auto* slider = qobject_cast<const DesignSlider*>(widget))
                texts << slider->label();
            else if (const auto* choice = qobject_cast<const DesignSegmented*>(widget))
                for (const auto& item : choice->items())
                    texts << item.title;
        }
        return texts;
    }
    // The visible inspector control of a type with that text.
    template <typename T>
    T* inspectorControl(const QString& text)
    {
        settle();
        for (T* control : inspector().widget()->findChildren<T*>()) {
            if (!control->isVisibleTo(&inspector()))
                continue;
            if constexpr (std::is_same_v<T, DesignSlider>) {
                if (control->label() == text)
                    return control;
            } else if (control->text() == text) {
                return control;
            }
        }
        ADD_FAILURE() << "no control " << text.toStdString();
        return nullptr;
    }
    // Brings a control into view in the scrolling inspector and clicks it.
    void click(QWidget* widget, QPoint at = {})
    {
        ASSERT_NE(widget, nullptr);
        inspector().ensureWidgetVisible(widget);
        QTest::mouseClick(widget, Qt::LeftButton, {}, at.isNull() ? widget->rect().center() : at);
    }
    QUuid addShape(AnnotationKind kind, Rect frame) { return test::addShape(doc(), kind, frame); }

    TestStores m_stores;
    ManualScheduler m_scheduler;
    std::unique_ptr<EditorDocument> m_doc;
    std::unique_ptr<EditorView> m_view;
};

} // namespace lumivex::test
