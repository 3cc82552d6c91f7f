#include "app/windows/SettingsView.h"

#include "app/design/Appearance.h"
#include "app/design/Design.h"
#include "app/design/DesignButton.h"
#include "app/design/DesignCard.h"
#include "app/design/DesignDropdown.h"
#include "app/design/DesignIcon.h"
#include "app/design/DesignSegmented.h"
#include "app/design/DesignToggle.h"
#include "app/design/KeyCaps.h"
#include "app/hotkeys/HotKeyCenter.h"
#include "app/windows/ShortcutRecorderRow.h"
#include "core/settings/AppearanceMode.h"
#include "core/settings/CaptureSettings.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace lumivex {

namespace {

QLabel* text(const QString& value, double size = 13, Design::Token ink = Design::Token::ink,
             QFont::Weight weight = QFont::Normal)
{
    auto* label = new QLabel(value);
    label->setFont(Design::font(size, weight));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Design::color(ink));
    label->setPalette(palette);
    return label;
}

// A titled card: the section's icon and title above, its rows inside.
QWidget* section(const QString& icon, const QString& title, const QList<QWidget*>& rows)
{
    auto* box = new QWidget;
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    auto* header = new QHBoxLayout;
    header->setSpacing(6);
    header->addWidget(new DesignIcon(icon, 16));
    header->addWidget(text(title, 14, Design::Token::ink, QFont::Bold));
    header->addStretch();
    column->addLayout(header);
    auto* card = new DesignCard(10, QMargins(14, 12, 14, 12));
    for (QWidget* row : rows)
        card->add(row);
    column->addWidget(card);
    return box;
}

QWidget* row(QWidget* left, QWidget* right)
{
    auto* widget = new QWidget;
    auto* layout = new QHBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(left, 1);
    layout->addWidget(right);
    return widget;
}

} // namespace

SettingsView::SettingsView(CaptureSettings& settings, HotKeyCenter& hotKeys, Services services, QWidget* parent)
    : QWidget(parent), m_settings(settings), m_hotKeys(hotKeys), m_services(std::move(services))
{
    setFixedWidth(520);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 24, 24, 24);
    column->setSpacing(22);
    for (QWidget* part : {shortcutsSection(), afterCaptureSection(), startSection(), appearanceSection(),
                          languageSection(), permissionSection()})
        column->addWidget(part);
    column->addStretch();
    connect(&m_settings, &CaptureSettings::changed, this, &SettingsView::refreshFromSettings);
    connect(&m_hotKeys, &HotKeyCenter::failedChanged, this, &SettingsView::refreshFailed);
    refreshFromSettings();
    refreshFailed();
    refreshFromSystem();
}

QWidget* SettingsView::shortcutsSection()
{
    QList<QWidget*> rows;
    for (const HotKeyAction action : HotKeyActions::allCases) {
        auto* recorder = new ShortcutRecorderRow(
            HotKeyActions::title(action), [this, action] { return HotKeyActions::shortcut(m_settings, action); },
            [this, action](const std::optional<GlobalShortcut>& shortcut) {
                HotKeyActions::setShortcut(m_settings, action, shortcut);
            });
        // While a row records, the desktop's grabs are let go, so the combination reaches the recorder; only
        // one row records at a time.
        connect(recorder, &ShortcutRecorderRow::recordingChanged, this, [this, recorder](bool recording) {
            if (recording) {
                for (const auto& [other, otherRow] : m_recorders) {
                    if (otherRow != recorder)
                        otherRow->stopRecording();
                }
            }
            bool any = false;
            for (const auto& entry : m_recorders)
                any = any || entry.second->isRecording();
            m_hotKeys.setSuspended(any);
        });
        m_recorders[action] = recorder;
        rows.append(recorder);
    }
    auto* hints = new QWidget;
    auto* line = new QHBoxLayout(hints);
    line->setContentsMargins(0, 4, 0, 0);
    line->setSpacing(6);
    line->addWidget(text(tr("영역 캡처 중에는:"), 12, Design::Token::secondaryInk));
    const std::pair<const char*, QString> keys[] = {{"Space", tr("창 선택")}, {"Return", tr("전체 화면")}, {"Esc", tr("취소")}};
    for (const auto& [key, meaning] : keys) {
        line->addWidget(new KeyCaps({QString::fromLatin1(key)}));
        line->addWidget(text(meaning, 12, Design::Token::secondaryInk));
    }
    line->addStretch();
    rows.append(hints);
    return section(QStringLiteral("keyboard"), tr("단축키"), rows);
}

