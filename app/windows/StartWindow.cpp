#include "app/windows/StartWindow.h"

namespace lumivex {

StartWindow::StartWindow(const CaptureSettings& settings, Callbacks callbacks, QWidget* parent)
    : QMainWindow(parent), m_view(new WelcomeView(settings, std::move(callbacks)))
{
    setWindowTitle(QStringLiteral("Lumivex"));
    setObjectName(QStringLiteral("lumivex-start"));
    setCentralWidget(m_view);
}

} // namespace lumivex
