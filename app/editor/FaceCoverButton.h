#pragma once

#include "app/editor/EditorStores.h"
#include "app/editor/FaceCoverGuide.h"
#include "app/editor/IconButton.h"
#include "app/editor/StickerPickerView.h"
#include "app/editor/TipBubble.h"

#include <QPointer>

#include <functional>

class QMenu;
class QVariantAnimation;

namespace lumivex {

class FaceCover;

// The toolbar button that finds every face in the picture and covers it in the chosen way. Until the user
// dismisses it for good, a bubble under the button points it out and the button pulses; the bubble opens a guide.
class FaceCoverButton : public IconButton {
    Q_OBJECT

public:
    enum class Tip { bubble, guide };

    FaceCoverButton(EditorStores stores, std::function<void(const FaceCover&)> onCover, QWidget* parent = nullptr);
    ~FaceCoverButton() override;

    QMenu* menu() const { return m_menu; }
    // The first-use bubble while it is shown; none once dismissed.
    TipBubble* bubble() const { return m_bubble; }
    bool isPulsing() const;
    FaceCoverGuide* guide() const { return m_guide; }
    StickerPickerView* stickerPicker() const { return m_picker; }

    void showGuide();
    void showStickerPicker();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu();
    void refreshTip();
    void placeBubble();
    void cover(const FaceCover& cover);

    EditorStores m_stores;
    std::function<void(const FaceCover&)> m_onCover;
    QMenu* m_menu = nullptr;
    QVariantAnimation* m_pulse = nullptr;
    double m_pulsePhase = 0;
    QPointer<TipBubble> m_bubble;
    QPointer<FaceCoverGuide> m_guide;
    QPointer<StickerPickerView> m_picker;
};

} // namespace lumivex
