#pragma once

#include "app/editor/EditorStores.h"
#include "app/editor/Scheduler.h"
#include "app/editor/StickerPickerView.h"
#include "core/geometry/Rect.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QUuid>
#include <QWidget>

#include <functional>
#include <optional>

namespace lumivex {

class CanvasArea;
class CanvasView;
class EditorDocument;
class FaceCover;
class FaceCoverButton;
class InspectorView;
class TextBanner;
class TextBannerRules;
class ToolbarView;

// Everything inside an editor window: the toolbar across the top, the canvas in the middle with the text banners
// over its bottom edge, and the inspector on the right. It holds no editing logic: controls change the document or
// call back into the window. Files dropped anywhere on it are handed on, never inserted into this document.
class EditorView : public QWidget {
    Q_OBJECT

public:
    struct Callbacks {
        std::function<void()> onSave;
        std::function<void()> onCopy;
        // A region in image pixels, or none for the whole picture.
        std::function<void(const std::optional<Rect>&)> onCopyText;
        // A text and the history entry it was edited from, if any.
        std::function<void(const QString&, const std::optional<QUuid>&)> onCopyEditedText;
        std::function<void(const FaceCover&)> onCoverFaces;
        std::function<void(const QList<QUrl>&)> onDropURLs;
    };

    EditorView(EditorDocument& document, Callbacks callbacks, Scheduler& scheduler = Scheduler::system(),
               EditorStores stores = {}, QWidget* parent = nullptr);

    ToolbarView* toolbar() const { return m_toolbar; }
    CanvasView* canvas() const;
    InspectorView* inspector() const { return m_inspector; }
    TextBanner* banner() const;
    TextBannerRules& bannerRules() const { return *m_banners; }
    FaceCoverButton* faceCoverButton() const { return m_faceCover; }
    // The sticker popover while it is open.
    StickerPickerView* stickerPicker() const { return m_stickerPicker; }
    void toggleStickers();
    // Opens the copied-text history (the copied-text banner's edit button does too).
    void showTextHistory();

    // The status line under the document's name.
    void setSubtitle(const QString& subtitle);
    QString subtitle() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void refreshBanner();

    EditorDocument& m_doc;
    Callbacks m_callbacks;
    Scheduler& m_scheduler;
    EditorStores m_stores;
    TextBannerRules* m_banners = nullptr;
    ToolbarView* m_toolbar = nullptr;
    FaceCoverButton* m_faceCover = nullptr;
    QPointer<StickerPickerView> m_stickerPicker;
    CanvasArea* m_canvasArea = nullptr;
    InspectorView* m_inspector = nullptr;
};

} // namespace lumivex
