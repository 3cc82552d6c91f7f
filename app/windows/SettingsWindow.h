#pragma once

#include "app/windows/SettingsView.h"

#include <QMainWindow>

namespace lumivex {

// The window titled "Lumivex 설정": the settings view in a scrolling area. The application adds the menu bar.
class SettingsWindow : public QMainWindow {
    Q_OBJECT

public:
    using Services = SettingsView::Services;

    SettingsWindow(CaptureSettings& settings, HotKeyCenter& hotKeys, Services services, QWidget* parent = nullptr);

    SettingsView& view() const { return *m_view; }

private:
    SettingsView* m_view;
};

} // namespace lumivex
