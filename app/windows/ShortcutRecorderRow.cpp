#include "app/windows/ShortcutRecorderRow.h"

#include "app/design/Design.h"
#include "app/design/DesignIcons.h"
#include "app/platform/VirtualKeyCodes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QVBoxLayout>

namespace lumivex {

namespace {

// The box that shows the shortcut; its text and colour come from the row.
class RecorderBox : public QAbstractButton {
public:
    RecorderBox()
    {
        setCursor(Qt::PointingHandCursor);
        // Reachable with Tab and started with Space, like any button.
        setFocusPolicy(Qt::StrongFocus);
        setMinimumSize(170, 28);
    }
    void setInk(const QColor& ink)
    {
        m_ink = ink;
        update();
    }
    void setActive(bool active)
    {
        m_active = active;
        update();
    }
    QSize sizeHint() const override { return {190, 28}; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);
        painter.fillPath(path, Design::color(Design::Token::buttonFill));
        const bool marked = m_active || hasFocus();
        painter.setPen(QPen(marked ? Design::indigo() : Design::color(Design::Token::controlBorder), marked ? 1.5 : 1));
        painter.drawPath(path);
        painter.setFont(Design::font(13));
        painter.setPen(m_ink);
        painter.drawText(rect(), Qt::AlignCenter, text());
    }

private:
    QColor m_ink;
    bool m_active = false;
};

bool isModifierKey(int key)
{
    return key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_Alt || key == Qt::Key_Meta
        || key == Qt::Key_Super_L || key == Qt::Key_Super_R || key == Qt::Key_AltGr || key == Qt::Key_CapsLock
        || key == Qt::Key_NumLock || key == Qt::Key_Hyper_L || key == Qt::Key_Hyper_R;
}

} // namespace

ShortcutRecorderRow::ShortcutRecorderRow(const QString& title, Getter shortcut, Setter setShortcut, QWidget* parent)
    : QWidget(parent), m_shortcut(std::move(shortcut)), m_setShortcut(std::move(setShortcut))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    auto* row = new QHBoxLayout;
    auto* name = new QLabel(title);
    name->setFont(Design::font(13));
    row->addWidget(name, 1);
    auto* box = new RecorderBox;
    m_box = box;
    connect(m_box, &QAbstractButton::clicked, this, &ShortcutRecorderRow::toggleRecording);
    row->addWidget(m_box);
    auto* clear = new QToolButton;
    clear->setAutoRaise(true);
    clear->setFixedSize(22, 22);
    clear->setIcon(DesignIcons::icon(QStringLiteral("xmark"), Design::color(Design::Token::secondaryInk)));
    clear->setToolTip(tr("단축키 지우기"));
    clear->setFocusPolicy(Qt::NoFocus);
    // The box keeps its place whether or not there is something to clear.
    QSizePolicy keepPlace = clear->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    clear->setSizePolicy(keepPlace);
    m_clear = clear;
    connect(m_clear, &QAbstractButton::clicked, this, [this] {
        m_setShortcut(std::nullopt);
        refresh();
    });
    row->addWidget(m_clear);
    column->addLayout(row);
    m_failure = new QLabel(tr("등록하지 못했습니다. 다른 앱이 쓰고 있거나 다른 항목과 겹칩니다."));
    m_failure->setWordWrap(true);
    m_failure->setFont(Design::font(11));
    QPalette red = m_failure->palette();
    red.setColor(QPalette::WindowText, QColor(229, 72, 77));
    m_failure->setPalette(red);
    m_failure->setVisible(false);
    column->addWidget(m_failure);
    refresh();
}

ShortcutRecorderRow::~ShortcutRecorderRow()
{
    if (m_recording)
        qApp->removeEventFilter(this);
}

void ShortcutRecorderRow::setFailed(bool failed)
{
    m_failed = failed;
    m_failure->setVisible(failed);
}

QString ShortcutRecorderRow::failureText() const
{
    return m_failed ? m_failure->text() : QString();
}

void ShortcutRecorderRow::toggleRecording()
{
    if (m_recording) {
        stopRecording();
        return;
    }
    m_recording = true;
    // A local monitor: every key press of the application passes here first while recording.
    qApp->installEventFilter(this);
    refresh();
    Q_EMIT recordingChanged(true);
}

void ShortcutRecorderRow::stopRecording()
{
    if (!m_recording)
        return;
    m_recording = false;
    qApp->removeEventFilter(this);
    refresh();
    Q_EMIT recordingChanged(false);
}

void ShortcutRecorderRow::refresh()
{
    auto* box = static_cast<RecorderBox*>(m_box);
    const std::optional<GlobalShortcut> shortcut = m_shortcut();
    box->setText(boxText());
    box->setActive(m_recording);
    box->setInk(m_recording ? Design::indigo()
                            : Design::color(shortcut ? Design::Token::ink : Design::Token::secondaryInk));
    m_clear->setVisible(shortcut.has_value());
}

QString ShortcutRecorderRow::boxText() const
{
    if (m_recording)
        return tr("키를 누르세요…");
    const std::optional<GlobalShortcut> shortcut = m_shortcut();
    return shortcut ? shortcut->displayString() : tr("지정 안 함");
}

ShortcutRecorderRow::Outcome ShortcutRecorderRow::interpret(std::optional<std::uint16_t> keyCode,
                                                           Qt::KeyboardModifiers modifiers, int qtKey,
                                                           std::optional<GlobalShortcut>& result)
{
    // A modifier pressed on its way to a combination is no key of its own.
    if (isModifierKey(qtKey) || !keyCode)
        return Outcome::ignored;
    const GlobalShortcut pressed = GlobalShortcut::fromQt(*keyCode, modifiers);
    if (pressed.modifierFlags() != 0) {
        result = pressed;
        return Outcome::set;
    }
    if (*keyCode == VirtualKeyCodes::deleteKey) {
        result = std::nullopt;
        return Outcome::cleared;
    }
    if (*keyCode == VirtualKeyCodes::escape)
        return Outcome::cancelled;
    return Outcome::beep;
}

bool ShortcutRecorderRow::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_recording)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride) {
        // Keeps menu shortcuts (Ctrl+Q, Ctrl+W, ...) from firing instead of being recorded.
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        // Consumed at its first receiver (the window), so it reaches nothing else and counts once.
        handleKey(*static_cast<QKeyEvent*>(event));
        return true;
    }
    if (event->type() == QEvent::KeyRelease)
        return true;
    return QWidget::eventFilter(watched, event);
}

void ShortcutRecorderRow::handleKey(const QKeyEvent& event)
{
    std::optional<GlobalShortcut> result;
    switch (interpret(VirtualKeyCodes::fromKeyEvent(event), event.modifiers(), event.key(), result)) {
    case Outcome::set:
    case Outcome::cleared:
        m_setShortcut(result);
        stopRecording();
        break;
    case Outcome::cancelled:
        stopRecording();
        break;
    case Outcome::beep:
        QApplication::beep();
        break;
    case Outcome::ignored:
        break;
    }
}

void ShortcutRecorderRow::hideEvent(QHideEvent* event)
{
    // A recording must not outlive its window: it would swallow every key and keep the global shortcuts off.
    stopRecording();
    QWidget::hideEvent(event);
}

} // namespace lumivex
