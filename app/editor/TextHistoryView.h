#pragma once

#include <QUuid>
#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QStackedWidget;

namespace lumivex {

class DesignButton;
class TextHistory;

// The copied-text history: the texts copied out of pictures, newest first, one of them open in an editor where it
// can be corrected and copied again (the corrected text takes the entry's place; the picture never changes),
// deleted, or the whole list cleared.
class TextHistoryView : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize popoverSize{520, 380};

    // `latest` is the text copied last in the window, whose entry is chosen first.
    TextHistoryView(TextHistory& history, std::optional<QString> latest,
                    std::function<void(const QString&, const std::optional<QUuid>&)> onCopy, QWidget* parent = nullptr);

    const std::optional<QUuid>& selection() const { return m_selection; }
    void select(const std::optional<QUuid>& id);
    QString draft() const;
    void setDraft(const QString& text);

    QListWidget* list() const { return m_list; }
    QPlainTextEdit* editor() const { return m_editor; }
    QLabel* count() const { return m_count; }
    QLabel* emptyText() const { return m_empty; }
    DesignButton* copyButton() const { return m_copy; }
    DesignButton* deleteButton() const { return m_delete; }
    DesignButton* clearButton() const { return m_clear; }

private:
    void rebuild();
    void refreshCount();

    TextHistory& m_history;
    std::function<void(const QString&, const std::optional<QUuid>&)> m_onCopy;
    std::optional<QUuid> m_selection;
    QListWidget* m_list;
    QLabel* m_empty;
    QPlainTextEdit* m_editor;
    QLabel* m_count;
    DesignButton* m_delete;
    DesignButton* m_copy;
    DesignButton* m_clear;
    bool m_rebuilding = false;
};

} // namespace lumivex
