#pragma once

#include "core/model/Tool.h"

#include <QWidget>

#include <functional>
#include <map>

class QHBoxLayout;
class QLabel;

namespace lumivex {

class EditorDocument;
class IconButton;
class ToolButton;
class ToolGroup;

// The strip across the top of the editor: the tools in their groups, the sticker and face-cover buttons, the
// tool lock, and the window's commands (copy all text, the copied-text history, copy, save). Buttons set the
// document's tool or call back into the window; the toolbar holds no editing logic of its own.
class ToolbarView : public QWidget {
    Q_OBJECT

public:
    static constexpr int height = 58;

    struct Actions {
        std::function<void()> onSave;
        std::function<void()> onCopy;
        std::function<void()> onCopyText; // the whole picture
        std::function<void()> onToggleHistory;
        std::function<void()> onToggleStickers;
    };

    ToolbarView(EditorDocument& document, Actions actions, QWidget* parent = nullptr);

    ToolButton* toolButton(Tool tool) const { return m_tools.at(tool); }
    IconButton* stickerButton() const { return m_stickers; }
    IconButton* lockButton() const { return m_lock; }
    IconButton* copyTextButton() const { return m_copyText; }
    IconButton* historyButton() const { return m_history; }
    IconButton* copyButton() const { return m_copy; }
    IconButton* saveButton() const { return m_save; }
    // The document's name, and under it the window's status line (empty when there is nothing to say).
    void setTitle(const QString& title);
    void setSubtitle(const QString& subtitle);
    QString subtitle() const;

    // Puts a button into the sticker group, after the sticker button (the face-cover button).
    void addToStickerGroup(QWidget* button);

    static QString lockHelp(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* titleBlock();
    IconButton* command(const QString& icon, const QString& help, const std::function<void()>& action);
    void refreshLock();
    void elideSubtitle();

    EditorDocument& m_doc;
    Actions m_actions;
    std::map<Tool, ToolButton*> m_tools;
    ToolGroup* m_stickerGroup = nullptr;
    IconButton* m_stickers = nullptr;
    IconButton* m_lock = nullptr;
    IconButton* m_copyText = nullptr;
    IconButton* m_history = nullptr;
    IconButton* m_copy = nullptr;
    IconButton* m_save = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_subtitle = nullptr;
    QString m_subtitleText;
};

} // namespace lumivex
