#include "core/stickers/StickerLibrary.h"

#include "core/render/AtomicFileWriter.h"
#include "core/render/ImageLoading.h"
#include "core/render/PngEncoder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>
#include <utility>

namespace lumivex {

QString StickerLibrary::Item::fileName() const
{
    return QFileInfo(path).fileName();
}

bool StickerLibrary::Item::operator==(const Item& other) const
{
    const auto stickerId = [](const Item& item) { return item.sticker ? item.sticker->id() : QUuid(); };
    return id == other.id && stickerId(*this) == stickerId(other) && path == other.path;
}

StickerLibrary::StickerLibrary(QString directory, QObject* parent)
    : QObject(parent), m_directory(std::move(directory))
{
    QDir().mkpath(m_directory);
    reload();
}

StickerLibrary& StickerLibrary::shared()
{
    static StickerLibrary library(defaultDirectory());
    return library;
}

QString StickerLibrary::defaultDirectory()
{
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    // The XDG rules ignore a relative value.
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome))
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    return dataHome + QStringLiteral("/lumivex/Stickers");
}

const StickerLibrary::Item* StickerLibrary::item(const QUuid& stickerId) const
{
    const auto found = std::find_if(m_items.begin(), m_items.end(),
                                    [&](const Item& item) { return item.sticker && item.sticker->id() == stickerId; });
    return found == m_items.end() ? nullptr : &*found;
}

const StickerLibrary::Item* StickerLibrary::itemNamed(const QString& fileName) const
{
    const auto found = std::find_if(m_items.begin(), m_items.end(),
                                    [&](const Item& item) { return item.fileName() == fileName; });
    return found == m_items.end() ? nullptr : &*found;
}

void StickerLibrary::reload()
{
    // Listed by name first, so files with the same date keep one order from reload to reload.
    QFileInfoList entries = QDir(m_directory).entryInfoList(QDir::Files, QDir::Name);
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [](const QFileInfo& entry) { return entry.suffix().toLower() != QLatin1String("png"); }),
                  entries.end());
    // A file without a modification date counts as older than every dated one.
    const auto modified = [](const QFileInfo& entry) {
        const QDateTime date = entry.lastModified();
        return date.isValid() ? date.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min();
    };
    std::stable_sort(entries.begin(), entries.end(),
                     [&](const QFileInfo& a, const QFileInfo& b) { return modified(a) > modified(b); });

    std::vector<Item> items;
    for (const QFileInfo& entry : entries) {
        std::optional<LoadedImage> loaded = ImageLoading::load(entry.filePath());
        if (!loaded)
            continue;
        items.push_back({QUuid::createUuid(), StickerImage::make(std::move(loaded->image), entry.completeBaseName()),
                         entry.filePath()});
    }
    setItems(std::move(items));
}

QString StickerLibrary::fileNameFor(const QString& name, const QUuid& uuid)
{
    QString base = name;
    base.replace(QLatin1Char('/'), QLatin1Char('-'));
    if (base.startsWith(QLatin1Char('.')))
        base[0] = QLatin1Char('-');
    const QString unique = uuid.toString(QUuid::WithoutBraces).left(8).toUpper();
    return base + QLatin1Char('-') + unique + QStringLiteral(".png");
}

std::shared_ptr<const StickerImage> StickerLibrary::add(const QImage& image, const QString& name)
{
    const std::optional<QByteArray> png = PngEncoder::encode(image, 1, PngEncoder::Effort::compact);
    if (!png)
        return nullptr;
    // A fresh name per attempt: two stickers whose UUIDs share their first 8 characters never replace each other.
    const AtomicFileWriter::Outcome written = AtomicFileWriter::createUnderFreeName(
        m_directory, *png, [&](int) { return fileNameFor(name, QUuid::createUuid()); });
    if (!written.succeeded())
        return nullptr;
    auto sticker = StickerImage::make(image, name);
    std::vector<Item> items = m_items;
    items.insert(items.begin(), Item{QUuid::createUuid(), sticker, written.path});
    setItems(std::move(items));
    return sticker;
}

std::vector<std::shared_ptr<const StickerImage>> StickerLibrary::importFiles(const QStringList& paths)
{
    std::vector<std::shared_ptr<const StickerImage>> added;
    for (const QString& path : paths) {
        const std::optional<LoadedImage> loaded = ImageLoading::load(path);
        if (!loaded)
            continue;
        if (auto sticker = add(loaded->image, loaded->name))
            added.push_back(std::move(sticker));
    }
    return added;
}

void StickerLibrary::remove(const Item& item)
{
    QFile::remove(item.path);
    std::vector<Item> items = m_items;
    items.erase(std::remove_if(items.begin(), items.end(), [&](const Item& each) { return each.id == item.id; }),
                items.end());
    setItems(std::move(items));
}

void StickerLibrary::setItems(std::vector<Item> items)
{
    m_items = std::move(items);
    Q_EMIT itemsChanged();
}

} // namespace lumivex
