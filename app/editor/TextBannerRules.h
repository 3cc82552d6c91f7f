#pragma once

#include "app/editor/Scheduler.h"
#include "app/editor/TextBanner.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <optional>

namespace lumivex {

// Which text banner the editor shows, and when each goes away by itself. The offer to copy found text shows once
// the background scan found text and goes after 12 s or once used or closed, for good. The report of copied text
// shows again for every new copy and goes after 10 s, unless the copied-text history is open at that moment.
// A newer value cancels the timer of the older one.
class TextBannerRules : public QObject {
    Q_OBJECT

public:
    struct Choice {
        TextBanner::Kind kind;
        int characterCount;
        bool operator==(const Choice&) const = default;
    };

    static constexpr std::chrono::seconds foundTimeout{12};
    static constexpr std::chrono::seconds copiedTimeout{10};

    explicit TextBannerRules(Scheduler& scheduler, QObject* parent = nullptr);

    std::optional<Choice> choice() const;

    // The background scan's result: the number of characters it found, or none while it has found nothing.
    void setFound(std::optional<int> characterCount);
    // The text copied last in this window, if any.
    void setCopiedText(const std::optional<QString>& text);
    void setHistoryOpen(bool open);
    bool historyOpen() const { return m_historyOpen; }
    // The text-found banner's copy or close button.
    void hideFound();
    // The copied-text banner's close button.
    void hideCopied();

    // The characters of a text that are not white space.
    static int visibleCharacterCount(const QString& text);

Q_SIGNALS:
    void changed();

private:
    void update(bool& flag, bool value);

    Scheduler& m_scheduler;
    std::optional<int> m_found;
    std::optional<QString> m_copied;
    bool m_foundHidden = false;
    bool m_copiedHidden = false;
    bool m_historyOpen = false;
    quint64 m_foundGeneration = 0;
    quint64 m_copiedGeneration = 0;
};

} // namespace lumivex
