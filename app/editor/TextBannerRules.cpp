#include "app/editor/TextBannerRules.h"

namespace lumivex {

TextBannerRules::TextBannerRules(Scheduler& scheduler, QObject* parent)
    : QObject(parent)
    , m_scheduler(scheduler)
{
}

std::optional<TextBannerRules::Choice> TextBannerRules::choice() const
{
    if (m_copied && !m_copiedHidden)
        return Choice{TextBanner::Kind::copiedText, visibleCharacterCount(*m_copied)};
    if (m_found && !m_foundHidden)
        return Choice{TextBanner::Kind::textFound, *m_found};
    return std::nullopt;
}

void TextBannerRules::setFound(std::optional<int> characterCount)
{
    if (characterCount == m_found)
        return;
    m_found = characterCount;
    const quint64 generation = ++m_foundGeneration;
    if (m_found) {
        m_scheduler.after(foundTimeout, this, [this, generation] {
            if (generation == m_foundGeneration)
                update(m_foundHidden, true);
        });
    }
    Q_EMIT changed();
}

void TextBannerRules::setCopiedText(const std::optional<QString>& text)
{
    m_copied = text;
    const quint64 generation = ++m_copiedGeneration;
    if (m_copied) {
        m_copiedHidden = false;
        m_scheduler.after(copiedTimeout, this, [this, generation] {
            if (generation == m_copiedGeneration && !m_historyOpen)
                update(m_copiedHidden, true);
        });
    }
    Q_EMIT changed();
}

void TextBannerRules::setHistoryOpen(bool open)
{
    m_historyOpen = open;
}

void TextBannerRules::hideFound()
{
    update(m_foundHidden, true);
}

void TextBannerRules::hideCopied()
{
    update(m_copiedHidden, true);
}

void TextBannerRules::update(bool& flag, bool value)
{
    if (flag == value)
        return;
    flag = value;
    Q_EMIT changed();
}

int TextBannerRules::visibleCharacterCount(const QString& text)
{
    int count = 0;
    for (const QChar c : text) {
        // A character outside the basic plane counts once, by its high surrogate.
        if (!c.isSpace() && !c.isLowSurrogate())
            ++count;
    }
    return count;
}

} // namespace lumivex
