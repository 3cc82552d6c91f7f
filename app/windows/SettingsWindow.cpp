#include "app/windows/SettingsWindow.h"

#include "app/windows/ShortcutRecorderRow.h"

#include <QAbstractButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace lumivex {

SettingsWindow::SettingsWindow(CaptureSettings& settings, HotKeyCenter& hotKeys, Services services, QWidget* parent)
    : QMainWindow(parent), m_view(new SettingsView(settings, hotKeys, std::move(services)))
{
    setWindowTitle(tr("Lumivex 설정"));
    setObjectName(QStringLiteral("lumivex-settings"));
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(m_view);
    setCentralWidget(scroll);
    // The keyboard starts on the first shortcut: Space records, Tab goes to the next one.
    m_view->recorder(HotKeyAction::area)->box()->setFocus();
    // The whole column where the screen is tall enough; otherwise it scrolls.
    const int available = screen() ? screen()->availableGeometry().height() - 80 : 840;
    resize(520 + scroll->verticalScrollBar()->sizeHint().width(), std::min(840, std::max(available, 400)));
}

} // namespace lumivex
