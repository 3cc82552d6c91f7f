#pragma once

#include "core/model/StickerSource.h"

#include <QWidget>

#include <functional>
#include <vector>

class QAbstractButton;
class QGridLayout;
class QLabel;
class QStackedWidget;

namespace lumivex {

class DesignButton;
class DesignSegmented;
class StickerLibrary;
class StickerRecents;

// The sticker popover: the stickers used last, the built-in emoji by category, and the user's own pictures (added
// from files or the clipboard, removed from the right-click menu). Picking one records it as recently used and
// hands it on.
class StickerPickerView : public QWidget {
    Q_OBJECT

public:
    enum class Tab { recent, emoji, mine };
    static constexpr QSize pickerSize{340, 380};

    StickerPickerView(StickerLibrary& library, StickerRecents& recents, std::function<void(const StickerSource&)> onPick,
                      QWidget* parent = nullptr);

    Tab tab() const { return m_tab; }
    void setTab(Tab tab);
    int category() const { return m_category; }
    void setCategory(int index);

    // The buttons of the shown grid, in order; each carries its sticker.
    QList<QAbstractButton*> cells() const;
    // The text shown in place of an empty grid; empty when the grid has stickers.
    QString emptyText() const;
    DesignSegmented* tabs() const { return m_tabs; }
    DesignButton* addFromFileButton() const { return m_addFile; }
    DesignButton* addFromClipboardButton() const { return m_addClipboard; }

    // Adds the clipboard's image to the library; beeps when it holds none.
    void addFromClipboard();
    // Removes the library's sticker shown by that cell of the "mine" tab.
    void removeMine(int index);

private:
    void rebuild();
    void fill(const std::vector<StickerSource>& stickers, int columns, int cellSize, bool mine);
    void pick(const StickerSource& source);
    void addFromFiles();
    QWidget* categoryRow();

    StickerLibrary& m_library;
    StickerRecents& m_recents;
    std::function<void(const StickerSource&)> m_onPick;
    Tab m_tab = Tab::recent;
    int m_category = 0;

    DesignSegmented* m_tabs = nullptr;
    QWidget* m_categories = nullptr;
    QWidget* m_grid = nullptr;
    QGridLayout* m_gridLayout = nullptr;
    QLabel* m_empty = nullptr;
    QWidget* m_mineBar = nullptr;
    DesignButton* m_addFile = nullptr;
    DesignButton* m_addClipboard = nullptr;
    QList<QAbstractButton*> m_cells;
};

} // namespace lumivex
