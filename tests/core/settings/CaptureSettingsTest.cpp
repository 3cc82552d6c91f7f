#include "core/settings/CaptureSettings.h"
#include "core/settings/SettingsFileStore.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lumivex;

namespace {

const GlobalShortcut ctrlShiftE(14, 0x120000);
const GlobalShortcut altSuperV(9, 0xC0000);

class CaptureSettingsTest : public testing::Test {
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("lumivex/lumivex.conf")); }
    // The file as an independent INI reader sees it.
    QStringList keysOnDisk() const
    {
        QStringList keys = QSettings(path(), QSettings::IniFormat).allKeys();
        keys.sort();
        return keys;
    }

    QTemporaryDir m_dir;
};

TEST_F(CaptureSettingsTest, FirstRunWritesTheDefaultShortcutsAndLaterRunsKeepWhatTheUserChose)
{
    {
        SettingsFileStore store(path());
        CaptureSettings settings(store);
        EXPECT_EQ(settings.areaShortcut(), ctrlShiftE);
        EXPECT_EQ(settings.clipboardShortcut(), altSuperV);
        EXPECT_FALSE(settings.windowShortcut() || settings.fullScreenShortcut());
        EXPECT_EQ(settings.appearanceMode(), AppearanceMode::system);
        EXPECT_EQ(settings.language(), AppLanguage::system);
    }
    EXPECT_EQ(keysOnDisk(), (QStringList{"lumivex.initialized", "lumivex.shortcut.area", "lumivex.shortcut.clipboard"}));
    const QJsonObject area =
        QJsonDocument::fromJson(QSettings(path(), QSettings::IniFormat).value("lumivex.shortcut.area").toByteArray()).object();
    EXPECT_EQ(area, (QJsonObject{{"keyCode", 14}, {"modifierFlags", 0x120000}}));

    {
        SettingsFileStore store(path());
        CaptureSettings settings(store);
        QSignalSpy changes(&settings, &CaptureSettings::changed);
        settings.setAreaShortcut(std::nullopt);
        settings.setWindowShortcut(GlobalShortcut(21, 0x120000));
        settings.setWindowShortcut(GlobalShortcut(21, 0x120000)); // the same value: no write, no signal
        settings.setAutoSaveOnCopy(true);
        settings.setSaveDirectory(QStringLiteral("/tmp/shots ü"));
        settings.setAppearanceMode(AppearanceMode::dark);
        settings.setLanguage(AppLanguage::zhHans);
        settings.setFaceCoverTipDismissed(true);
        EXPECT_EQ(changes.count(), 7);
    }
    EXPECT_FALSE(keysOnDisk().contains("lumivex.shortcut.area"));
    EXPECT_FALSE(keysOnDisk().contains("AppleLanguages")); // not the user's own store
    SettingsFileStore store(path());
    CaptureSettings settings(store);
    EXPECT_FALSE(settings.areaShortcut()); // cleared stays cleared
    EXPECT_EQ(settings.windowShortcut(), GlobalShortcut(21, 0x120000));
    EXPECT_EQ(settings.clipboardShortcut(), altSuperV);
    EXPECT_TRUE(settings.autoSaveOnCopy());
    EXPECT_EQ(settings.saveDirectory(), QStringLiteral("/tmp/shots ü"));
    EXPECT_EQ(settings.appearanceMode(), AppearanceMode::dark);
    EXPECT_EQ(settings.language(), AppLanguage::zhHans);
    EXPECT_TRUE(settings.faceCoverTipDismissed());
}

TEST_F(CaptureSettingsTest, UnreadableValuesDamagedAndUnwritableFilesGiveFallbacks)
{
    {
        QSettings conf(path(), QSettings::IniFormat);
        conf.setValue("lumivex.initialized", true);
        conf.setValue("lumivex.shortcut.area", "garbage");
        conf.setValue("lumivex.shortcut.window", QByteArray(R"({"keyCode":14)"));
        conf.setValue("lumivex.shortcut.fullScreen", QByteArray(R"({"keyCode":"14","modifierFlags":1048576})"));
        conf.setValue("lumivex.shortcut.clipboard", QByteArray(R"({"keyCode":9,"modifierFlags":-1})"));
        conf.setValue("lumivex.autoSaveOnCopy", "maybe");
        conf.setValue("lumivex.saveDirectory", "");
        conf.setValue("lumivex.appearance", "purple");
        conf.setValue("lumivex.language", "de");
    }
    {
        SettingsFileStore store(path());
        CaptureSettings settings(store);
        EXPECT_FALSE(settings.areaShortcut() || settings.windowShortcut() || settings.fullScreenShortcut() ||
                     settings.clipboardShortcut() || settings.autoSaveOnCopy() || settings.saveDirectory());
        EXPECT_EQ(settings.appearanceMode(), AppearanceMode::system);
        EXPECT_EQ(settings.language(), AppLanguage::system);
    }

    QFile conf(path()); // truncated and binary: a first run
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR[General]\nlumivex.initialized=tr", 33));
    conf.close();
    {
        SettingsFileStore store(path());
        EXPECT_EQ(CaptureSettings(store).areaShortcut(), ctrlShiftE);
    }

    // A file where the folder should be: nothing can be written there, not even by root.
    SettingsFileStore store(path() + QStringLiteral("/lumivex.conf"));
    CaptureSettings settings(store);
    EXPECT_EQ(settings.clipboardShortcut(), altSuperV);
    settings.setCloseAfterCopy(true);
    EXPECT_TRUE(settings.closeAfterCopy());
    EXPECT_FALSE(store.writable());
}

