#pragma once

#include "app/editor/CustomRatioPopover.h"

#include <QPointer>
#include <QWidget>

#include <vector>

class QLabel;

namespace lumivex {


class DesignPill;
class DesignSegmented;
class EditorDocument;
struct EditorState;

// The output aspect ratio: a pill per preset and one for a custom ratio, the export size, and the iPhone
// screenshot sizes the App Store review asks for, in portrait or landscape.
class CanvasRatioPicker : public QWidget {
    Q_OBJECT

public:
    explicit CanvasRatioPicker(EditorDocument& document, QWidget* parent = nullptr);

    void refresh();

    const std::vector<DesignPill*>& presetPills() const { return m_presets; }
    DesignPill* customPill() const { return m_custom; }
    const std::vector<DesignPill*>& devicePills() const { return m_devices; }
    DesignSegmented* orientation() const { return m_orientation; }
    CustomRatioPopover* customPopover() const { return m_popover; }
    QLabel* exportSize() const { return m_exportSize; }

    // "내보내기 크기: 1920 × 1080 px"
    static QString exportSizeText(const EditorState& state);

private:
    void openCustom();
    void refreshDevices();

    EditorDocument& m_doc;
    std::vector<DesignPill*> m_presets;
    DesignPill* m_custom = nullptr;
    std::vector<DesignPill*> m_devices;
    DesignSegmented* m_orientation = nullptr;
    QLabel* m_exportSize = nullptr;
    QPointer<CustomRatioPopover> m_popover; // open while shown
    QString m_customWidth;
    QString m_customHeight;
    bool m_preferLandscape = false;
};

} // namespace lumivex
