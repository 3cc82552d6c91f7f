#pragma once

#include "app/windows/WelcomeView.h"

#include <QMainWindow>

namespace lumivex {

// The window titled "Lumivex" that offers the ways to begin (see WelcomeView). The application adds the menu bar.
class StartWindow : public QMainWindow {
    Q_OBJECT

public:
    using Callbacks = WelcomeView::Callbacks;

    StartWindow(const CaptureSettings& settings, Callbacks callbacks, QWidget* parent = nullptr);

    WelcomeView& view() const { return *m_view; }

private:
    WelcomeView* m_view;
};

} // namespace lumivex
