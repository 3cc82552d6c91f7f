#pragma once

#include "core/model/AnnotationKind.h"

#include <QScrollArea>

#include <functional>
#include <optional>

class QVBoxLayout;

namespace lumivex {

class CanvasRatioPicker;
class EditorDocument;
class InspectorSection;

// The panel on the right of the editor: the controls for what the user is about to draw or has selected (style,
// crop, text recognition, arrangement) and, always at the bottom, the canvas framing. Sections are built when the
// kind of content changes and updated in place on every other change of the document.
class InspectorView : public QScrollArea {
    Q_OBJECT

public:
    static constexpr int width = 282;

    InspectorView(EditorDocument& document, std::function<void()> onCopyText, QWidget* parent = nullptr);

    // The sections above the canvas section, top to bottom.
    const std::vector<QWidget*>& sections() const { return m_sections; }
    CanvasRatioPicker* ratioPicker() const { return m_ratio; }

private:
    // What decides which sections are shown.
    struct Shape {
        enum class Mode { hint, crop, copyText, style } mode = Mode::hint;
        std::optional<AnnotationKind> kind;
        bool selection = false;
        bool operator==(const Shape&) const = default;
    };

    Shape currentShape() const;
    void documentChanged();
    void rebuild(const Shape& shape);
    InspectorSection* cropSection();
    InspectorSection* textSection();
    InspectorSection* actionSection();
    InspectorSection* canvasSection();

    EditorDocument& m_doc;
    std::function<void()> m_onCopyText;
    QVBoxLayout* m_top = nullptr;
    std::vector<QWidget*> m_sections;
    std::optional<Shape> m_shape;
    InspectorSection* m_canvas = nullptr;
    CanvasRatioPicker* m_ratio = nullptr;
};

} // namespace lumivex
