#pragma once

#include <QWidget>

#include <functional>

class QVBoxLayout;

namespace lumivex {

class CaptureSettings;

// The start window's content: an area capture, a full-screen capture, the clipboard image, an image file, or
// image files dropped anywhere on it; below, the global shortcuts that are set. It does nothing by itself: every
// choice is a callback. The hints follow the settings while the view is shown.
class WelcomeView : public QWidget {
    Q_OBJECT

public:
    struct Callbacks {
        std::function<void()> captureArea;
        std::function<void()> captureFullScreen;
        std::function<void()> openClipboard;
        std::function<void()> openFile;
        std::function<void(const QStringList&)> openFiles; // local paths of what was dropped
    };

    WelcomeView(const CaptureSettings& settings, Callbacks callbacks, QWidget* parent = nullptr);

    // The titles of the shortcut hints shown now, in order ("영역 캡처", ...): only actions with a shortcut.
    QStringList hintTitles() const;
    bool isTargeted() const { return m_targeted; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QWidget* makeCard(const QString& icon, const QString& title, const QString& line, bool withAreaKeys,
                      std::function<void()> action);
    void refreshHints();
    void refreshAreaKeys();
    void setTargeted(bool targeted);

    const CaptureSettings& m_settings;
    Callbacks m_callbacks;
    QWidget* m_hints = nullptr;
    QVBoxLayout* m_areaKeys = nullptr;
    QStringList m_hintTitles;
    bool m_targeted = false;
};

} // namespace lumivex
