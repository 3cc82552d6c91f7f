// What is read back from the user's settings: the INI file behind the key-value store and the JSON values kept in
// it. Every decoder is one entry of the table; the first input byte picks it, the rest is what it decodes. A
// decoder must read garbage as absent (defaults), never crash.
#include "FuzzTarget.h"

#include "core/model/RGBAColor.h"
#include "core/settings/CaptureSettings.h"
#include "core/settings/GlobalShortcut.h"
#include "core/settings/SettingsFileStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSettings>

#include <functional>

using namespace lumivex;

namespace {

QString scratchFile()
{
    static const QString path = QDir::tempPath() + QStringLiteral("/lumivex-fuzz-%1.conf").arg(QCoreApplication::applicationPid());
    return path;
}

bool writeScratch(const QByteArray& bytes)
{
    QFile file(scratchFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write(bytes);
    return true;
}

QByteArray readScratch()
{
    QFile file(scratchFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every key of the file through every typed reader of the store.
void readSettingsFile(const QByteArray& bytes)
{
    if (!writeScratch(bytes))
        return;
    const SettingsFileStore store(scratchFile());
    const QStringList keys = QSettings(scratchFile(), QSettings::IniFormat).allKeys();
    for (const QString& key : keys) {
        store.boolValue(key);
        store.optionalBool(key);
        store.string(key);
        store.stringList(key);
        store.data(key);
    }
}

void readJsonObject(const QByteArray& bytes, const std::function<void(const QJsonObject&)>& decode)
{
    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    if (document.isObject())
        decode(document.object());
}

// The capture settings as the application loads them at launch, from the whole file.
void loadCaptureSettings(const QByteArray& bytes)
{
    if (!writeScratch(bytes))
        return;
    SettingsFileStore store(scratchFile());
    CaptureSettings settings(store);
}

// What a first launch writes.
QByteArray firstLaunchSettings()
{
    QFile::remove(scratchFile());
    {
        SettingsFileStore store(scratchFile());
        CaptureSettings settings(store);
    }
    return readScratch();
}

struct Decoder {
    const char* name;
    std::function<void(const QByteArray&)> decode;
    std::function<QByteArray()> seed;
};

// One line per decoder of stored data.
const std::vector<Decoder>& decoders()
{
    static const std::vector<Decoder> all = {
        {"settings file", readSettingsFile, firstLaunchSettings},
        {"capture settings", loadCaptureSettings, firstLaunchSettings},
        {"colour JSON", [](const QByteArray& b) { readJsonObject(b, RGBAColor::fromJson); },
         [] { return QByteArray(R"({"r": 1, "g": 0.5, "b": 0.25, "a": 1})"); }},
        {"global shortcut JSON", [](const QByteArray& b) { GlobalShortcut::decoded(b); },
         [] { return GlobalShortcut::fromQt(14, Qt::ControlModifier | Qt::ShiftModifier).encoded(); }},
    };
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const Decoder& decoder = decoders()[data[0] % decoders().size()];
    decoder.decode(QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)));
    return 0;
}

std::vector<QByteArray> fuzzSeeds()
{
    std::vector<QByteArray> seeds;
    for (std::size_t i = 0; i < decoders().size(); ++i)
        seeds.push_back(char(i) + decoders()[i].seed());
    return seeds;
}
