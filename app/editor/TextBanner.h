#pragma once

#include <QWidget>

#include <functional>

class QLabel;

namespace lumivex {

class DesignButton;
class IconButton;

// The floating notice over the bottom of the canvas, in its two forms: text was found in the picture (offering to
// copy it), and text was copied (offering to edit it). Each has an action button and a close button.
class TextBanner : public QWidget {
    Q_OBJECT

public:
    enum class Kind { textFound, copiedText };

    static TextBanner* textFound(int characterCount, std::function<void()> onCopy, std::function<void()> onClose,
                                 QWidget* parent = nullptr);
    static TextBanner* copiedText(int characterCount, std::function<void()> onEdit, std::function<void()> onClose,
                                  QWidget* parent = nullptr);

    Kind kind() const { return m_kind; }
    int characterCount() const { return m_count; }
    void setCharacterCount(int count);
    QString text() const;
    DesignButton* actionButton() const { return m_action; }
    IconButton* closeButton() const { return m_close; }

    static QString message(Kind kind, int characterCount);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TextBanner(Kind kind, int characterCount, const QString& actionTitle, std::function<void()> onAction,
               std::function<void()> onClose, QWidget* parent);

    Kind m_kind;
    int m_count;
    QLabel* m_message;
    DesignButton* m_action;
    IconButton* m_close;
};

} // namespace lumivex