TEST_F(CaptureSettingsTest, AutoSaveNumbersTakenNamesAndNeedsAnExistingFolder)
{
    SettingsFileStore store(path());
    CaptureSettings settings(store);
    const QDateTime now(QDate(2025, 3, 7), QTime(14, 5, 9));
    QImage image(8, 6, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::blue);
    const QString folder = m_dir.filePath(QStringLiteral("shots"));
    QDir().mkpath(folder);
    for (const char* taken : {"Lumivex 2025-03-07 at 14.05.09.png", "Lumivex 2025-03-07 at 14.05.09 2.png"}) {
        QFile file(folder + "/" + taken);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    settings.setSaveDirectory(folder);
    EXPECT_FALSE(settings.autoSave(image, 1, now)); // off
    settings.setAutoSaveOnCopy(true);
    EXPECT_EQ(settings.autoSave(image, 2, now), folder + "/Lumivex 2025-03-07 at 14.05.09 3.png");
    EXPECT_EQ(QImage(folder + "/Lumivex 2025-03-07 at 14.05.09 3.png").pixelColor(0, 0), QColor(Qt::blue));

    EXPECT_EQ(settings.usableSaveDirectory(), folder);
    settings.setSaveDirectory(folder + "/Lumivex 2025-03-07 at 14.05.09.png"); // a file
    EXPECT_FALSE(settings.usableSaveDirectory());
    settings.setSaveDirectory(m_dir.filePath(QStringLiteral("vanished")));
    EXPECT_FALSE(settings.usableSaveDirectory());
    settings.setSaveDirectory(std::nullopt);
    EXPECT_FALSE(settings.autoSave(image, 1, now));
}

TEST_F(CaptureSettingsTest, ImportTakesOnlyShortcutsWithOurModifiersAndRunsOnce)
{
    SettingsFileStore store(path());
    CaptureSettings settings(store);
    EXPECT_FALSE(settings.importXnapperSettings(nullptr));

    SettingsFileStore foreign(m_dir.filePath(QStringLiteral("foreign.conf")));
    foreign.setValue("global-hotkey", QVariantMap{{"keyCode", 21}, {"modifierFlags", 0x100000 | 0x10000}});
    EXPECT_TRUE(settings.importXnapperSettings(&foreign));
    EXPECT_EQ(settings.areaShortcut(), GlobalShortcut(21, 0x100000)); // Command kept, Caps Lock dropped
    EXPECT_EQ(SettingsFileStore(path()).data("lumivex.shortcut.area"), GlobalShortcut(21, 0x100000).encoded());

    // No modifier of ours, a key code that is not a number, negative flags.
    for (const auto& [keyCode, flags] : {std::pair<QVariant, int>{22, 0}, {22, 0x10000}, {"22", 0x100000}, {22, -0x100000}}) {
        foreign.setValue("global-hotkey", QVariantMap{{"keyCode", keyCode}, {"modifierFlags", flags}});
        EXPECT_FALSE(settings.importXnapperSettings(&foreign));
        EXPECT_EQ(settings.areaShortcut(), GlobalShortcut(21, 0x100000));
    }

    foreign.setBool("settings.save-screenshot", true);
    foreign.setString("settings.save-path", QString());
    foreign.setBool("settings.close-after-copy", false);
    settings.setCloseAfterCopy(true);
    EXPECT_TRUE(settings.importXnapperSettings(&foreign));
    EXPECT_TRUE(settings.autoSaveOnCopy());
    EXPECT_FALSE(settings.saveDirectory()); // an empty path is not taken
    EXPECT_FALSE(settings.closeAfterCopy());

    // Once per user: the first attempt counts even without a store.
    settings.setAutoSaveOnCopy(false);
    settings.importXnapperSettingsOnce(nullptr);
    settings.importXnapperSettingsOnce(&foreign);
    EXPECT_FALSE(settings.autoSaveOnCopy());
    EXPECT_TRUE(store.boolValue("lumivex.xnapperImportAttempted"));
}

TEST_F(CaptureSettingsTest, LanguageBecomesTheOverrideOnlyInTheUsersOwnStore)
{
    SettingsFileStore other(path());
    AppLanguages::apply(AppLanguage::ko, other);
    EXPECT_EQ(other.stringList("AppleLanguages"), QStringList{"ko"});
    AppLanguages::apply(AppLanguage::system, other);
    EXPECT_FALSE(other.contains("AppleLanguages"));

    const QByteArray savedConfigHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", m_dir.path().toUtf8());
    SettingsFileStore own(SettingsFileStore::standardPath());
    CaptureSettings settings(own);
    settings.setLanguage(AppLanguage::zhHans);
    const QStringList override = own.stringList("AppleLanguages");
    settings.setLanguage(AppLanguage::system);
    const bool removed = !own.contains("AppleLanguages");
    savedConfigHome.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", savedConfigHome);
    EXPECT_EQ(override, QStringList{"zh-Hans"});
    EXPECT_TRUE(removed);
}

TEST(AppLanguageTest, ResolvedSystemTakesTheFirstPreferenceAnyLanguageServes)
{
    const std::vector<std::pair<QStringList, AppLanguage>> cases = {
        {{"de-DE", "ko-KR", "en-US"}, AppLanguage::ko},
        {{"zh-TW", "zh-CN"}, AppLanguage::zhHans}, // traditional Chinese is not served
        {{"fr-CA"}, AppLanguage::fr},
        {{"pt-BR", "nonsense"}, AppLanguage::en},
        {{}, AppLanguage::en},
    };
    for (const auto& [preferences, expected] : cases)
        EXPECT_EQ(AppLanguages::resolvedSystem(preferences), expected) << preferences.join(',').toStdString();
}

} // namespace
