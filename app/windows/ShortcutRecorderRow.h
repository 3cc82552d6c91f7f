#pragma once

#include "core/settings/GlobalShortcut.h"

#include <QWidget>

#include <functional>
#include <optional>

class QAbstractButton;
class QLabel;
class QKeyEvent;

namespace lumivex {

// One global shortcut in the settings window: its title, a box that shows the key caps and records a new
// combination when clicked, a clear button, and the red message when the desktop refused it. While recording,
// every key press of the application comes here and nowhere else:
//   Backspace alone clears the shortcut, Escape alone cancels, any other key alone beeps and keeps waiting, any
//   key with at least one of Ctrl, Alt, Shift, Super (Backspace and Escape too) becomes the shortcut.
class ShortcutRecorderRow : public QWidget {
    Q_OBJECT

public:
    using Getter = std::function<std::optional<GlobalShortcut>()>;
    using Setter = std::function<void(const std::optional<GlobalShortcut>&)>;

    ShortcutRecorderRow(const QString& title, Getter shortcut, Setter setShortcut, QWidget* parent = nullptr);
    ~ShortcutRecorderRow() override;

    void setFailed(bool failed);
    bool isFailed() const { return m_failed; }
    bool isRecording() const { return m_recording; }
    // Clicking the box: starts recording, or stops it when recording.
    void toggleRecording();
    void stopRecording();
    // Shows the current value again (after a change elsewhere).
    void refresh();
    // What the box shows now: the caps joined by "+", "키를 누르세요…" or "지정 안 함".
    QString boxText() const;
    QString failureText() const;
    QAbstractButton* box() const { return m_box; }

    // What a key press does while recording; exposed for the tests of the rules above.
    enum class Outcome { set, cleared, cancelled, beep, ignored };
    static Outcome interpret(std::optional<std::uint16_t> keyCode, Qt::KeyboardModifiers modifiers, int qtKey,
                             std::optional<GlobalShortcut>& result);

Q_SIGNALS:
    void recordingChanged(bool recording);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void handleKey(const QKeyEvent& event);

    Getter m_shortcut;
    Setter m_setShortcut;
    QAbstractButton* m_box = nullptr;
    QAbstractButton* m_clear = nullptr;
    QLabel* m_failure = nullptr;
    bool m_failed = false;
    bool m_recording = false;
};

} // namespace lumivex