QWidget* SettingsView::afterCaptureSection()
{
    m_autoCopy = new DesignToggle(tr("캡처 직후 원본을 클립보드에 복사"));
    connect(m_autoCopy, &QAbstractButton::toggled, this, [this](bool on) { m_settings.setAutoCopyAfterCapture(on); });
    m_autoSave = new DesignToggle(tr("편집기에서 복사할 때 폴더에 PNG로 자동 저장"));
    connect(m_autoSave, &QAbstractButton::toggled, this, [this](bool on) { m_settings.setAutoSaveOnCopy(on); });
    auto* folderRow = new QWidget;
    auto* folderLine = new QHBoxLayout(folderRow);
    folderLine->setContentsMargins(0, 0, 0, 0);
    folderLine->addWidget(new DesignIcon(QStringLiteral("folder"), 16));
    m_folder = text(QString(), 12, Design::Token::secondaryInk);
    m_folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_folder->setWordWrap(true);
    folderLine->addWidget(m_folder, 1);
    auto* choose = new DesignButton(tr("폴더 선택…"));
    connect(choose, &QAbstractButton::clicked, this, &SettingsView::chooseSaveFolder);
    folderLine->addWidget(choose);
    m_closeAfterCopy = new DesignToggle(tr("복사한 뒤 편집 창 닫기"));
    connect(m_closeAfterCopy, &QAbstractButton::toggled, this, [this](bool on) { m_settings.setCloseAfterCopy(on); });
    return section(QStringLiteral("viewfinder"), tr("캡처 후"), {m_autoCopy, m_autoSave, folderRow, m_closeAfterCopy});
}

QWidget* SettingsView::startSection()
{
    m_launchAtLogin = new DesignToggle(tr("로그인할 때 자동 실행"));
    connect(m_launchAtLogin, &QAbstractButton::toggled, this, &SettingsView::setLaunchAtLogin);
    return section(QStringLiteral("check"), tr("시작"), {m_launchAtLogin});
}

QWidget* SettingsView::appearanceSection()
{
    m_theme = new DesignSegmented;
    return section(QStringLiteral("screen"), tr("화면 모양"), {row(text(tr("테마")), m_theme)});
}

QWidget* SettingsView::languageSection()
{
    std::vector<DesignDropdown::Option> options;
    for (const AppLanguage language : AppLanguages::allCases) {
        if (const std::optional<QString> name = AppLanguages::nativeName(language)) {
            options.push_back({AppLanguages::rawValue(language), *name, AppLanguages::flag(language), {}});
        } else {
            const AppLanguage resolved = AppLanguages::resolvedSystem();
            options.push_back({AppLanguages::rawValue(language), tr("시스템 언어"), QStringLiteral("🌐"),
                               AppLanguages::flag(resolved) + QLatin1Char(' ')
                                   + AppLanguages::nativeName(resolved).value_or(QString())});
        }
    }
    m_language = new DesignDropdown(std::move(options), AppLanguages::rawValue(m_settings.language()), 220,
                                    [this](const QString& raw) {
                                        if (const std::optional<AppLanguage> chosen = AppLanguages::fromRawValue(raw))
                                            changeLanguage(*chosen);
                                    });
    return section(QStringLiteral("screen"), tr("언어"), {row(text(tr("표시 언어")), m_language)});
}

