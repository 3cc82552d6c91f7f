#pragma once

#include <functional>

class QMainWindow;

namespace lumivex {

// The menu bar of every window of ours: "Lumivex", "파일", "편집" and "윈도우" with the keys a Linux user
// expects (Ctrl for the Command key of other platforms). An editor window keeps its own "편집" menu, whose
// commands act on its document; the others get one that acts on the focused text field.
namespace MainMenu {

struct Actions {
    std::function<void()> showSettings;
    std::function<void()> sendToBackground;
    std::function<void()> captureArea;
    std::function<void()> captureWindow;
    std::function<void()> captureFullScreen;
    std::function<void()> openFromClipboard;
    std::function<void()> openFile;
};

void install(QMainWindow& window, const Actions& actions);

} // namespace MainMenu

} // namespace lumivex
