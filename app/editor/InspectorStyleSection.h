#pragma once

#include "app/design/DesignSlider.h"
#include "app/editor/InspectorSection.h"
#include "core/model/AnnotationKind.h"
#include "core/model/RGBAColor.h"
#include "core/model/ToolStyle.h"

#include <functional>

namespace lumivex {

class DesignColorWell;
class EditorDocument;

// The style controls for one kind of object: every control reads and writes one field of the document's style,
// which the document also applies to the selected object.
class InspectorStyleSection : public InspectorSection {
    Q_OBJECT

public:
    struct Options {
        bool textBox = false;      // a text object is selected: its box can be widened
        bool polygonHint = false;  // no polygon is selected: explain how to draft one
    };

    InspectorStyleSection(EditorDocument& document, AnnotationKind kind, Options options, QWidget* parent = nullptr);

    // "화살표", "원 / 타원", ...
    static QString kindTitle(AnnotationKind kind);
    // The bend each choice of the arrow's shape row sets.
    static constexpr double leftCurveBend = 0.3;

private:
    void addRectangleControls();
    void addEllipseControls();
    void addArrowControls();
    void addTextControls(bool textBox);
    void addBlurControls();

    DesignColorWell* addColor(const QString& label, RGBAColor ToolStyle::*field);
    void addFillRow(const QString& label);
    DesignSlider* addSlider(const QString& label, double minimum, double maximum, double ToolStyle::*field,
                            DesignSlider::Format format = &DesignSlider::pixels);
    void addToggle(const QString& label, bool ToolStyle::*field);
    void addOutlineRow();
    void addArrowShape();
    void addTextBox();
    void addOpacity();

    void edit(const std::function<void(ToolStyle&)>& change);

    EditorDocument& m_doc;
};

} // namespace lumivex