QWidget* SettingsView::permissionSection()
{
    auto* status = new QWidget;
    auto* line = new QHBoxLayout(status);
    line->setContentsMargins(0, 0, 0, 0);
    line->addWidget(text(tr("화면 기록 권한")), 1);
    m_permission = text(QString(), 13, Design::Token::secondaryInk);
    line->addWidget(m_permission);
    // Only where the desktop has a page to grant it; X11 needs no permission at all.
    if (!m_services.settingsUrl.isEmpty()) {
        auto* open = new DesignButton(tr("시스템 설정 열기"));
        connect(open, &QAbstractButton::clicked, this, [this] { QDesktopServices::openUrl(m_services.settingsUrl); });
        line->addWidget(open);
    }
    return section(QStringLiteral("shield"), tr("권한"), {status});
}

void SettingsView::chooseSaveFolder()
{
    auto* dialog = new QFileDialog(window(), tr("폴더 선택…"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setLabelText(QFileDialog::Accept, tr("선택"));
    if (const std::optional<QString>& current = m_settings.saveDirectory())
        dialog->setDirectory(*current);
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& folder) {
        if (!folder.isEmpty())
            m_settings.setSaveDirectory(folder);
    });
    Appearance::instance().style(dialog);
    dialog->open();
}

void SettingsView::setLaunchAtLogin(bool enabled)
{
    const QString failure = m_services.setLoginItem(enabled);
    if (!failure.isEmpty())
        QMessageBox::warning(window(), QStringLiteral("Lumivex"), failure);
    refreshFromSystem();
}

bool SettingsView::changeLanguage(AppLanguage language)
{
    if (language == m_settings.language())
        return false;
    m_settings.setLanguage(language);
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Lumivex"),
                                tr("언어를 바꾸려면 다시 시작해야 합니다"), QMessageBox::NoButton, window());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setInformativeText(tr("Lumivex를 지금 다시 시작할까요?"));
    QPushButton* now = box->addButton(tr("다시 시작"), QMessageBox::AcceptRole);
    box->addButton(tr("나중에"), QMessageBox::RejectRole);
    connect(now, &QPushButton::clicked, this, [this] { m_services.relaunch(); });
    Appearance::instance().style(box);
    box->open();
    return true;
}

void SettingsView::showEvent(QShowEvent* event)
{
    refreshFromSystem();
    QWidget::showEvent(event);
}

void SettingsView::refreshFromSystem()
{
    {
        const QSignalBlocker blocker(m_launchAtLogin);
        m_launchAtLogin->setChecked(m_services.loginItemEnabled());
    }
    m_permission->setText(m_services.permissionGranted() ? QStringLiteral("✔ ") + tr("허용됨") : tr("필요함"));
}

void SettingsView::refreshFromSettings()
{
    for (const auto& [toggle, value] : {std::pair{m_autoCopy, m_settings.autoCopyAfterCapture()},
                                        {m_autoSave, m_settings.autoSaveOnCopy()},
                                        {m_closeAfterCopy, m_settings.closeAfterCopy()}}) {
        const QSignalBlocker blocker(toggle);
        toggle->setChecked(value);
    }
    m_folder->setText(m_settings.saveDirectory().value_or(tr("저장 폴더 없음")));
    std::vector<DesignSegmented::Item> modes;
    for (const AppearanceMode mode : AppearanceModes::allCases) {
        modes.push_back({AppearanceModes::title(mode), mode == m_settings.appearanceMode(),
                         [this, mode] { m_settings.setAppearanceMode(mode); }});
    }
    m_theme->setItems(std::move(modes));
    m_language->setSelection(AppLanguages::rawValue(m_settings.language()));
    for (const auto& [action, recorder] : m_recorders)
        recorder->refresh();
}

void SettingsView::refreshFailed()
{
    for (const auto& [action, recorder] : m_recorders)
        recorder->setFailed(m_hotKeys.isFailed(action));
}

} // namespace lumivex
